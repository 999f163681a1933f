#pragma once
#include "support/Units.h"

namespace tavrok::geodesy {

// A position on the ellipsoid in radians, as the projection engines take and return it:
// latitude −π/2..π/2, longitude −π..π (inputs may also use 0..2π). flags holds the error bits
// of the function that produced it; the angles are meaningful only when flags is 0.
struct GeodeticRadians {
    int flags = 0;
    double latitudeRadians = 0;
    double longitudeRadians = 0;
};

// A position in degrees, as files, dialogs and the command line write it: latitude −90..90,
// longitude −180..180. flags as for GeodeticRadians.
struct GeodeticDegrees {
    int flags = 0;
    double latitudeDegrees = 0;
    double longitudeDegrees = 0;
};

// A projected position in metres.
struct ProjectedPoint {
    int flags = 0;
    double easting = 0;   // metres
    double northing = 0;  // metres
};

// Degrees to radians and back with π taken to 8 decimals, as the degree wrappers have always
// done; the engines themselves use the full double π.
inline constexpr double radiansPerDegree = support::geodesyPi / 180.0;
inline constexpr double degreesPerRadian = 180.0 / support::geodesyPi;

}  // namespace tavrok::geodesy

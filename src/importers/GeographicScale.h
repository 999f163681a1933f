#pragma once
#include <cmath>
#include "support/Units.h"

namespace tavrok::importers {

// The constants the matrix formats have always used for the length of an arc-second.
inline constexpr double scaleEarthRadiusMetres = 6378000.0;
inline constexpr double scaleDegreesPerRadian = support::degreesPerRadian;
using support::arcSecondsPerDegree;

// Metres in one arc-second of longitude at a latitude (degrees).
inline double MetresPerArcSecondOfLongitude(double latitudeDegrees) {
    return scaleEarthRadiusMetres / (arcSecondsPerDegree * scaleDegreesPerRadian) *
           std::cos(latitudeDegrees / scaleDegreesPerRadian);
}

// Degrees to whole arc-seconds, truncated toward zero as the bounds have always been stored.
inline double WholeArcSeconds(double degrees) {
    return std::trunc(degrees * arcSecondsPerDegree);
}

}  // namespace tavrok::importers

#pragma once
#include "geodesy/TransverseMercator.h"

namespace tavrok::geodesy {

// Error bits of the Albers engine; 0 is success.
namespace albersflags {
inline constexpr int LatitudeRange = 1;
inline constexpr int LongitudeRange = 2;
inline constexpr int EastingRange = 4;
inline constexpr int NorthingRange = 8;
inline constexpr int OriginLatitudeRange = 16;
inline constexpr int CentralMeridianRange = 32;
inline constexpr int SemiMajorAxis = 64;   // a <= 0
inline constexpr int SemiMinorAxis = 128;  // b <= 0
inline constexpr int AxisOrder = 256;      // a < b
inline constexpr int FirstParallelRange = 512;
inline constexpr int SecondParallelRange = 1024;
inline constexpr int BothParallelsZero = 2048;
inline constexpr int ParallelsOpposite = 4096;  // second = -first
}  // namespace albersflags

// Ellipsoidal Albers equal-area conic. Angles in radians (latitudes −π/2..π/2, longitudes
// −π..2π), semi-axes a, b and false origin, easting and northing in metres.
class Albers {
  public:
    int setAlbersParameters(double a, double b, double originLatitudeRadians,
                            double centralMeridianRadians, double standardParallel1Radians,
                            double standardParallel2Radians, double falseEasting,
                            double falseNorthing);
    ProjectedPoint geodeticToAlbers(double latitudeRadians, double longitudeRadians) const;
    GeodeticRadians albersToGeodetic(double easting, double northing) const;

  private:
    double m_a = 6378137.0;
    double m_es = 0.0066943799901413800;
    double m_e = 0.081819190842622;
    double m_oneMinusEs = 1 - 0.0066943799901413800;
    double m_centralMeridian = 0;
    double m_falseEasting = 0;
    double m_falseNorthing = 0;
    double m_n = 0;
    double m_c = 0;
    double m_rho0 = 0;
    double m_aOverN = 0;
    double m_eastingExtent = 40000000.0;
    double m_northingExtent = 40000000.0;
};

}  // namespace tavrok::geodesy

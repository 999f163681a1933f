#pragma once
#include "geodesy/GeodeticPoint.h"

namespace tavrok::geodesy {

// Error bits of the transverse Mercator engine; 0 is success.
namespace tmflags {
inline constexpr int LatitudeRange = 1;
inline constexpr int LongitudeRange = 2;
inline constexpr int EastingRange = 4;
inline constexpr int NorthingRange = 8;
inline constexpr int OriginLatitudeRange = 16;
inline constexpr int CentralMeridianRange = 32;
inline constexpr int SemiMajorAxis = 64;       // a <= 0
inline constexpr int SemiMinorAxis = 128;      // b <= 0
inline constexpr int AxisOrder = 256;          // a < b
inline constexpr int ScaleFactor = 512;        // outside 0.3 .. 3.0
inline constexpr int LongitudeWarning = 1024;  // more than 9 degrees from the central meridian
}  // namespace tmflags

// Transverse Mercator on an ellipsoid, series to the eighth power of the longitude offset.
// All angles are radians, distances metres (a, b the semi-axes). The object keeps its parameters
// until the next setTransverseMercatorParameters; parameters are stored only when no flag is
// raised.
class TransverseMercator {
  public:
    int setTransverseMercatorParameters(double a, double b, double originLatitudeRadians,
                                        double centralMeridianRadians, double falseEasting,
                                        double falseNorthing, double scaleFactor);
    // Computes even with LongitudeWarning set.
    ProjectedPoint geodeticToTransverseMercator(double latitudeRadians,
                                                double longitudeRadians) const;
    GeodeticRadians transverseMercatorToGeodetic(double easting, double northing) const;

  private:
    // UTM re-uses one engine per ellipsoid and supplies the zone's central meridian and
    // false northing per point, so that no parameters are recomputed per point.
    friend class UtmConverter;

    double meridianDistance(double latitudeRadians) const;
    double footpointRadius(double latitudeRadians) const;
    // Offsets from the false origin (metres) of a point deltaLongitude radians east of the
    // central meridian; no range checks.
    ProjectedPoint seriesOffsets(double latitudeRadians, double deltaLongitudeRadians) const;
    ProjectedPoint forward(double latitudeRadians, double longitudeRadians,
                           double centralMeridianRadians, double falseNorthing) const;
    GeodeticRadians inverse(double easting, double northing, double centralMeridianRadians,
                            double falseNorthing) const;

    double m_a = 6378137.0;
    double m_b = 6356752.3142;
    double m_es = 0.0066943799901413800;
    double m_ebs = 0.0067394967565869;
    double m_ap = 6367449.1458008;
    double m_bp = 16038.508696861;
    double m_cp = 16.832613334334;
    double m_dp = 0.021984404273757;
    double m_ep = 3.1148371319283e-005;
    double m_originLatitude = 0;
    double m_centralMeridian = 0;
    double m_falseEasting = 0;
    double m_falseNorthing = 0;
    double m_scaleFactor = 0.9996;
    double m_eastingExtent = 40000000.0;
    double m_northingExtent = 40000000.0;
};

}  // namespace tavrok::geodesy

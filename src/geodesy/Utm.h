#pragma once
#include <string>
#include <string_view>

#include "geodesy/Ellipsoid.h"
#include "geodesy/TransverseMercator.h"

namespace tavrok::geodesy {

// Error bits of the UTM conversions; 0 is success.
namespace utmflags {
inline constexpr int LatitudeRange = 1;
inline constexpr int LongitudeRange = 2;
inline constexpr int EastingRange = 4;
inline constexpr int NorthingRange = 8;
inline constexpr int ZoneRange = 16;
inline constexpr int Hemisphere = 32;
inline constexpr int ZoneOverride = 64;    // out of range or not within one zone of the computed
inline constexpr int SemiMajorAxis = 128;  // a <= 0
inline constexpr int SemiMinorAxis = 256;  // b <= 0
inline constexpr int AxisOrder = 512;      // a < b
}  // namespace utmflags

struct UtmPoint {
    int flags = 0;
    int zone = 0;           // 1 .. 60
    char hemisphere = 'N';  // 'N' or 'S'
    double easting = 0;     // metres
    double northing = 0;    // metres
    std::string zoneText;   // "13N"; set by latLonToUtm on success
};

// UTM on a chosen ellipsoid with an optional zone override that keeps points near a zone
// border in the terrain's own zone. Defaults to WGS-84 without override.
class UtmConverter {
  public:
    UtmConverter();
    // Semi-axes a, b in metres; zoneOverride 0 (none) or 1..60. Values are stored only without
    // error.
    int setUtmParameters(double a, double b, int zoneOverride);
    // Convenience: the table's a and derived b of an ellipsoid.
    int setUtmParameters(EllipsoidId ellipsoid, int zoneOverride);

    // Latitude −80.5°..84.5° and longitude −π..2π in radians; easting and northing in metres
    // are returned even with the range flags 4 and 8.
    UtmPoint geodeticToUtm(double latitudeRadians, double longitudeRadians) const;
    // Zone 1..60, hemisphere 'N' or 'S', metres in; radians out.
    GeodeticRadians utmToGeodetic(int zone, char hemisphere, double easting, double northing) const;

    // The same in degrees (converted with the 8-decimal π); on success the point also carries its
    // zone text such as "13N".
    UtmPoint latLonToUtm(double latitudeDegrees, double longitudeDegrees) const;
    // The zone number is read in decimal from the start of zoneText, the hemisphere is the
    // character after the digits. Metres in, degrees out.
    GeodeticDegrees utmToLatLon(std::string_view zoneText, double easting, double northing) const;

    int zoneOverride() const { return m_zoneOverride; }

  private:
    double m_a = 0;
    double m_b = 0;
    int m_zoneOverride = 0;
    // Set up once per ellipsoid; each zone supplies its own central meridian.
    TransverseMercator m_engine;
};

}  // namespace tavrok::geodesy

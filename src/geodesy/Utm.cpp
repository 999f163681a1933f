#include "geodesy/Utm.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace tavrok::geodesy {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double twoPi = 2.0 * std::numbers::pi;
// -80.5 and 84.5 degrees: the band the grid covers, half a degree past the usual limits.
constexpr double minimumLatitude = -1.4049900478554351;
constexpr double maximumLatitude = 1.4748032179352084;
constexpr double minimumEasting = 100000.0;
constexpr double maximumEasting = 900000.0;
constexpr double minimumNorthing = 0.0;
constexpr double maximumNorthing = 10000000.0;
constexpr double falseEasting = 500000.0;
constexpr double southernFalseNorthing = 10000000.0;
constexpr double scaleFactor = 0.9996;

// Central meridian of a zone in radians, within -pi..pi.
double centralMeridianOf(int zone) {
    const int degrees = zone >= 31 ? 6 * zone - 183 : 6 * zone + 177;
    const double radians = degrees * pi / 180.0;
    return radians > pi ? radians - twoPi : radians;
}

}  // namespace

UtmConverter::UtmConverter() {
    setUtmParameters(EllipsoidId::Wgs84, 0);
}

int UtmConverter::setUtmParameters(double a, double b, int zoneOverride) {
    int flags = 0;
    if (!(a > 0)) {
        flags |= utmflags::SemiMajorAxis;
    }
    if (!(b > 0)) {
        flags |= utmflags::SemiMinorAxis;
    }
    if (a < b) {
        flags |= utmflags::AxisOrder;
    }
    if (zoneOverride < 0 || zoneOverride > 60) {
        flags |= utmflags::ZoneOverride;
    }
    if (flags != 0) {
        return flags;
    }
    m_a = a;
    m_b = b;
    m_zoneOverride = zoneOverride;
    m_engine.setTransverseMercatorParameters(a, b, 0.0, 0.0, falseEasting, 0.0, scaleFactor);
    return 0;
}

int UtmConverter::setUtmParameters(EllipsoidId ellipsoid, int zoneOverride) {
    const Ellipsoid& record = ellipsoidFor(ellipsoid);
    return setUtmParameters(record.semiMajorAxis, record.semiMinorAxis(), zoneOverride);
}

UtmPoint UtmConverter::geodeticToUtm(double latitude, double longitude) const {
    UtmPoint result;
    if (!(latitude >= minimumLatitude && latitude <= maximumLatitude)) {
        result.flags |= utmflags::LatitudeRange;
    }
    if (!(longitude >= -pi && longitude < twoPi)) {
        result.flags |= utmflags::LongitudeRange;
    }
    if (result.flags != 0) {
        return result;
    }

    if (longitude < 0) {
        longitude += twoPi;
    }
    const double latitudeInDegrees = latitude * 180.0 / pi;
    const double longitudeInDegrees = longitude * 180.0 / pi;
    const int latitudeDegrees = static_cast<int>(latitudeInDegrees);
    const int longitudeDegrees = static_cast<int>(longitudeInDegrees);

    int zone = longitude < pi ? static_cast<int>(longitudeInDegrees / 6.0 + 31.0)
                              : static_cast<int>(longitudeInDegrees / 6.0 - 29.0);
    if (zone > 60) {
        zone = 1;
    }
    // Southwest Norway and Svalbard have zones of their own width.
    if (latitudeDegrees >= 56 && latitudeDegrees < 64) {
        if (longitudeDegrees >= 0 && longitudeDegrees <= 2) {
            zone = 31;
        } else if (longitudeDegrees >= 3 && longitudeDegrees <= 11) {
            zone = 32;
        }
    } else if (latitudeDegrees >= 72) {
        if (longitudeDegrees >= 0 && longitudeDegrees <= 8) {
            zone = 31;
        } else if (longitudeDegrees >= 9 && longitudeDegrees <= 20) {
            zone = 33;
        } else if (longitudeDegrees >= 21 && longitudeDegrees <= 32) {
            zone = 35;
        } else if (longitudeDegrees >= 33 && longitudeDegrees <= 41) {
            zone = 37;
        }
    }

    if (m_zoneOverride != 0) {
        if ((zone == 1 && m_zoneOverride == 60) || (zone == 60 && m_zoneOverride == 1) ||
            std::abs(m_zoneOverride - zone) <= 1) {
            zone = m_zoneOverride;
        } else {
            result.flags |= utmflags::ZoneOverride;
            return result;
        }
    }

    result.zone = zone;
    result.hemisphere = latitude < 0 ? 'S' : 'N';
    const double falseNorthing = latitude < 0 ? southernFalseNorthing : 0.0;
    const ProjectedPoint projected =
        m_engine.forward(latitude, longitude, centralMeridianOf(zone), falseNorthing);
    result.easting = projected.easting;
    result.northing = projected.northing;
    if (!(result.easting >= minimumEasting && result.easting <= maximumEasting)) {
        result.flags |= utmflags::EastingRange;
    }
    if (!(result.northing >= minimumNorthing && result.northing <= maximumNorthing)) {
        result.flags |= utmflags::NorthingRange;
    }
    return result;
}

GeodeticPoint UtmConverter::utmToGeodetic(int zone, char hemisphere, double easting,
                                          double northing) const {
    GeodeticPoint result;
    if (zone < 1 || zone > 60) {
        result.flags |= utmflags::ZoneRange;
    }
    if (hemisphere != 'N' && hemisphere != 'S') {
        result.flags |= utmflags::Hemisphere;
    }
    if (!(easting >= minimumEasting && easting <= maximumEasting)) {
        result.flags |= utmflags::EastingRange;
    }
    if (!(northing >= minimumNorthing && northing <= maximumNorthing)) {
        result.flags |= utmflags::NorthingRange;
    }
    if (result.flags != 0) {
        return result;
    }

    // The true central meridian, so that a point converted there and back stays put.
    const double falseNorthing = hemisphere == 'S' ? southernFalseNorthing : 0.0;
    const GeodeticPoint geodetic =
        m_engine.inverse(easting, northing, centralMeridianOf(zone), falseNorthing);
    if (geodetic.flags != 0) {
        result.flags |= utmflags::NorthingRange;
        return result;
    }
    result.latitude = geodetic.latitude;
    result.longitude = geodetic.longitude;
    if (!(result.latitude >= minimumLatitude && result.latitude <= maximumLatitude)) {
        result.flags |= utmflags::NorthingRange;
    }
    return result;
}

UtmPoint UtmConverter::latLonToUtm(double latitudeDegrees, double longitudeDegrees) const {
    UtmPoint result =
        geodeticToUtm(latitudeDegrees * radiansPerDegree, longitudeDegrees * radiansPerDegree);
    if (result.flags == 0) {
        result.zoneText = std::to_string(result.zone);
        result.zoneText += result.hemisphere;
    }
    return result;
}

GeodeticPoint UtmConverter::utmToLatLon(std::string_view zoneText, double easting,
                                        double northing) const {
    std::size_t position = 0;
    while (position < zoneText.size() &&
           std::isspace(static_cast<unsigned char>(zoneText[position]))) {
        ++position;
    }
    int zone = 0;
    while (position < zoneText.size() &&
           std::isdigit(static_cast<unsigned char>(zoneText[position]))) {
        // Saturate: any long digit run is simply out of range.
        zone = zone > 1000 ? zone : zone * 10 + (zoneText[position] - '0');
        ++position;
    }
    const char hemisphere = position < zoneText.size() ? zoneText[position] : '\0';
    GeodeticPoint result = utmToGeodetic(zone, hemisphere, easting, northing);
    result.latitude *= degreesPerRadian;
    result.longitude *= degreesPerRadian;
    return result;
}

}  // namespace tavrok::geodesy

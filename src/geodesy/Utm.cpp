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

UtmPoint UtmConverter::geodeticToUtm(double latitudeRadians, double longitudeRadians) const {
    UtmPoint result;
    if (!(latitudeRadians >= minimumLatitude && latitudeRadians <= maximumLatitude)) {
        result.flags |= utmflags::LatitudeRange;
    }
    if (!(longitudeRadians >= -pi && longitudeRadians < twoPi)) {
        result.flags |= utmflags::LongitudeRange;
    }
    if (result.flags != 0) {
        return result;
    }

    if (longitudeRadians < 0) {
        longitudeRadians += twoPi;
    }
    const double latitudeInDegrees = latitudeRadians * 180.0 / pi;
    const double longitudeInDegrees = longitudeRadians * 180.0 / pi;
    const int wholeLatitudeDegrees = static_cast<int>(latitudeInDegrees);
    const int wholeLongitudeDegrees = static_cast<int>(longitudeInDegrees);

    int zone = longitudeRadians < pi ? static_cast<int>(longitudeInDegrees / 6.0 + 31.0)
                                     : static_cast<int>(longitudeInDegrees / 6.0 - 29.0);
    if (zone > 60) {
        zone = 1;
    }
    // Southwest Norway and Svalbard have zones of their own width.
    if (wholeLatitudeDegrees >= 56 && wholeLatitudeDegrees < 64) {
        if (wholeLongitudeDegrees >= 0 && wholeLongitudeDegrees <= 2) {
            zone = 31;
        } else if (wholeLongitudeDegrees >= 3 && wholeLongitudeDegrees <= 11) {
            zone = 32;
        }
    } else if (wholeLatitudeDegrees >= 72) {
        if (wholeLongitudeDegrees >= 0 && wholeLongitudeDegrees <= 8) {
            zone = 31;
        } else if (wholeLongitudeDegrees >= 9 && wholeLongitudeDegrees <= 20) {
            zone = 33;
        } else if (wholeLongitudeDegrees >= 21 && wholeLongitudeDegrees <= 32) {
            zone = 35;
        } else if (wholeLongitudeDegrees >= 33 && wholeLongitudeDegrees <= 41) {
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
    result.hemisphere = latitudeRadians < 0 ? 'S' : 'N';
    const double falseNorthing = latitudeRadians < 0 ? southernFalseNorthing : 0.0;
    const ProjectedPoint projected =
        m_engine.forward(latitudeRadians, longitudeRadians, centralMeridianOf(zone), falseNorthing);
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

GeodeticRadians UtmConverter::utmToGeodetic(int zone, char hemisphere, double easting,
                                            double northing) const {
    GeodeticRadians result;
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
    const GeodeticRadians geodetic =
        m_engine.inverse(easting, northing, centralMeridianOf(zone), falseNorthing);
    if (geodetic.flags != 0) {
        result.flags |= utmflags::NorthingRange;
        return result;
    }
    result.latitudeRadians = geodetic.latitudeRadians;
    result.longitudeRadians = geodetic.longitudeRadians;
    if (!(result.latitudeRadians >= minimumLatitude && result.latitudeRadians <= maximumLatitude)) {
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

GeodeticDegrees UtmConverter::utmToLatLon(std::string_view zoneText, double easting,
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
    const GeodeticRadians radians = utmToGeodetic(zone, hemisphere, easting, northing);
    return {radians.flags, radians.latitudeRadians * degreesPerRadian,
            radians.longitudeRadians * degreesPerRadian};
}

}  // namespace tavrok::geodesy

#include "importers/RawMatrixDescription.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "geodesy/Utm.h"
#include "importers/GeographicScale.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr int lowestZone = 1;
constexpr int highestZone = 60;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Truncates toward zero; empty when the value is NaN or beyond a 32-bit integer.
std::optional<int> WholeValue(double value) {
    const double truncated = std::trunc(value);
    if (!(truncated >= std::numeric_limits<int>::min() &&
          truncated <= std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return static_cast<int>(truncated);
}

}  // namespace

support::Status RawMatrixDescription::acceptUtm() {
    const auto zone = Trimmed(zoneText);
    int number = 0;
    const auto [afterDigits, status] =
        std::from_chars(zone.data(), zone.data() + zone.size(), number);
    if (status != std::errc{} || zone.empty() ||
        !std::isdigit(static_cast<unsigned char>(zone[0])) || number < lowestZone ||
        number > highestZone) {
        return Error{ErrorCode::IncorrectZone, "zone number"};
    }
    const std::string_view letter(afterDigits, zone.data() + zone.size() - afterDigits);
    const char upper = letter.size() == 1 ? support::upperAscii(letter[0]) : 'N';
    m_zone = number;
    m_hemisphere = upper == 'S' ? 'S' : 'N';
    m_ellipsoid = geodesy::ellipsoidForDatumName(Trimmed(ellipsoidText))
                      .value_or(geodesy::EllipsoidId::Wgs84);

    geodesy::UtmConverter converter;
    converter.setUtmParameters(m_ellipsoid, 0);
    const auto normalisedZone = std::to_string(m_zone) + m_hemisphere;
    const auto southWest = converter.utmToLatLon(normalisedZone, west, south);
    if (southWest.flags != 0 || !std::isfinite(west) || !std::isfinite(south)) {
        return Error{ErrorCode::IncorrectUtmCoordinates, "south-west corner"};
    }
    const auto northEast = converter.utmToLatLon(normalisedZone, east, north);
    if (northEast.flags != 0 || !std::isfinite(east) || !std::isfinite(north)) {
        return Error{ErrorCode::IncorrectZone, "north-east corner"};
    }
    m_westLongitude = southWest.longitudeDegrees;
    m_southLatitude = southWest.latitudeDegrees;
    m_eastLongitude = northEast.longitudeDegrees;
    m_northLatitude = northEast.latitudeDegrees;
    return support::success();
}

support::Status RawMatrixDescription::acceptWholeCorners() {
    const bool degrees = coordinateSystem == terrain::ProjectionKind::LatLon;
    if (degrees && !(west < east && south < north)) {
        return Error{ErrorCode::IncorrectCornerCoordinates, "corners do not increase"};
    }
    const double scale = degrees ? arcSecondsPerDegree : 1.0;
    const auto westWhole = WholeValue(west * scale);
    const auto southWhole = WholeValue(south * scale);
    const auto eastWhole = WholeValue(east * scale);
    const auto northWhole = WholeValue(north * scale);
    if (!westWhole || !southWhole || !eastWhole || !northWhole ||
        (!degrees && !(*westWhole < *eastWhole && *southWhole < *northWhole))) {
        return Error{ErrorCode::IncorrectCornerCoordinates, "corners do not increase"};
    }
    m_westWhole = *westWhole;
    m_southWhole = *southWhole;
    m_eastWhole = *eastWhole;
    m_northWhole = *northWhole;
    if (degrees) {
        m_westLongitude = west;
        m_southLatitude = south;
        m_eastLongitude = east;
        m_northLatitude = north;
    }
    return support::success();
}

support::Status RawMatrixDescription::accept() {
    m_accepted = false;
    if (coordinateSystem == terrain::ProjectionKind::UTM) {
        if (auto utm = acceptUtm(); !utm) {
            return utm;
        }
    }
    if (auto corners = acceptWholeCorners(); !corners) {
        return corners;
    }
    // One row or column leaves no spacing to compute.
    if (rows < 2 || columns < 2) {
        return Error{ErrorCode::IncorrectRowAndColumn, "fewer than 2 rows or columns"};
    }
    if (offsetBytes < 0) {
        return Error{ErrorCode::IncorrectValues, "negative offset"};
    }
    m_accepted = true;
    return support::success();
}

}  // namespace tavrok::importers

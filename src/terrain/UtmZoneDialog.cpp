#include "terrain/UtmZoneDialog.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "geodesy/Utm.h"

namespace tavrok::terrain {

support::Status UtmZoneDialog::accept() {
    if (zone < firstZone || zone > lastZone || (hemisphere != 'N' && hemisphere != 'S')) {
        return support::Error{support::ErrorCode::IncorrectZone, zoneText()};
    }
    return support::success();
}

void UtmZoneDialog::stepZone(int steps) {
    zone = std::clamp(zone + steps, firstZone, lastZone);
}

bool UtmZoneDialog::setZoneText(std::string_view text) {
    int number = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (status != std::errc{} || number < firstZone || number > lastZone) {
        return false;
    }
    std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    const char letter =
        rest.empty() ? 'N' : static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    if (rest.size() > 1 || (letter != 'N' && letter != 'S')) {
        return false;
    }
    zone = number;
    hemisphere = letter;
    return true;
}

std::string UtmZoneDialog::zoneText() const {
    return std::to_string(zone) + hemisphere;
}

bool needsUtmZone(const TerrainHeader& header) {
    return header.projection == ProjectionKind::XY ||
           (header.projection == ProjectionKind::UTM && header.utmZone == 0);
}

void declareUtm(TerrainHeader& header, int zone, char hemisphere) {
    header.projection = ProjectionKind::UTM;
    header.gridKind = gridKindDem;
    header.planet = Planet::Earth;
    header.coordinateType = coordinateTypeUtm;
    header.ellipsoid = geodesy::EllipsoidId::Wgs84;
    header.ellipsoidCode = geodesy::datumCodeFor(header.ellipsoid);
    header.utmZone = zone;
    header.hemisphere = hemisphere;
    header.zoneText = std::to_string(zone) + hemisphere;

    geodesy::UtmConverter converter;
    converter.setUtmParameters(header.ellipsoid, 0);
    double south = std::numeric_limits<double>::max();
    double west = south;
    double north = std::numeric_limits<double>::lowest();
    double east = north;
    for (const double easting : {header.westBound, header.eastBound}) {
        for (const double northing : {header.southBound, header.northBound}) {
            const auto point = converter.utmToLatLon(header.zoneText, easting, northing);
            if (point.flags != 0) {
                continue;
            }
            south = std::min(south, point.latitudeDegrees);
            north = std::max(north, point.latitudeDegrees);
            west = std::min(west, point.longitudeDegrees);
            east = std::max(east, point.longitudeDegrees);
        }
    }
    if (south <= north) {
        header.southLat = static_cast<float>(south);
        header.northLat = static_cast<float>(north);
        header.westLon = static_cast<float>(west);
        header.eastLon = static_cast<float>(east);
    }
}

}  // namespace tavrok::terrain

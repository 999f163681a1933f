#include "geodesy/EllipsoidChange.h"

#include <algorithm>
#include <limits>

#include "geodesy/Utm.h"

namespace tavrok::geodesy {

std::optional<UtmBox> MoveUtmBoxToEllipsoid(const UtmBox& box, std::string_view zoneText,
                                            EllipsoidId from, EllipsoidId to, int targetZone) {
    UtmConverter own;
    UtmConverter target;
    if (own.setUtmParameters(from, 0) != 0 || target.setUtmParameters(to, targetZone) != 0) {
        return std::nullopt;
    }
    const double corners[4][2] = {
        {box.west, box.south}, {box.west, box.north}, {box.east, box.north}, {box.east, box.south}};
    UtmBox moved{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                 std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const auto& corner : corners) {
        const auto geographic = own.utmToLatLon(zoneText, corner[0], corner[1]);
        const auto point =
            target.latLonToUtm(geographic.latitudeDegrees, geographic.longitudeDegrees);
        if (geographic.flags != 0 || point.flags != 0) {
            return std::nullopt;
        }
        moved.west = std::min(moved.west, point.easting);
        moved.east = std::max(moved.east, point.easting);
        moved.south = std::min(moved.south, point.northing);
        moved.north = std::max(moved.north, point.northing);
    }
    return moved;
}

}  // namespace tavrok::geodesy

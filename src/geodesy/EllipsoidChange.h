#pragma once
#include <optional>
#include <string_view>

#include "geodesy/Ellipsoid.h"

namespace tavrok::geodesy {

// A UTM rectangle in metres.
struct UtmBox {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// The smallest box holding the four corners of `box` (in zone `zoneText` on ellipsoid `from`)
// once each corner keeps its latitude and longitude and is expressed on ellipsoid `to` in zone
// `targetZone`. Empty when a corner cannot be converted either way.
std::optional<UtmBox> MoveUtmBoxToEllipsoid(const UtmBox& box, std::string_view zoneText,
                                            EllipsoidId from, EllipsoidId to, int targetZone);

}  // namespace tavrok::geodesy

#pragma once
#include <string_view>

namespace tavrok::importers {

// True for the base name of one of the 16 GLOBE tiles, "a10g" to "p10g"; case ignored.
bool IsGlobeTileName(std::string_view baseName);

// True when the base name followed by ".DEM" is one of the 33 GTOPO30 tiles ("W180N90.DEM" …
// "E120S60.DEM"); case ignored.
bool IsGtopo30TileName(std::string_view baseName);

}  // namespace tavrok::importers

#include "importers/TileNames.h"
#include "support/Text.h"

#include <array>
#include <cctype>
#include <string>

namespace tavrok::importers {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return support::equalsIgnoringCase(a, b);
}

constexpr std::array<std::string_view, 33> gtopo30Tiles{
    "W180N90.DEM", "W140N90.DEM", "W100N90.DEM", "W060N90.DEM", "W020N90.DEM", "E020N90.DEM",
    "E060N90.DEM", "E100N90.DEM", "E140N90.DEM", "W180N40.DEM", "W140N40.DEM", "W100N40.DEM",
    "W060N40.DEM", "W020N40.DEM", "E020N40.DEM", "E060N40.DEM", "E100N40.DEM", "E140N40.DEM",
    "W180S10.DEM", "W140S10.DEM", "W100S10.DEM", "W060S10.DEM", "W020S10.DEM", "E020S10.DEM",
    "E060S10.DEM", "E100S10.DEM", "E140S10.DEM", "W180S60.DEM", "W120S60.DEM", "W060S60.DEM",
    "W000S60.DEM", "E060S60.DEM", "E120S60.DEM"};

}  // namespace

bool IsGlobeTileName(std::string_view baseName) {
    if (baseName.size() != 4) {
        return false;
    }
    const char letter = support::lowerAscii(baseName[0]);
    return letter >= 'a' && letter <= 'p' && SameIgnoringCase(baseName.substr(1), "10g");
}

bool IsGtopo30TileName(std::string_view baseName) {
    const std::string name = std::string(baseName) + ".DEM";
    for (const auto tile : gtopo30Tiles) {
        if (SameIgnoringCase(name, tile)) {
            return true;
        }
    }
    return false;
}

}  // namespace tavrok::importers

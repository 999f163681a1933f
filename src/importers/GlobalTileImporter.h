#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::importers {

// The two global 30-arc-second data sets: 120 samples per degree, rows north to south, no
// header. GLOBE is little-endian with -500 for missing data; GTOPO30 big-endian with -9999.
enum class GlobalDataSet { Globe, Gtopo30 };

struct GlobalTile {
    std::string_view name;  // GLOBE "a10g"; GTOPO30 "W180N90.DEM"
    std::string_view
        display;  // prompt text: GLOBE the name, GTOPO30 "W180N90.DEM or w180n90.tar.gz"
    int upper;    // degrees
    int lower;
    int left;
    int right;
    int columns() const { return (right - left) * 120; }
    int rows() const { return (upper - lower) * 120; }
};

// The tile table of a data set, in its fixed order.
std::span<const GlobalTile> GlobalTiles(GlobalDataSet set);

// A square area in whole degrees. The width is rounded down to even (25 acts as 24) and the
// centre moved so that the square lies on the globe.
struct GlobalArea {
    int left;
    int right;
    int lower;
    int upper;
    int centreLongitude;
    int centreLatitude;
    int samples() const { return (right - left) * 120; }  // rows and columns of the result
};
GlobalArea ComputeGlobalArea(int centreLatitude, int centreLongitude, int widthDegrees);

// Every tile that overlaps the area, in table order (a tile touched only along an edge is not
// needed).
std::vector<const GlobalTile*> TilesForArea(GlobalDataSet set, const GlobalArea& area);

// Gives the readable tile file for a tile (after any archive was unpacked), or nothing when the
// user cancelled.
using TileLocator = std::function<std::optional<std::filesystem::path>(const GlobalTile&)>;

// Cuts the area out of the needed tiles, reading only the window's rows and columns (one seek
// per row). Sinusoidal projection resamples each row by 1 / cos(latitude) about the centre and
// trims the columns every row lost. Errors: OperationCancelled (locator gave nothing or
// progress returned false), CannotOpenGlobeFile (a tile that cannot be opened or is shorter
// than its table size), NotEnoughMemory.
support::Result<LoadedTerrain> LoadGlobalArea(GlobalDataSet set, const GlobalArea& area,
                                              terrain::ProjectionKind projection,
                                              const TileLocator& locateTile,
                                              const support::ProgressCallback& progress);

}  // namespace tavrok::importers

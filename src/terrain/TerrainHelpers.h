#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "terrain/Terrain.h"

namespace tavrok::terrain {

// Nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3).
std::int32_t RoundToInt(double value);

// The cell at integer indices; a missing cell reads as 0. With addMinimum the result is the
// absolute elevation. Indices outside the grid, Mars polar grids and an unloaded terrain read
// as 0 (minElevation with addMinimum).
float CellValue(const Terrain& terrain, int column, int row, bool addMinimum);

// Elevation at fractional grid indices: bilinear when the four neighbours are valid, the mean
// of the valid ones otherwise, 0 when none is. Outside the interpolable area (the last row
// and column included) the result is minElevation. Without a loaded terrain 0.
float ElevationAt(const Terrain& terrain, double columnF, double rowF, bool addMinimum);

struct GridPoint {
    double column = 0;
    double row = 0;
};

// Fractional grid indices of a geographic position (degrees). Positions that cannot be mapped
// (a failed UTM conversion, zero-width bounds, unknown kinds) give (0, 0).
GridPoint GeoToGrid(const Terrain& terrain, double longitude, double latitude);

// The lines of the "DEM Specifications" dialog, top to bottom. A line may be empty: the
// ellipsoid line of an unnamed ellipsoid still takes its place.
std::vector<std::string> DemSpecsLines(const TerrainHeader& header);

// Number of missing cells.
long MissingCellCount(const TerrainModel& grid);

}  // namespace tavrok::terrain

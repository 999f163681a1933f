#pragma once
#include "terrain/TerrainModel.h"

namespace tavrok::edit {

// A patch rectangle in whole grid cells, row 0 south: columnMin ≤ columnMax, rowMin ≤ rowMax.
// Its boundary columns and rows are never filled and never lend a value.
struct PatchRectangle {
    int columnMin = 0;
    int rowMin = 0;
    int columnMax = 0;
    int rowMax = 0;
};

// The estimate for the missing cell (column, row) from the nearest valid cell strictly inside
// the rectangle in each of the four directions: the mean of the west-east and the south-north
// linear interpolations. Every cell that holds a value is a valid neighbour, the lowest
// ground (0) included. missingCell when a direction has no valid cell before the boundary.
float PatchValue(const terrain::TerrainModel& grid, int columnMin, int columnMax, int rowMin,
                 int rowMax, int column, int row);

// Fills the missing cells of the rectangle, clamped to the grid, south to north and west to
// east; a filled cell serves as a neighbour for the cells after it. Cells that hold a value
// never change. Returns the number of cells filled.
long patchMissingData(terrain::TerrainModel& grid, PatchRectangle rectangle);

}  // namespace tavrok::edit

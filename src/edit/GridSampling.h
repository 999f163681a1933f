#pragma once
#include <algorithm>

#include "terrain/TerrainModel.h"

namespace tavrok::edit {

// A stored cell holds a value when it is not negative; NaN, which an importer may leave,
// counts as missing too.
inline bool holdsValue(float cell) {
    return cell >= 0.0f;
}

// The stored value at fractional grid indices (column from the west, row from the south).
// Bilinear when the four surrounding cells hold values, the mean of those that do otherwise,
// and missingCell when none does or the position lies off the grid. The last row and column
// are reached exactly, so a resampling that lands on every cell copies the grid.
inline float sampleGrid(const terrain::TerrainModel& grid, double column, double row) {
    const int columns = grid.columns();
    const int rows = grid.rows();
    // NaN fails these tests too.
    if (!(column >= 0 && row >= 0 && column <= columns - 1 && row <= rows - 1)) {
        return terrain::missingCell;
    }
    const int c0 = std::min(static_cast<int>(column), std::max(columns - 2, 0));
    const int r0 = std::min(static_cast<int>(row), std::max(rows - 2, 0));
    const int c1 = std::min(c0 + 1, columns - 1);
    const int r1 = std::min(r0 + 1, rows - 1);
    const float sw = grid.at(c0, r0);
    const float se = grid.at(c1, r0);
    const float nw = grid.at(c0, r1);
    const float ne = grid.at(c1, r1);
    if (holdsValue(sw) && holdsValue(se) && holdsValue(nw) && holdsValue(ne)) {
        const auto fx = static_cast<float>(column - c0);
        const auto fy = static_cast<float>(row - r0);
        const float south = sw + (se - sw) * fx;
        const float north = nw + (ne - nw) * fx;
        return std::max(0.0f, south + (north - south) * fy);
    }
    float sum = 0.0f;
    int count = 0;
    for (const float cell : {sw, se, nw, ne}) {
        if (holdsValue(cell)) {
            sum += cell;
            ++count;
        }
    }
    return count > 0 ? sum / static_cast<float>(count) : terrain::missingCell;
}

// The smallest and largest value of the valid cells of a grid.
struct ValueRange {
    float lowest = 0;
    float highest = 0;
    bool any = false;

    void include(float value) {
        if (!any) {
            lowest = highest = value;
            any = true;
            return;
        }
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    void include(const ValueRange& other) {
        if (other.any) {
            include(other.lowest);
            include(other.highest);
        }
    }
};

// Brings a resampled grid back to the stored form: missing cells become missingCell and every
// other cell is lowered by the lowest valid value, so that the lowest ground is 0. Returns
// the range of the values before lowering.
ValueRange storeAboveLowest(terrain::TerrainModel& grid);

}  // namespace tavrok::edit

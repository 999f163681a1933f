#include "edit/Patch.h"

#include <algorithm>

#include "edit/GridSampling.h"

namespace tavrok::edit {

namespace {

struct Neighbour {
    int position = 0;
    float value = terrain::missingCell;
};

// Walks from `start` by `step` while the position stays strictly inside `limit`; the first cell
// holding a value is the neighbour. The boundary itself is never read.
template <typename Cell>
Neighbour nearestValid(int start, int step, int limit, const Cell& cell) {
    for (int position = start; step < 0 ? position > limit : position < limit; position += step) {
        const float value = cell(position);
        if (holdsValue(value)) {
            return {position, value};
        }
    }
    return {};
}

}  // namespace

float PatchValue(const terrain::TerrainModel& grid, int columnMin, int columnMax, int rowMin,
                 int rowMax, int column, int row) {
    const auto inRow = [&](int c) { return grid.at(c, row); };
    const auto inColumn = [&](int r) { return grid.at(column, r); };
    const Neighbour west = nearestValid(column, -1, columnMin, inRow);
    const Neighbour east = nearestValid(column, 1, columnMax, inRow);
    const Neighbour south = nearestValid(row, -1, rowMin, inColumn);
    const Neighbour north = nearestValid(row, 1, rowMax, inColumn);
    if (!holdsValue(west.value) || !holdsValue(east.value) || !holdsValue(south.value) ||
        !holdsValue(north.value)) {
        return terrain::missingCell;
    }
    // A cell holding a value is its own neighbour in every direction.
    if (west.position == east.position || south.position == north.position) {
        return grid.at(column, row);
    }
    const float width = static_cast<float>(east.position - west.position);
    const float height = static_cast<float>(north.position - south.position);
    const float westWeight = static_cast<float>(column - west.position) / width;
    const float eastWeight = static_cast<float>(east.position - column) / width;
    const float southWeight = static_cast<float>(row - south.position) / height;
    const float northWeight = static_cast<float>(north.position - row) / height;
    return ((1 - westWeight) * west.value + (1 - eastWeight) * east.value +
            (1 - southWeight) * south.value + (1 - northWeight) * north.value) /
           2;
}

long patchMissingData(terrain::TerrainModel& grid, PatchRectangle rectangle) {
    rectangle.columnMin = std::max(rectangle.columnMin, 0);
    rectangle.rowMin = std::max(rectangle.rowMin, 0);
    rectangle.columnMax = std::min(rectangle.columnMax, grid.columns() - 1);
    rectangle.rowMax = std::min(rectangle.rowMax, grid.rows() - 1);
    long patched = 0;
    for (int row = rectangle.rowMin; row < rectangle.rowMax; ++row) {
        for (int column = rectangle.columnMin; column < rectangle.columnMax; ++column) {
            if (holdsValue(grid.at(column, row))) {
                continue;
            }
            const float value = PatchValue(grid, rectangle.columnMin, rectangle.columnMax,
                                           rectangle.rowMin, rectangle.rowMax, column, row);
            if (holdsValue(value)) {
                grid.at(column, row) = value;
                ++patched;
            }
        }
    }
    return patched;
}

}  // namespace tavrok::edit

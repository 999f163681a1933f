#include "edit/Patch.h"

#include <algorithm>
#include <vector>

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

namespace {

// The mean of the west-east and the south-north linear interpolations, in single precision.
float interpolate(const Neighbour& west, const Neighbour& east, const Neighbour& south,
                  const Neighbour& north, int column, int row) {
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

bool found(const Neighbour& neighbour) {
    return holdsValue(neighbour.value);
}

}  // namespace

float PatchValue(const terrain::TerrainModel& grid, int columnMin, int columnMax, int rowMin,
                 int rowMax, int column, int row) {
    if (holdsValue(grid.at(column, row))) {
        return grid.at(column, row);
    }
    const auto inRow = [&](int c) { return grid.at(c, row); };
    const auto inColumn = [&](int r) { return grid.at(column, r); };
    const Neighbour west = nearestValid(column, -1, columnMin, inRow);
    const Neighbour east = nearestValid(column, 1, columnMax, inRow);
    const Neighbour south = nearestValid(row, -1, rowMin, inColumn);
    const Neighbour north = nearestValid(row, 1, rowMax, inColumn);
    if (!found(west) || !found(east) || !found(south) || !found(north)) {
        return terrain::missingCell;
    }
    return interpolate(west, east, south, north, column, row);
}

// One sweep south to north and west to east gives what PatchValue would give cell after cell,
// without searching: the west and south neighbours are the last valid cells passed (filled
// ones included), the east and north ones lie in cells not reached yet, which still hold what
// they held before the patch.
long patchMissingData(terrain::TerrainModel& grid, PatchRectangle rectangle) {
    const int columnMin = std::max(rectangle.columnMin, 0);
    const int rowMin = std::max(rectangle.rowMin, 0);
    const int columnMax = std::min(rectangle.columnMax, grid.columns() - 1);
    const int rowMax = std::min(rectangle.rowMax, grid.rows() - 1);
    if (columnMax - columnMin < 2 || rowMax - rowMin < 2) {
        return 0;
    }
    const auto width = static_cast<std::size_t>(columnMax - columnMin + 1);
    std::vector<Neighbour> south(width);
    // The first row above the current one holding a value, per column; rowMax when none.
    std::vector<int> north(width, rowMin);
    std::vector<Neighbour> east(width);
    long patched = 0;
    for (int row = rowMin + 1; row < rowMax; ++row) {
        const auto cells = grid.row(row);
        Neighbour next;
        for (int column = columnMax - 1; column > columnMin; --column) {
            east[column - columnMin] = next;
            if (holdsValue(cells[column])) {
                next = {column, cells[column]};
            }
        }
        Neighbour west;
        for (int column = columnMin + 1; column < columnMax; ++column) {
            const std::size_t index = column - columnMin;
            if (!holdsValue(cells[column])) {
                int& above = north[index];
                if (above <= row) {
                    above = row + 1;
                    while (above < rowMax && !holdsValue(grid.at(column, above))) {
                        ++above;
                    }
                }
                if (found(west) && found(east[index]) && found(south[index]) && above < rowMax) {
                    const Neighbour up{above, grid.at(column, above)};
                    cells[column] = interpolate(west, east[index], south[index], up, column, row);
                    ++patched;
                }
            }
            if (holdsValue(cells[column])) {
                west = {column, cells[column]};
                south[index] = {row, cells[column]};
            }
        }
    }
    return patched;
}

}  // namespace tavrok::edit

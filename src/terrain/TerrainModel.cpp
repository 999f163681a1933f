#include "terrain/TerrainModel.h"

#include <limits>
#include <new>

namespace tavrok::terrain {

template <typename Fill>
support::Result<TerrainModel> TerrainModel::make(int rows, int columns, const Fill& fill) {
    using support::ErrorCode;
    if (rows < 1 || columns < 1) {
        return support::Error{ErrorCode::ImproperRowsOrColumns, "grid size must be positive"};
    }
    const auto cellCount = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    if (cellCount > std::numeric_limits<std::ptrdiff_t>::max() / sizeof(float)) {
        return support::Error{ErrorCode::NotEnoughMemory, "grid size overflows"};
    }
    TerrainModel grid;
    try {
        fill(grid.m_cells, cellCount);
    } catch (const std::bad_alloc&) {
        return support::Error{ErrorCode::NotEnoughMemory, "grid allocation failed"};
    }
    grid.m_rows = rows;
    grid.m_columns = columns;
    return grid;
}

support::Result<TerrainModel> TerrainModel::create(int rows, int columns, float fill) {
    return make(rows, columns,
                [fill](auto& cells, std::size_t count) { cells.assign(count, fill); });
}

support::Result<TerrainModel> TerrainModel::createUninitialised(int rows, int columns) {
    // resize() constructs each float without a value, which GridAllocator leaves untouched.
    return make(rows, columns, [](auto& cells, std::size_t count) { cells.resize(count); });
}

support::Result<TerrainModel> TerrainModel::clone() const {
    TerrainModel copy;
    try {
        copy.m_cells.assign(m_cells.begin(), m_cells.end());
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemory, "grid copy failed"};
    }
    copy.m_rows = m_rows;
    copy.m_columns = m_columns;
    return copy;
}

}  // namespace tavrok::terrain

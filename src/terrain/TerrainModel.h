#pragma once
#include <cstddef>
#include <span>
#include <vector>

#include "support/Result.h"
#include "terrain/GridAllocator.h"

namespace tavrok::terrain {

// A stored cell below 0 is missing; importers write exactly this value.
inline constexpr float missingCell = -1.0f;

inline bool isMissing(float cell) {
    return cell < 0.0f;
}

// The elevation grid: rows × columns floats, row 0 the south edge, column 0 the west edge.
// A cell holds elevation - minElevation, so the lowest valid cell is 0; missingCell marks
// missing data.
class TerrainModel {
  public:
    TerrainModel() = default;
    // Grids are big: they move, and a copy is asked for by name.
    TerrainModel(const TerrainModel&) = delete;
    TerrainModel& operator=(const TerrainModel&) = delete;
    TerrainModel(TerrainModel&&) noexcept = default;
    TerrainModel& operator=(TerrainModel&&) noexcept = default;

    // A copy of every cell. Fails with NotEnoughMemory.
    support::Result<TerrainModel> clone() const;

    // A grid filled with one value. Fails with NotEnoughMemory when the size overflows or the
    // memory cannot be had, and with ImproperRowsOrColumns for a non-positive size.
    static support::Result<TerrainModel> create(int rows, int columns, float fill = 0.0f);
    // A grid whose cells hold whatever the memory held, for a caller that writes every cell
    // at once: the pages are first touched by that writing, on whichever threads it uses.
    // Fails as create does.
    static support::Result<TerrainModel> createUninitialised(int rows, int columns);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    bool empty() const { return m_cells.empty(); }

    std::span<float> row(int row) {
        return {m_cells.data() + static_cast<std::size_t>(row) * m_columns,
                static_cast<std::size_t>(m_columns)};
    }
    std::span<const float> row(int row) const {
        return {m_cells.data() + static_cast<std::size_t>(row) * m_columns,
                static_cast<std::size_t>(m_columns)};
    }
    float& at(int column, int row) {
        return m_cells[static_cast<std::size_t>(row) * m_columns + column];
    }
    float at(int column, int row) const {
        return m_cells[static_cast<std::size_t>(row) * m_columns + column];
    }
    std::span<float> cells() { return m_cells; }
    std::span<const float> cells() const { return m_cells; }

  private:
    template <typename Fill>
    static support::Result<TerrainModel> make(int rows, int columns, const Fill& fill);

    int m_rows = 0;
    int m_columns = 0;
    std::vector<float, GridAllocator<float>> m_cells;
};

}  // namespace tavrok::terrain

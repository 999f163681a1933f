#include "importers/MergeCore.h"

#include <algorithm>
#include <cstdio>

#include "support/FileHandle.h"

namespace tavrok::importers {

ParkedGrids::ParkedGrids(std::filesystem::path folder, std::string prefix,
                         support::ErrorCode writeFailure)
    : m_folder(std::move(folder)), m_prefix(std::move(prefix)), m_writeFailure(writeFailure) {}

support::Result<std::filesystem::path> ParkedGrids::park(terrain::TerrainModel& grid, int index) {
    const auto path = m_folder / (m_prefix + std::to_string(index) + ".bin");
    auto file = support::openForWriting(path);
    if (!file) {
        return support::Error{m_writeFailure, path.string()};
    }
    m_files.add(path);
    const auto cells = grid.cells();
    const bool written =
        std::fwrite(cells.data(), 1, cells.size_bytes(), file.get()) == cells.size_bytes();
    if (!written || !support::closeChecked(file)) {
        return support::Error{m_writeFailure, "cannot write " + path.string()};
    }
    grid = terrain::TerrainModel();
    return path;
}

support::Result<terrain::TerrainModel> ParkedGrids::take(const std::filesystem::path& file,
                                                         int rows, int columns) {
    auto input = support::openForReading(file);
    if (!input) {
        return support::Error{support::ErrorCode::FileError, file.string()};
    }
    auto grid = terrain::TerrainModel::create(rows, columns);
    if (!grid) {
        return grid.error();
    }
    const auto cells = grid->cells();
    if (std::fread(cells.data(), 1, cells.size_bytes(), input.get()) != cells.size_bytes()) {
        return support::Error{support::ErrorCode::FileError, "short read " + file.string()};
    }
    input.reset();
    m_files.remove(file);
    return grid;
}

void PlaceTile(terrain::TerrainModel& merged, const terrain::TerrainModel& tile,
               TilePlacement placement, bool (*present)(float cell)) {
    const int firstRow = std::max(0, -placement.row);
    const int lastRow = std::min(tile.rows(), merged.rows() - placement.row);
    const int firstColumn = std::max(0, -placement.column);
    const int lastColumn = std::min(tile.columns(), merged.columns() - placement.column);
    for (int row = firstRow; row < lastRow; ++row) {
        const auto source = tile.row(row);
        auto target = merged.row(placement.row + row);
        for (int column = firstColumn; column < lastColumn; ++column) {
            if (present(source[column])) {
                target[placement.column + column] = source[column] + placement.lift;
            }
        }
    }
}

void FillSeams(terrain::TerrainModel& grid) {
    for (int row = 1; row < grid.rows() - 1; ++row) {
        const auto below = grid.row(row - 1);
        const auto above = grid.row(row + 1);
        auto cells = grid.row(row);
        for (int column = 1; column < grid.columns() - 1; ++column) {
            if (!terrain::isMissing(cells[column])) {
                continue;
            }
            if (!terrain::isMissing(above[column]) && !terrain::isMissing(below[column])) {
                cells[column] = (above[column] + below[column]) / 2;
            }
            if (!terrain::isMissing(cells[column - 1]) && !terrain::isMissing(cells[column + 1])) {
                cells[column] = (cells[column - 1] + cells[column + 1]) / 2;
            }
        }
    }
}

}  // namespace tavrok::importers

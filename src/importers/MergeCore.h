#pragma once
#include <filesystem>
#include <string>

#include "support/ErrorCode.h"
#include "support/Result.h"
#include "support/TemporaryFiles.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// The engine every merge of adjacent tiles shares: grids wait on disk while the later tiles
// are read, then each is placed on the common grid and the seams are filled. Working out the
// common grid and reconciling a tile with the first one stay with each format.

// Grids parked as "<prefix><index>.bin" (32-bit floats, row after row) in the work folder.
// Every file still parked is deleted when the set goes, so each early return cleans up.
class ParkedGrids {
  public:
    // writeFailure: the code a grid that cannot be written gives (formats have always named
    // this failure differently).
    ParkedGrids(std::filesystem::path folder, std::string prefix, support::ErrorCode writeFailure);

    // Writes the grid to disk and empties it; gives the file. Fails with writeFailure.
    support::Result<std::filesystem::path> park(terrain::TerrainModel& grid, int index);

    // Reads a parked grid of rows × columns back and deletes its file. Fails with FileError
    // (missing or short file) or NotEnoughMemory.
    support::Result<terrain::TerrainModel> take(const std::filesystem::path& file, int rows,
                                                int columns);

  private:
    std::filesystem::path m_folder;
    std::string m_prefix;
    support::ErrorCode m_writeFailure;
    support::TemporaryFiles m_files;
};

// Where a tile lies on the common grid (its row 0, column 0) and how much its cells rise to
// be relative to the common minimum.
struct TilePlacement {
    int column = 0;
    int row = 0;
    float lift = 0;
};

// Copies the cells of a tile that `present` accepts onto the common grid, lifted, clipped to
// the grid's edges; later tiles overwrite earlier ones.
void PlaceTile(terrain::TerrainModel& merged, const terrain::TerrainModel& tile,
               TilePlacement placement, bool (*present)(float cell));

// Fills interior missing cells, visited row by row from the south: the mean of the cells above
// and below when both are present, then (winning) the mean of the left and right cells.
void FillSeams(terrain::TerrainModel& grid);

}  // namespace tavrok::importers

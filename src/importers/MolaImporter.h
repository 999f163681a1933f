#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::importers {

// The MOLA MEG tile sets of Mars: big-endian signed 16-bit samples, rows north to south,
// longitudes east from 0 to 360, -32768 for missing data.
enum class MolaMegSet { Meg064, Meg128 };

struct MolaTile {
    std::string_view name;  // "megt00n000gb.img"
    int upper;              // degrees
    int lower;
    int left;
    int right;
};

std::span<const MolaTile> MolaTiles(MolaMegSet set);
int MolaSamplesPerDegree(MolaMegSet set);     // 64 or 128
std::uint64_t MolaTileBytes(MolaMegSet set);  // 132710400 or 129761280
int MolaAreaWidthDegrees(MolaMegSet set);     // 60 or 30

// A square area of the set's fixed width in whole degrees, its centre moved so that the square
// lies on the planet (MEG 128 also within latitudes -73 .. 73).
struct MolaArea {
    int left;
    int right;
    int lower;
    int upper;
    int centreLongitude;
    int centreLatitude;
};
MolaArea ComputeMolaArea(MolaMegSet set, int centreLatitude, int centreLongitude);

// The tiles that overlap the area, in table order.
std::vector<const MolaTile*> MolaTilesForArea(MolaMegSet set, const MolaArea& area);

// Cuts the area from the tiles in `directory`, reading only the window rows (one seek per row).
// A tile that is absent leaves its part of the area missing, as are -32768 samples.
// Sinusoidal projection resamples each row about its centre by 1 / cos(latitude) with linear
// interpolation. Errors: NotAMolaMeg064File (megt00n000gb.img absent or of the wrong size, or an
// opened tile of the wrong size), NotAMolaMeg128File (an opened tile of the wrong size),
// NoMolaTilesFound (not one of the area's tiles is in the folder; the detail is the folder),
// NotEnoughMemory, OperationCancelled.
support::Result<LoadedTerrain> LoadMolaMegArea(MolaMegSet set, const MolaArea& area,
                                               terrain::ProjectionKind projection,
                                               const std::filesystem::path& directory,
                                               const support::ProgressCallback& progress);

// The polar images: unsigned big-endian 16-bit samples, elevation = sample × 0.25 - 8000 m.
enum class MolaPole { North, South };
std::string MolaPolarFileName(MolaPole pole, int samplesPerDegree);  // "megt_n_128_1.img"
// Samples per row of the square image: 10240, 11520, 12288 for 128, 256, 512; 0 otherwise.
int MolaPolarSide(int samplesPerDegree);
inline double MolaPolarMetres(std::uint16_t sample) {
    return sample * 0.25 - 8000.0;
}

// A window of the image in samples; last row and column exclusive.
struct MolaPolarWindow {
    int firstColumn;
    int lastColumn;
    int firstRow;
    int lastRow;
};
// The square drawn on the polar map (centre and width in map pixels) scaled to the image of
// `side` samples, each bound truncated and clamped to 0 .. side.
MolaPolarWindow MolaPolarWindowFromMap(double centreX, double centreY, double width, int mapWidth,
                                       int mapHeight, int side);

// Reads the window, one seek per row; the grid's row 0 is the window's bottom row.
// Errors: CannotFindMolaPolarFile (absent or shorter than its image), ImproperRowsOrColumns
// (an empty window or an unknown resolution), NotEnoughMemory, OperationCancelled.
support::Result<LoadedTerrain> LoadMolaPolarWindow(const std::filesystem::path& image,
                                                   int samplesPerDegree,
                                                   const MolaPolarWindow& window,
                                                   const support::ProgressCallback& progress);

}  // namespace tavrok::importers

#pragma once
#include "support/Result.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// How a geographic grid is squeezed into the sinusoidal projection. The two global data sets
// have always been resampled differently, and their maps must not move:
// - Nearest (GLOBE, GTOPO30): each cell takes the sample its position truncates to, about the
//   centre column n / 2; afterwards the columns that every row lost are trimmed from both
//   sides, so the grid gets narrower.
// - Linear (MOLA MEG): each cell interpolates between the two samples around its position,
//   about the centre (n - 1) / 2, and is missing when either of them is; the width is kept.
enum class SinusoidalSampling { Nearest, Linear };

// Resamples every row about its centre by 1 / cos(latitude), latitude = lowerLatitude +
// row × degreesPerRow (degrees, row 0 south). Positions before column 1 or past the last one
// are missing; a row at a pole repeats the previous position. Fails with NotEnoughMemory when
// the trimmed grid cannot be had; the input grid is consumed either way.
support::Result<terrain::TerrainModel> ResampleSinusoidal(terrain::TerrainModel grid,
                                                          double lowerLatitude,
                                                          double degreesPerRow,
                                                          SinusoidalSampling sampling);

}  // namespace tavrok::importers

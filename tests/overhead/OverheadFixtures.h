#pragma once
#include <functional>

#include "terrain/Terrain.h"

namespace tavrok::overhead::test {

// A UTM terrain (zone 10 N, NAD83, 30 m cells at the sample's corner) whose relative cells
// come from cell(column, row); minElevation and maxElevation as given.
terrain::Terrain utmTerrain(int rows, int columns, const std::function<float(int, int)>& cell,
                            double minElevation = 0, double maxElevation = 0);

// A geographic terrain centred on (0, 0) with one arc-minute cells, crossing the equator and
// the prime meridian: columns × rows cells from −(columns−1)/2 arc-minutes west and south.
terrain::Terrain geographicTerrain(int rows, int columns,
                                   const std::function<float(int, int)>& cell);
// The same with `spacing` arc-second cells, the south-west one `west` and `south` arc-seconds
// from the prime meridian and the equator.
terrain::Terrain geographicTerrain(int rows, int columns, double west, double south, float spacing,
                                   const std::function<float(int, int)>& cell);

}  // namespace tavrok::overhead::test

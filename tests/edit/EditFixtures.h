#pragma once
#include <filesystem>
#include <functional>

#include "terrain/Terrain.h"

namespace tavrok::test {

// A loaded geographic DEM with `spacing` arc-seconds between samples, its south-west sample at
// (south, west) degrees; cells hold value(column, row) relative to a minimum of 100 m.
terrain::Terrain geographicTerrain(int rows, int columns, double west, double south, float spacing,
                                   const std::function<float(int column, int row)>& value);
// A loaded UTM DEM, zone 10 N on NAD27, with the given origin and spacing in metres.
terrain::Terrain utmTerrain(int rows, int columns, double originX, double originY, float spacing,
                            const std::function<float(int column, int row)>& value);
// A real SRTM tile loaded through the SRTM importer; a ".bil" gets the USGS side files first,
// written into `folder`. Not loaded when the file is absent.
terrain::Terrain loadRealTile(const std::filesystem::path& file,
                              const std::filesystem::path& folder);

}  // namespace tavrok::test

#pragma once
#include "cli/Arguments.h"

namespace tavrok::cli {

// Each returns the process exit status: 0 success, 1 a failed operation, 2 a usage mistake.
int runInfo(const Arguments& arguments);
int runElevation(const Arguments& arguments);
int runGeoToUtm(const Arguments& arguments);
int runUtmToGeo(const Arguments& arguments);
// Loads a terrain and writes the overhead map image (PNG or BMP).
int runRender(const Arguments& arguments);
// Loads a terrain and saves it as a terrain matrix, USGS ASCII DEM or GeoTIFF DEM.
int runExport(const Arguments& arguments);
// Loads a terrain and writes a 3D scene of it (PNG or BMP), as the scene window shows it.
int runScene(const Arguments& arguments);

}  // namespace tavrok::cli

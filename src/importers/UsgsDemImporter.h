#pragma once
#include <filesystem>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "importers/UsgsDemReader.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::importers {

// The terrain header a DEM record describes once its extremes (metres) are known: UTM for
// ground unit 2, Lat/Lon for 3; bounds in metres or arc-seconds; missing flag -32767.
terrain::TerrainHeader HeaderFromDemRecord(const UsgsDemRecord& record, double minElevation,
                                           double maxElevation);

// Compares a later DEM with the first, in this order, after moving a UTM DEM on another datum
// onto the first one's: DemsHaveDifferntMapProjections (ground units differ),
// DifferentGridResolutions (x), DifferentElevationResolutions (y), DifferentUtmZones (UTM).
// Fails with UnusableUtmCoordinates when the corners cannot change datum.
support::Status ReconcileDemWithFirst(const UsgsDemRecord& first, UsgsDemRecord& later);

// Loads one USGS ASCII DEM, or merges several adjacent ones into one grid: later files
// overwrite earlier ones, cells no file covers stay missing and single missing cells along the
// seams are filled. While others are read, each grid waits in "dem_N.bin" in
// temporaryDirectory; those files are gone when this returns, whatever happened. Errors of
// ReadUsgsDem and ReconcileDemWithFirst, CannotSaveTemporaryFiles, FileError, NotEnoughMemory,
// DemHoldsNoElevations when every cell is void, OperationCancelled.
support::Result<LoadedTerrain> LoadUsgsDemFiles(const std::vector<std::filesystem::path>& paths,
                                                const std::filesystem::path& temporaryDirectory,
                                                const support::ProgressCallback& progress);

}  // namespace tavrok::importers

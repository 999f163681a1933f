#pragma once
#include <filesystem>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "importers/MatrixImporter.h"
#include "importers/MergeCore.h"
#include "support/Progress.h"
#include "support/Result.h"

namespace tavrok::importers {

// Reads several adjacent matrices and merges them into one grid: later files overwrite earlier
// ones, cells no file covers stay missing, and single missing cells along seams are filled from
// their neighbours. Each grid waits in a "matrix_N.bin" file in temporaryDirectory; all of
// them are deleted before this returns. Errors as for LoadMatrixFiles.
support::Result<LoadedTerrain> MergeMatrixFiles(const std::vector<std::filesystem::path>& paths,
                                                const std::filesystem::path& temporaryDirectory,
                                                const support::ProgressCallback& progress);

// Compares a later matrix with the first, in this order, after moving a UTM matrix on another
// ellipsoid onto the first one's: DifferentMapProjections, DifferentGridResolutions,
// DifferentAngularResolutions, DifferentUtmZones. Fails with CannotLoadAllMatrixFiles when the
// corners cannot be moved to the first matrix's ellipsoid.
support::Status ReconcileWithFirst(const MatrixFileRecord& first, MatrixFileRecord& later);

}  // namespace tavrok::importers

#pragma once
#include <filesystem>

#include "importers/LoadedTerrain.h"
#include "importers/RawMatrixDescription.h"
#include "support/Progress.h"
#include "support/Result.h"

namespace tavrok::importers {

// True when the file starts with "CDF" and byte 1 (netCDF classic): the description is then
// preset to FLOAT (32), Big Endian, Lat/Long, Depth. Never fails; other files change nothing.
bool ApplyNetCdfPreset(const std::filesystem::path& path, RawMatrixDescription& description);

// Reads a headerless grid as the description says. The description must have been accepted.
// temporaryInput: the file was written for us (by another importer); it is deleted whatever
// happens, and its placeholder values -150, -250, -350 are not allowed to be the minimum.
// Errors: CannotOpenMatrix (CannotOpenAsciiMatrix for ASCII), ImproperRowsOrColumns when the
// file holds fewer samples than rows × columns after the offset, NotEnoughMemory,
// IncorrectValues (description not accepted, or a zero spacing or horizontal scale),
// OperationCancelled when progress returns false.
support::Result<LoadedTerrain> BuildRawMatrix(const std::filesystem::path& path,
                                              const RawMatrixDescription& description,
                                              bool temporaryInput,
                                              const support::ProgressCallback& progress);

}  // namespace tavrok::importers

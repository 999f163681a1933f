#pragma once
#include <filesystem>

#include "importers/TarReader.h"
#include "support/Result.h"

namespace tavrok::importers {

// Unpacks one archive below folder: a tar file, a gzip-compressed tar file, or a gzip file
// holding a single file (written under the archive's name without ".gz"). Members that are
// themselves gzip files (".gz") are unpacked once more beside them and then removed; what they
// hold is not unpacked again. Everything is streamed through small buffers. Errors:
// CannotOpenFile; FaultyArchiveFile for anything that is neither tar nor gzip, a wrong gzip
// method, damaged data, a member that would leave the folder, more than the limits allow, or
// a compression bomb; CannotSaveTemporaryFiles when writing an unpacked file fails (detail: the
// file and the system's reason, such as a full disk); FileError; NotEnoughMemory.
support::Result<ExtractedFiles> Untar(const std::filesystem::path& archivePath,
                                      const std::filesystem::path& folder,
                                      const ExtractionLimits& limits = {});

}  // namespace tavrok::importers

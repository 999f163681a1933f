#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tavrok::importers {

// What one archive may put on disk, so that a small archive cannot fill it.
struct ExtractionLimits {
    std::uint64_t maximumBytes = std::uint64_t{2} << 30;  // all files together
    std::size_t maximumFiles = 10000;
};

// The regular files an extraction wrote (links are written as copies), and their bytes.
struct ExtractedFiles {
    std::vector<std::filesystem::path> files;
    std::uint64_t bytes = 0;
};

// True when the first 512-byte block is a tar header with a correct checksum.
bool LooksLikeTar(std::string_view bytes);

// An archive member's name made safe: "." and empty parts dropped, "\" read as "/". Empty for a
// name that is absolute, climbs out with "..", or is empty.
std::optional<std::string> SafeMemberName(std::string_view name);

// Extracts a tar stream (POSIX ustar, GNU long names, pax path records and the older version 7
// headers) below folder. Regular files are written, directories created, hard and symbolic
// links written as copies of members already extracted; other entries are skipped. Nothing is
// written outside folder and no link is created. Errors: FaultyArchiveFile for a block cut
// short, a bad header checksum, a member whose name or link target leaves the folder, a write
// that fails, or more than the limits allow (counted together with `extracted`).
support::Status ExtractTarStream(std::string_view tar, const std::filesystem::path& folder,
                                 const ExtractionLimits& limits, ExtractedFiles& extracted);

// Writes one file below folder with the same checks and limits as ExtractTarStream.
support::Status ExtractSingleFile(const std::string& name, std::string_view data,
                                  const std::filesystem::path& folder,
                                  const ExtractionLimits& limits, ExtractedFiles& extracted);

}  // namespace tavrok::importers

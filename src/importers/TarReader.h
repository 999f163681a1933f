#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "importers/ByteSource.h"
#include "support/Result.h"

namespace tavrok::importers {

// What one archive may put on disk, so that a small archive cannot fill it: 2 GiB in all
// (more than any tile set the program reads) and 2048 members of any kind (a hundred SDTS
// transfers), counted over every pass of an archive together. Compressed data pass their first
// ratioFreeBytes unchecked: the largest single tile the program reads (a GLOBE tile, 124 MiB)
// fits, however flat it is. Beyond them, data that inflate more than maximumRatio times are
// taken for a compression bomb and refused at once; bulk elevation data shrink 2 to 20 times,
// and deflate itself cannot pass about 1032 to 1.
struct ExtractionLimits {
    std::uint64_t maximumBytes = std::uint64_t{2} << 30;
    std::size_t maximumMembers = 2048;
    std::uint64_t ratioFreeBytes = std::uint64_t{128} << 20;
    std::uint64_t maximumRatio = 100;
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
// headers) below folder, copying each member through a small buffer. Regular files are
// written, directories created, hard and symbolic links written as copies of members already
// extracted; other entries are skipped. Nothing is written outside folder and no link is
// created. Errors: FaultyArchiveFile for a block cut short, a bad header checksum, a member
// whose name or link target leaves the folder, or more than the limits allow (counted together
// with `extracted`); CannotSaveTemporaryFiles when writing an unpacked file fails (detail: the
// file and the system's reason, such as a full disk); the source's own errors.
support::Status ExtractTarStream(ByteSource& tar, const std::filesystem::path& folder,
                                 const ExtractionLimits& limits, ExtractedFiles& extracted);

// Writes the rest of data as one file below folder, with the same checks, limits and errors as
// ExtractTarStream.
support::Status ExtractSingleFile(const std::string& name, ByteSource& data,
                                  const std::filesystem::path& folder,
                                  const ExtractionLimits& limits, ExtractedFiles& extracted);

}  // namespace tavrok::importers

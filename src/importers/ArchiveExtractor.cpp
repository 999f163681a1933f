#include "importers/ArchiveExtractor.h"

#include <algorithm>
#include <cctype>

#include "importers/GzipInflate.h"
#include "importers/MatrixSamples.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;

bool EndsWithGz(const std::filesystem::path& path) {
    return support::lowerExtension(path) == ".gz";
}

Result<std::string> ReadWhole(const std::filesystem::path& path) {
    auto file = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!file || !size) {
        return Error{ErrorCode::CannotOpenFile, path.string()};
    }
    return ReadRest(file.get(), *size);
}

// One file's contents: tar members, or the single file a gzip file holds.
support::Status Unpack(std::string_view bytes, const std::string& singleName,
                       const std::filesystem::path& folder, const ExtractionLimits& limits,
                       ExtractedFiles& extracted) {
    std::string inflated;
    if (IsGzip(bytes)) {
        const auto room = limits.maximumBytes - std::min(limits.maximumBytes, extracted.bytes);
        auto result = InflateGzip(bytes, room);
        if (!result) {
            return result.error();
        }
        inflated = std::move(result.value());
        if (!LooksLikeTar(inflated)) {
            const auto name = SafeMemberName(singleName);
            if (!name) {
                return Error{ErrorCode::FaultyArchiveFile, "no usable name for the contents"};
            }
            return ExtractSingleFile(*name, inflated, folder, limits, extracted);
        }
        bytes = inflated;
    }
    if (!LooksLikeTar(bytes)) {
        return Error{ErrorCode::FaultyArchiveFile, "neither tar nor gzip"};
    }
    return ExtractTarStream(bytes, folder, limits, extracted);
}

}  // namespace

Result<ExtractedFiles> Untar(const std::filesystem::path& archivePath,
                             const std::filesystem::path& folder, const ExtractionLimits& limits) {
    auto bytes = ReadWhole(archivePath);
    if (!bytes) {
        return bytes.error();
    }
    ExtractedFiles extracted;
    const auto stem =
        EndsWithGz(archivePath) ? archivePath.stem().string() : archivePath.filename().string();
    if (auto unpacked = Unpack(bytes.value(), stem, folder, limits, extracted); !unpacked) {
        return unpacked.error();
    }
    // A second pass over compressed members.
    const auto firstPass = extracted.files;
    for (const auto& member : firstPass) {
        if (!EndsWithGz(member)) {
            continue;
        }
        auto memberBytes = ReadWhole(member);
        if (!memberBytes) {
            return memberBytes.error();
        }
        if (!IsGzip(memberBytes.value())) {
            continue;
        }
        std::erase(extracted.files, member);
        std::error_code ignored;
        std::filesystem::remove(member, ignored);
        if (auto unpacked = Unpack(memberBytes.value(), member.stem().string(),
                                   member.parent_path(), limits, extracted);
            !unpacked) {
            return unpacked.error();
        }
    }
    return extracted;
}

}  // namespace tavrok::importers

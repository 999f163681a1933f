#include "importers/ArchiveExtractor.h"

#include <algorithm>

#include "importers/GzipInflate.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;

constexpr std::size_t tarBlockBytes = 512;

bool EndsWithGz(const std::filesystem::path& path) {
    return support::lowerExtension(path) == ".gz";
}

// The first bytes of a source, at most size of them.
Result<std::string> Head(ByteSource& source, std::size_t size) {
    std::string head(size, '\0');
    auto read = ReadFully(source, head.data(), size);
    if (!read) {
        return read.error();
    }
    head.resize(*read);
    return head;
}

// Inflated gzip data: tar members, or the single file the gzip file holds.
support::Status UnpackGzip(ByteSource& compressed, const std::string& singleName,
                           const std::filesystem::path& folder, const ExtractionLimits& limits,
                           ExtractedFiles& extracted) {
    const InflationLimits inflation{
        limits.maximumBytes - std::min(limits.maximumBytes, extracted.bytes), limits.ratioFreeBytes,
        limits.maximumRatio};
    GzipSource inflated(compressed, inflation);
    auto head = Head(inflated, tarBlockBytes);
    if (!head) {
        return head.error();
    }
    const bool tar = LooksLikeTar(head.value());
    RewoundSource contents(std::move(head.value()), inflated);
    if (tar) {
        return ExtractTarStream(contents, folder, limits, extracted);
    }
    const auto name = SafeMemberName(singleName);
    if (!name) {
        return Error{ErrorCode::FaultyArchiveFile, "no usable name for the contents"};
    }
    return ExtractSingleFile(*name, contents, folder, limits, extracted);
}

// One file's contents: tar members, or the single file a gzip file holds.
support::Status Unpack(ByteSource& source, const std::string& singleName,
                       const std::filesystem::path& folder, const ExtractionLimits& limits,
                       ExtractedFiles& extracted) {
    auto head = Head(source, tarBlockBytes);
    if (!head) {
        return head.error();
    }
    const bool gzip = IsGzip(head.value());
    const bool tar = !gzip && LooksLikeTar(head.value());
    RewoundSource contents(std::move(head.value()), source);
    if (gzip) {
        return UnpackGzip(contents, singleName, folder, limits, extracted);
    }
    if (!tar) {
        return Error{ErrorCode::FaultyArchiveFile, "neither tar nor gzip"};
    }
    return ExtractTarStream(contents, folder, limits, extracted);
}

bool IsGzipFile(const std::filesystem::path& file) {
    FileSource source(file);
    auto head = Head(source, 2);
    return head && IsGzip(head.value());
}

}  // namespace

Result<ExtractedFiles> Untar(const std::filesystem::path& archivePath,
                             const std::filesystem::path& folder, const ExtractionLimits& limits) {
    FileSource archive(archivePath);
    if (!archive.opened()) {
        return Error{ErrorCode::CannotOpenFile, archivePath.string()};
    }
    ExtractedFiles extracted;
    const auto stem =
        EndsWithGz(archivePath) ? archivePath.stem().string() : archivePath.filename().string();
    if (auto unpacked = Unpack(archive, stem, folder, limits, extracted); !unpacked) {
        return unpacked.error();
    }
    // A second pass over compressed members; what they hold is not unpacked again.
    const auto firstPass = extracted.files;
    for (const auto& member : firstPass) {
        if (!EndsWithGz(member) || !IsGzipFile(member)) {
            continue;
        }
        // Read from the open file once its name is gone, so that what it holds may reuse it.
        FileSource compressed(member);
        std::error_code error;
        const auto compressedBytes = std::filesystem::file_size(member, error);
        extracted.bytes -= std::min(extracted.bytes, error ? 0 : compressedBytes);
        std::filesystem::remove(member, error);
        std::erase(extracted.files, member);
        auto unpacked =
            Unpack(compressed, member.stem().string(), member.parent_path(), limits, extracted);
        if (!unpacked) {
            return unpacked.error();
        }
    }
    return extracted;
}

}  // namespace tavrok::importers

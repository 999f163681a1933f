#include "importers/LasReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "support/FileHandle.h"
#include "support/ParallelLoop.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr std::size_t legacyHeaderSize = 227;
constexpr std::size_t pointCount64At = 247;
constexpr std::size_t headerWith64BitCount = 255;
constexpr int highestPointFormat = 10;
// Shortest record of each point format 0 to 10.
constexpr std::array<int, 11> shortestRecord{20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67};
// Bytes the records of one section may take, whatever the record length.
constexpr std::size_t largestSectionBytes = 64u << 20;
// Bytes read from the file at once.
constexpr std::size_t readBytes = 4u << 20;

constexpr std::string_view projectionUser = "lasf_projection";
constexpr int geoKeyDirectoryRecord = 34735;
constexpr std::size_t recordIdAfterUser = 16;
constexpr std::size_t keyCountAfterUser = 58;
constexpr std::size_t keysAfterUser = 60;

template <typename T>
T readAt(std::string_view bytes, std::size_t at) {
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof(T));
    return value;
}

Error unreadable(std::string_view name, const std::string& why) {
    return Error{ErrorCode::CannotReadLasFile, why, std::string(name) + ": " + why};
}

std::size_t findProjectionUser(std::string_view bytes, std::size_t from) {
    const auto found =
        std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                    projectionUser.begin(), projectionUser.end(), [](char byte, char wanted) {
                        return std::tolower(static_cast<unsigned char>(byte)) == wanted;
                    });
    return found == bytes.end() ? std::string_view::npos
                                : static_cast<std::size_t>(found - bytes.begin());
}

void applyKey(LasGeoKeys& keys, int key, int location, int value) {
    const int used = location == 0 ? value : 0;
    switch (key) {
        case 1024:
            keys.modelType = used;
            break;
        case 1025:
            keys.rasterType = used;
            break;
        case 3072:
            keys.projectedSystem = used;
            break;
        case 3076:
            keys.linearUnits = used;
            break;
        default:
            break;
    }
}

// The keys of the first GeoKeyDirectory record among bytes; keys beyond the bytes are not read.
LasGeoKeys findGeoKeys(std::string_view bytes) {
    LasGeoKeys keys;
    for (std::size_t at = findProjectionUser(bytes, 0); at != std::string_view::npos;
         at = findProjectionUser(bytes, at + 1)) {
        if (at + keysAfterUser > bytes.size() ||
            readAt<std::uint16_t>(bytes, at + recordIdAfterUser) != geoKeyDirectoryRecord) {
            continue;
        }
        const std::size_t count = readAt<std::uint16_t>(bytes, at + keyCountAfterUser);
        const std::size_t available = (bytes.size() - at - keysAfterUser) / 8;
        for (std::size_t index = 0; index < std::min(count, available); ++index) {
            const std::size_t key = at + keysAfterUser + index * 8;
            applyKey(keys, readAt<std::uint16_t>(bytes, key), readAt<std::uint16_t>(bytes, key + 2),
                     readAt<std::uint16_t>(bytes, key + 6));
        }
        return keys;
    }
    return keys;
}

bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

support::Status checkLayout(const LasFileRecord& record, std::size_t headerSize,
                            std::uint64_t fileSize, std::string_view name) {
    if (record.pointOffset < headerSize || record.pointOffset > fileSize) {
        return unreadable(name, "the points are said to start at byte " +
                                    std::to_string(record.pointOffset) + ", outside the file");
    }
    if (record.recordLength < shortestRecord[static_cast<std::size_t>(record.pointFormat)]) {
        return unreadable(name, "records of " + std::to_string(record.recordLength) +
                                    " bytes are too short for point format " +
                                    std::to_string(record.pointFormat));
    }
    const std::uint64_t room = (fileSize - record.pointOffset) / record.recordLength;
    if (record.pointCount > room) {
        return unreadable(name, "the header promises " + std::to_string(record.pointCount) +
                                    " points but the file holds at most " + std::to_string(room));
    }
    if (!allFinite({record.scale[0], record.scale[1], record.scale[2], record.offset[0],
                    record.offset[1], record.offset[2], record.minX, record.maxX, record.minY,
                    record.maxY, record.minZ, record.maxZ})) {
        return unreadable(name, "the scales, offsets or extents are not numbers");
    }
    return support::success();
}

void readNumbers(std::string_view bytes, LasFileRecord& record) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        record.scale[axis] = readAt<double>(bytes, 131 + axis * 8);
        record.offset[axis] = readAt<double>(bytes, 155 + axis * 8);
    }
    record.maxX = readAt<double>(bytes, 179);
    record.minX = readAt<double>(bytes, 187);
    record.maxY = readAt<double>(bytes, 195);
    record.minY = readAt<double>(bytes, 203);
    record.maxZ = readAt<double>(bytes, 211);
    record.minZ = readAt<double>(bytes, 219);
}

support::Result<LasFileRecord> parse(std::string_view bytes, std::uint64_t fileSize,
                                     std::string_view name) {
    if (bytes.size() < legacyHeaderSize) {
        return unreadable(name, "shorter than a LAS header");
    }
    if (bytes.substr(0, 4) != "LASF") {
        return unreadable(name, "not a LAS file (no \"LASF\" signature)");
    }
    LasFileRecord record;
    const int major = static_cast<unsigned char>(bytes[24]);
    record.versionMinor = static_cast<unsigned char>(bytes[25]);
    if (major != 1 || record.versionMinor > 4) {
        return unreadable(name, "LAS version " + std::to_string(major) + "." +
                                    std::to_string(record.versionMinor) + " is not read");
    }
    const std::size_t headerSize = readAt<std::uint16_t>(bytes, 94);
    record.pointOffset = readAt<std::uint32_t>(bytes, 96);
    const int formatByte = static_cast<unsigned char>(bytes[104]);
    if ((formatByte & 0xc0) != 0) {
        return unreadable(name, "its points are compressed (LAZ)");
    }
    record.pointFormat = formatByte;
    if (record.pointFormat > highestPointFormat || headerSize < legacyHeaderSize) {
        return unreadable(name, "point format " + std::to_string(record.pointFormat) +
                                    " or header size " + std::to_string(headerSize) +
                                    " is not read");
    }
    record.recordLength = readAt<std::uint16_t>(bytes, 105);
    record.pointCount = readAt<std::uint32_t>(bytes, 107);
    if (record.pointCount == 0 && record.versionMinor >= 4 && headerSize >= headerWith64BitCount &&
        bytes.size() >= headerWith64BitCount) {
        record.pointCount = readAt<std::uint64_t>(bytes, pointCount64At);
    }
    readNumbers(bytes, record);
    if (auto layout = checkLayout(record, headerSize, fileSize, name); !layout) {
        return layout.error();
    }
    record.keys =
        findGeoKeys(bytes.substr(0, std::min<std::uint64_t>(bytes.size(), record.pointOffset)));
    return record;
}

std::size_t bareEarthClassAt(int pointFormat) {
    return pointFormat >= 6 ? 16 : 15;
}

std::size_t recordsPerSection(const LasFileRecord& record, std::size_t sectionRecords) {
    const std::size_t bounded = largestSectionBytes / static_cast<std::size_t>(record.recordLength);
    return std::max<std::size_t>(1, std::min(sectionRecords, bounded));
}

}  // namespace

support::Result<LasFileRecord> ParseLasHeader(std::string_view bytes, std::uint64_t fileSize) {
    return parse(bytes, fileSize, "LAS file");
}

support::Result<LasFileRecord> ReadLasHeader(const std::filesystem::path& file) {
    auto handle = support::openForReading(file);
    const auto size = support::fileSizeOf(file);
    if (!handle || !size) {
        return support::unreadable(ErrorCode::CannotOpenLasFile, file);
    }
    std::string bytes(legacyHeaderSize, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), handle.get()));
    if (bytes.size() == legacyHeaderSize) {
        // The variable-length records run up to the points; a bad offset reads what exists.
        const std::uint64_t offset = readAt<std::uint32_t>(bytes, 96);
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(offset, *size));
        if (wanted > bytes.size()) {
            const std::size_t had = bytes.size();
            bytes.resize(wanted);
            bytes.resize(had + std::fread(bytes.data() + had, 1, wanted - had, handle.get()));
        }
    }
    auto record = parse(bytes, *size, file.filename().string());
    if (record) {
        record->path = file;
    }
    return record;
}

namespace {

// Where a point format keeps what the reader needs beside the coordinates.
struct RecordLayout {
    std::size_t length;
    unsigned char withheldBit;
    std::size_t classAt;
    unsigned char classMask;
    std::array<double, 3> scale;
    std::array<double, 3> offset;
};

RecordLayout layoutOf(const LasFileRecord& record) {
    const bool extended = record.pointFormat >= 6;
    return RecordLayout{static_cast<std::size_t>(record.recordLength),
                        static_cast<unsigned char>(extended ? 0x04 : 0x80),
                        bareEarthClassAt(record.pointFormat),
                        static_cast<unsigned char>(extended ? 0xff : 0x1f),
                        record.scale,
                        record.offset};
}

// Decodes the whole records of bytes into points, leaving out withheld ones; returns how many
// points it wrote.
std::size_t decodeInto(std::string_view bytes, const RecordLayout& layout, CloudPoint* points) {
    std::size_t written = 0;
    for (std::size_t at = 0; at + layout.length <= bytes.size(); at += layout.length) {
        const char* record = bytes.data() + at;
        if ((static_cast<unsigned char>(record[15]) & layout.withheldBit) != 0) {
            continue;
        }
        std::int32_t position[3];
        std::memcpy(position, record, sizeof(position));
        const auto classByte = static_cast<unsigned char>(record[layout.classAt]);
        points[written++] = CloudPoint{position[0] * layout.scale[0] + layout.offset[0],
                                       position[1] * layout.scale[1] + layout.offset[1],
                                       position[2] * layout.scale[2] + layout.offset[2],
                                       (classByte & layout.classMask) == 2};
    }
    return written;
}

// The section's records decoded on every core, each thread taking a share of whole records;
// the shares are then moved together. Returns the number of points.
std::size_t decodeSection(std::string_view bytes, const LasFileRecord& record, CloudPoint* points) {
    const RecordLayout layout = layoutOf(record);
    const auto records = static_cast<long>(bytes.size() / layout.length);
    const int threads = support::defaultThreadCount();
    // Each share's first record and the points it wrote; shares the loop does not use write none.
    std::vector<std::pair<std::size_t, std::size_t>> shares(static_cast<std::size_t>(threads));
    support::parallelParts(0, records, threads, [&](int part, long first, long last) {
        const auto from = static_cast<std::size_t>(first);
        const auto count = static_cast<std::size_t>(last - first);
        shares[static_cast<std::size_t>(part)] = {
            from, decodeInto(bytes.substr(from * layout.length, count * layout.length), layout,
                             points + from)};
    });
    std::size_t total = 0;
    for (const auto& [from, written] : shares) {
        if (written > 0 && from != total) {
            std::memmove(points + total, points + from, written * sizeof(CloudPoint));
        }
        total += written;
    }
    return total;
}

}  // namespace

void DecodeLasRecords(std::string_view records, const LasFileRecord& record,
                      std::vector<CloudPoint>& points) {
    const std::size_t had = points.size();
    points.resize(had + records.size() / static_cast<std::size_t>(record.recordLength));
    points.resize(had + decodeInto(records, layoutOf(record), points.data() + had));
}

std::uint64_t lasSectionCount(const LasFileRecord& record, std::size_t sectionRecords) {
    const std::uint64_t perSection = recordsPerSection(record, sectionRecords);
    return (record.pointCount + perSection - 1) / perSection;
}

support::Status ForEachLasSection(const LasFileRecord& record, const LasSectionTaker& take,
                                  std::size_t sectionRecords) {
    auto handle = support::openForReading(record.path);
    if (!handle) {
        return support::unreadable(ErrorCode::CannotOpenLasFile, record.path);
    }
    const std::string name = record.path.filename().string();
    if (std::fseek(handle.get(), static_cast<long>(record.pointOffset), SEEK_SET) != 0) {
        return unreadable(name, "cannot reach the points");
    }
    const std::size_t perSection = recordsPerSection(record, sectionRecords);
    const auto length = static_cast<std::size_t>(record.recordLength);
    const auto capacity =
        static_cast<std::size_t>(std::min<std::uint64_t>(record.pointCount, perSection));
    // A section is read a few megabytes at a time, each read decoded on every core. Both
    // buffers are left uninitialised: every byte and point is written before it is read.
    const std::size_t perRead = std::max<std::size_t>(1, std::min(readBytes / length, capacity));
    const auto buffer = std::make_unique_for_overwrite<char[]>(perRead * length);
    const auto points = std::make_unique_for_overwrite<CloudPoint[]>(capacity);
    std::uint64_t left = record.pointCount;
    for (std::uint64_t index = 0; left > 0; ++index) {
        const auto records = static_cast<std::size_t>(std::min<std::uint64_t>(left, perSection));
        std::size_t decoded = 0;
        for (std::size_t done = 0; done < records; done += perRead) {
            const std::string_view bytes(buffer.get(), std::min(perRead, records - done) * length);
            if (std::fread(buffer.get(), 1, bytes.size(), handle.get()) != bytes.size()) {
                return unreadable(name, "the file ends before its last point");
            }
            decoded += decodeSection(bytes, record, points.get() + decoded);
        }
        if (!take(std::span<const CloudPoint>(points.get(), decoded), index)) {
            return Error{ErrorCode::OperationCancelled, "stopped"};
        }
        left -= records;
    }
    return support::success();
}

}  // namespace tavrok::importers

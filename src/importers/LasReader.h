#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tavrok::importers {

// The GeoTIFF keys of a LAS file's projection record; 0 where the file has none.
struct LasGeoKeys {
    int modelType = 0;
    int rasterType = 0;
    int projectedSystem = 0;
    int linearUnits = 0;

    bool operator==(const LasGeoKeys&) const = default;
};

// What the public header of one LAS file says, checked against the file's size.
struct LasFileRecord {
    std::filesystem::path path;
    int versionMinor = 0;
    std::uint64_t pointOffset = 0;
    int pointFormat = 0;
    int recordLength = 0;
    std::uint64_t pointCount = 0;
    std::array<double, 3> scale{};
    std::array<double, 3> offset{};
    double maxX = 0;
    double minX = 0;
    double maxY = 0;
    double minY = 0;
    double maxZ = 0;
    double minZ = 0;
    LasGeoKeys keys;
};

// One point as the gridding uses it: coordinates scaled and offset, and whether it is ground
// (ASPRS class 2).
struct CloudPoint {
    double x;
    double y;
    double z;
    bool bareEarth;
};

// Records read at once: sections bound the memory a file of any size needs.
inline constexpr std::size_t lasSectionRecords = 1000000;

// Reads the header and the variable-length records of bytes (everything before the points, or
// as much of the file as exists) from a file of fileSize bytes. Versions 1.0 to 1.4 and point
// formats 0 to 10 are read; the record length is the header's (records may carry extra bytes),
// and a 1.4 file whose 32-bit count is 0 gives its 64-bit count. Fails with CannotReadLasFile,
// the cause saying what is wrong, for anything else and for points that would run past the
// file's end.
support::Result<LasFileRecord> ParseLasHeader(std::string_view bytes, std::uint64_t fileSize);

// The same for a file: CannotOpenLasFile when it cannot be opened.
support::Result<LasFileRecord> ReadLasHeader(const std::filesystem::path& file);

// Appends the points of whole records to points; withheld points are left out.
void DecodeLasRecords(std::string_view records, const LasFileRecord& record,
                      std::vector<CloudPoint>& points);

// Number of sections of at most sectionRecords records the file's points fill.
std::uint64_t lasSectionCount(const LasFileRecord& record,
                              std::size_t sectionRecords = lasSectionRecords);

// Hands the file's points to take section by section (the index counts from 0), reading exactly
// the header's count of records. take returns false to stop: OperationCancelled. A read that
// comes short fails with CannotReadLasFile.
using LasSectionTaker =
    std::function<bool(std::span<const CloudPoint> points, std::uint64_t index)>;
support::Status ForEachLasSection(const LasFileRecord& record, const LasSectionTaker& take,
                                  std::size_t sectionRecords = lasSectionRecords);

}  // namespace tavrok::importers

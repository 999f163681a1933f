#include "LasFixtures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tavrok::test {

namespace {

constexpr std::array<int, 11> recordLengths{20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67};

template <typename T>
void put(std::string& bytes, std::size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof(T));
}

std::string projectionRecord(int code) {
    // Record header (54 bytes) and a key directory of three keys.
    std::string record(54 + 8 + 3 * 8, '\0');
    std::memcpy(record.data() + 2, "LASF_Projection", 15);
    put<std::uint16_t>(record, 18, 34735);
    put<std::uint16_t>(record, 20, static_cast<std::uint16_t>(record.size() - 54));
    const std::uint16_t directory[] = {1,    1, 0, 3, 1024, 0, 1, 1,
                                       1025, 0, 1, 1, 3072, 0, 1, static_cast<std::uint16_t>(code)};
    std::memcpy(record.data() + 54, directory, sizeof(directory));
    return record;
}

void putPoint(std::string& record, const LasTestPoint& point, const LasTestLayout& layout,
              const std::array<double, 3>& offsets) {
    put<std::int32_t>(
        record, 0, static_cast<std::int32_t>(std::lround((point.x - offsets[0]) / layout.scale)));
    put<std::int32_t>(
        record, 4, static_cast<std::int32_t>(std::lround((point.y - offsets[1]) / layout.scale)));
    put<std::int32_t>(
        record, 8, static_cast<std::int32_t>(std::lround((point.z - offsets[2]) / layout.scale)));
    if (layout.pointFormat >= 6) {
        record[14] = 0x11;
        record[15] = static_cast<char>(point.withheld ? 0x04 : 0);
        record[16] = static_cast<char>(point.classification);
    } else {
        record[14] = 0x09;
        record[15] = static_cast<char>(point.classification | (point.withheld ? 0x80 : 0));
    }
}

}  // namespace

std::string lasFileBytes(const std::vector<LasTestPoint>& points, const LasTestLayout& layout) {
    const std::size_t headerSize = layout.versionMinor >= 4   ? 375
                                   : layout.versionMinor == 3 ? 235
                                                              : 227;
    const std::string projection =
        layout.projectedSystem ? projectionRecord(layout.projectedSystem) : "";
    const std::size_t offset = headerSize + projection.size();
    const int length =
        recordLengths[static_cast<std::size_t>(layout.pointFormat)] + layout.extraBytes;
    std::string bytes(offset + points.size() * static_cast<std::size_t>(length), '\0');
    std::memcpy(bytes.data(), "LASF", 4);
    bytes[24] = 1;
    bytes[25] = static_cast<char>(layout.versionMinor);
    put<std::uint16_t>(bytes, 94, static_cast<std::uint16_t>(headerSize));
    put<std::uint32_t>(bytes, 96, static_cast<std::uint32_t>(offset));
    put<std::uint32_t>(bytes, 100, projection.empty() ? 0 : 1);
    bytes[104] = static_cast<char>(layout.pointFormat);
    put<std::uint16_t>(bytes, 105, static_cast<std::uint16_t>(length));
    put<std::uint32_t>(bytes, 107,
                       layout.onlyWideCount ? 0 : static_cast<std::uint32_t>(points.size()));
    if (layout.versionMinor >= 4) {
        put<std::uint64_t>(bytes, 247, points.size());
    }
    std::array<double, 3> low{1e300, 1e300, 1e300};
    for (const auto& point : points) {
        low = {std::min(low[0], point.x), std::min(low[1], point.y), std::min(low[2], point.z)};
    }
    const std::array<double, 3> offsets = points.empty() ? std::array<double, 3>{} : low;
    // The extents are those of the coordinates as stored, after rounding to the scale.
    std::array<double, 3> high{-1e300, -1e300, -1e300};
    for (const auto& point : points) {
        const std::array<double, 3> xyz{point.x, point.y, point.z};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const double stored =
                std::lround((xyz[axis] - offsets[axis]) / layout.scale) * layout.scale +
                offsets[axis];
            high[axis] = std::max(high[axis], stored);
        }
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
        put<double>(bytes, 131 + axis * 8, layout.scale);
        put<double>(bytes, 155 + axis * 8, offsets[axis]);
        put<double>(bytes, 179 + axis * 16, points.empty() ? 0.0 : high[axis]);
        put<double>(bytes, 187 + axis * 16, points.empty() ? 0.0 : low[axis]);
    }
    std::memcpy(bytes.data() + headerSize, projection.data(), projection.size());
    for (std::size_t index = 0; index < points.size(); ++index) {
        std::string record(static_cast<std::size_t>(length), '\0');
        putPoint(record, points[index], layout, offsets);
        std::memcpy(bytes.data() + offset + index * static_cast<std::size_t>(length), record.data(),
                    record.size());
    }
    return bytes;
}

}  // namespace tavrok::test

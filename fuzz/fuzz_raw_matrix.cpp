// Describes a small headerless grid with the first bytes of the input and builds a terrain
// from the rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "importers/RawMatrixBuilder.h"

namespace {

using tavrok::importers::RawMatrixDescription;

constexpr std::size_t descriptionBytes = 12;

const std::filesystem::path& ScratchFile() {
    static const std::filesystem::path file = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_raw_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data())) / "grid.raw";
    }();
    return file;
}

// A corner moved up to ±32767 units (or hundredths of a degree) from a sensible place.
double Corner(double base, const std::uint8_t* bytes, double unit) {
    return base + static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8)) * unit;
}

RawMatrixDescription DescriptionFrom(const std::uint8_t* bytes) {
    using namespace tavrok::importers;
    using tavrok::terrain::ProjectionKind;
    RawMatrixDescription description;
    description.encoding = static_cast<RawSampleEncoding>(bytes[0] % 3);
    description.byteOrder = (bytes[1] & 1) ? RawByteOrder::BigEndian : RawByteOrder::LittleEndian;
    description.rowOrder = (bytes[1] & 2) ? RawRowOrder::NorthToSouth : RawRowOrder::SouthToNorth;
    description.columnOrder =
        (bytes[1] & 4) ? RawColumnOrder::EastToWest : RawColumnOrder::WestToEast;
    description.dataType =
        (bytes[1] & 8) ? tavrok::terrain::DataType::Depth : tavrok::terrain::DataType::Height;
    description.horizontalUnit = static_cast<RawHorizontalUnit>((bytes[1] >> 4) % 3);
    const ProjectionKind systems[] = {ProjectionKind::UTM, ProjectionKind::LatLon,
                                      ProjectionKind::XY};
    description.coordinateSystem = systems[bytes[2] % 3];
    const char* zones[] = {"13N", "1S", "60", "61", "", "7 S", "0", "13x"};
    description.zoneText = zones[(bytes[2] >> 2) % 8];
    description.ellipsoidText = (bytes[2] & 0x80) ? "NAD83" : "Clarke";
    description.rows = bytes[3] % 18;
    description.columns = bytes[4] % 18;
    description.offsetBytes = bytes[5] % 16;
    const int missingValues[] = {-9999, 0, -32768, -150, 32767, -1};
    description.missingValue = missingValues[bytes[6] % 6];
    const bool degrees = description.coordinateSystem == ProjectionKind::LatLon;
    const double unit = degrees ? 0.01 : 1.0;
    description.west = Corner(degrees ? 10 : 500000, bytes + 7, unit);
    description.south = Corner(degrees ? 45 : 4400000, bytes + 9, unit);
    description.east = description.west + (bytes[11] + 1) * unit;
    description.north = description.south + (bytes[11] % 7 + 1) * unit * 3;
    return description;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < descriptionBytes + 1) {
        return 0;
    }
    auto description = DescriptionFrom(data);
    if (!description.accept()) {
        return 0;
    }
    const bool temporaryInput = data[descriptionBytes] & 1;
    {
        std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + descriptionBytes + 1),
                  static_cast<std::streamsize>(size - descriptionBytes - 1));
    }
    tavrok::importers::BuildRawMatrix(ScratchFile(), description, temporaryInput, {});
    return 0;
}

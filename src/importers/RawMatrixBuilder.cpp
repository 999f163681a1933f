#include "importers/RawMatrixBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "geodesy/Ellipsoid.h"
#include "importers/GeographicScale.h"
#include "importers/MatrixSamples.h"
#include "support/TemporaryFiles.h"
#include "support/Units.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

constexpr float lowestValidSample = -32767.0f;  // samples must lie above this
using support::metresPerFoot;
constexpr float minimumStart = 1000000.0f;
constexpr float maximumStart = -1000000.0f;
// Values other importers write into temporary grids where they had nothing to say.
constexpr std::array<float, 3> placeholderValues{-150.0f, -250.0f, -350.0f};

bool FileIsBigEndian(const RawMatrixDescription& description) {
    return description.byteOrder == RawByteOrder::BigEndian;
}

bool NeedsByteSwap(const RawMatrixDescription& description) {
    return FileIsBigEndian(description) != (std::endian::native == std::endian::big);
}

std::size_t BytesPerSample(RawSampleEncoding encoding) {
    return encoding == RawSampleEncoding::Int16     ? 2
           : encoding == RawSampleEncoding::Float32 ? 4
                                                    : 0;
}

support::Status CheckSampleCount(const RawMatrixDescription& description, std::uint64_t fileSize) {
    const auto samples = static_cast<std::uint64_t>(description.rows) * description.columns;
    const auto offset = static_cast<std::uint64_t>(description.offsetBytes);
    const auto available = fileSize > offset ? fileSize - offset : 0;
    const auto bytesPerSample = BytesPerSample(description.encoding);
    const bool enough = bytesPerSample == 0 ? available >= FewestAsciiBytes(samples)
                                            : available / bytesPerSample >= samples;
    if (!enough) {
        return Error{ErrorCode::ImproperRowsOrColumns, "file holds too few samples"};
    }
    return support::success();
}

support::Status ReadInt16(std::FILE* file, const RawMatrixDescription& description,
                          terrain::TerrainModel& grid) {
    std::vector<std::uint16_t> samples;
    try {
        samples.resize(grid.cells().size());
    } catch (const std::bad_alloc&) {
        return Error{ErrorCode::NotEnoughMemory, "int16 buffer"};
    }
    if (!ReadExactly(file, samples.data(), samples.size() * sizeof(std::uint16_t))) {
        return Error{ErrorCode::CannotOpenMatrix, "short int16 read"};
    }
    if (NeedsByteSwap(description)) {
        ReverseBytes(samples);
    }
    std::transform(samples.begin(), samples.end(), grid.cells().begin(),
                   [](std::uint16_t bits) { return static_cast<std::int16_t>(bits); });
    return support::success();
}

support::Status ReadFloat32(std::FILE* file, const RawMatrixDescription& description,
                            terrain::TerrainModel& grid) {
    auto cells = grid.cells();
    if (!ReadExactly(file, cells.data(), cells.size_bytes())) {
        return Error{ErrorCode::CannotOpenMatrix, "short float32 read"};
    }
    if (NeedsByteSwap(description)) {
        ReverseBytes(std::span(reinterpret_cast<std::uint32_t*>(cells.data()), cells.size()));
    }
    return support::success();
}

// ASCII samples are whole 16-bit numbers: fractions are cut off and larger values wrap.
float AsciiSample(double value) {
    if (!std::isfinite(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const double bounded = std::clamp(std::trunc(value), -9.0e18, 9.0e18);
    return static_cast<std::int16_t>(static_cast<std::int64_t>(bounded));
}

support::Status ReadAscii(std::FILE* file, std::uint64_t bytes, terrain::TerrainModel& grid) {
    auto text = ReadRest(file, bytes);
    if (!text) {
        return text.error();
    }
    auto cells = grid.cells();
    const auto stored =
        ParseDecimals(text.value(), cells.size(),
                      [&](std::size_t index, double value) { cells[index] = AsciiSample(value); });
    if (stored != cells.size()) {
        return Error{ErrorCode::ImproperRowsOrColumns, "too few numbers in the ASCII matrix"};
    }
    return support::success();
}

// Rows and columns were read in file order; turn them so that row 0 is south, column 0 west.
void Orient(terrain::TerrainModel& grid, const RawMatrixDescription& description) {
    if (description.rowOrder == RawRowOrder::NorthToSouth) {
        for (int row = 0; row < grid.rows() / 2; ++row) {
            std::swap_ranges(grid.row(row).begin(), grid.row(row).end(),
                             grid.row(grid.rows() - 1 - row).begin());
        }
    }
    if (description.columnOrder == RawColumnOrder::EastToWest) {
        for (int row = 0; row < grid.rows(); ++row) {
            std::reverse(grid.row(row).begin(), grid.row(row).end());
        }
    }
}

Result<terrain::TerrainModel> ReadGrid(const std::filesystem::path& path,
                                       const RawMatrixDescription& description) {
    const bool ascii = description.encoding == RawSampleEncoding::Ascii;
    const auto openError = ascii ? ErrorCode::CannotOpenAsciiMatrix : ErrorCode::CannotOpenMatrix;
    auto file = support::openForReading(path);
    const auto fileSize = support::fileSizeOf(path);
    if (!file || !fileSize) {
        return support::unreadable(openError, path);
    }
    if (auto enough = CheckSampleCount(description, *fileSize); !enough) {
        return enough.error();
    }
    if (fseeko(file.get(), static_cast<off_t>(description.offsetBytes), SEEK_SET) != 0) {
        return Error{openError, "cannot skip the offset"};
    }
    // Every cell is read from the file, so the grid is not cleared beforehand.
    auto grid = terrain::TerrainModel::createUninitialised(description.rows, description.columns);
    if (!grid) {
        return grid.error();
    }
    support::Status read = support::success();
    switch (description.encoding) {
        case RawSampleEncoding::Int16:
            read = ReadInt16(file.get(), description, grid.value());
            break;
        case RawSampleEncoding::Float32:
            read = ReadFloat32(file.get(), description, grid.value());
            break;
        case RawSampleEncoding::Ascii:
            read = ReadAscii(file.get(), *fileSize - description.offsetBytes, grid.value());
            break;
    }
    if (!read) {
        return read.error();
    }
    Orient(grid.value(), description);
    return grid;
}

struct SampleRange {
    float minimum = minimumStart;
    float maximum = maximumStart;
    float missingValue = 0;
    // A second missing value: the placeholder that turned out to be the minimum.
    float placeholder = std::numeric_limits<float>::quiet_NaN();

    bool valid(float sample) const {
        return std::isfinite(sample) && sample != missingValue && sample != placeholder &&
               sample > lowestValidSample;
    }
};

bool IsPlaceholder(float sample) {
    return std::find(placeholderValues.begin(), placeholderValues.end(), sample) !=
           placeholderValues.end();
}

SampleRange FindRange(const terrain::TerrainModel& grid, float missingValue, bool temporaryInput) {
    SampleRange range;
    range.missingValue = missingValue;
    float minimumWithoutPlaceholders = minimumStart;
    for (const float sample : grid.cells()) {
        if (!range.valid(sample)) {
            continue;
        }
        range.minimum = std::min(range.minimum, sample);
        range.maximum = std::max(range.maximum, sample);
        if (!IsPlaceholder(sample)) {
            minimumWithoutPlaceholders = std::min(minimumWithoutPlaceholders, sample);
        }
    }
    if (temporaryInput && IsPlaceholder(range.minimum)) {
        range.placeholder = range.minimum;
        range.minimum = minimumWithoutPlaceholders;
    }
    return range;
}

// Heights above the minimum (never below it), depths below the maximum; missing cells -1.
// Returns how many cells are missing.
Result<long> StoreRelative(terrain::TerrainModel& grid, const SampleRange& range,
                           terrain::DataType dataType, const support::ProgressCallback& progress) {
    const bool depth = dataType == terrain::DataType::Depth;
    long missing = 0;
    for (int row = 0; row < grid.rows(); ++row) {
        for (float& sample : grid.row(row)) {
            if (!range.valid(sample)) {
                sample = terrain::missingCell;
                ++missing;
            } else if (depth) {
                sample = range.maximum - sample;
            } else {
                sample = std::max(0.0f, sample - range.minimum);
            }
        }
        if (!support::reportProgress(progress, row + 1, grid.rows())) {
            return Error{ErrorCode::OperationCancelled, "raw matrix"};
        }
    }
    return missing;
}

void DescribeUtm(const RawMatrixDescription& description, terrain::TerrainHeader& header) {
    header.ellipsoid = description.ellipsoid();
    header.ellipsoidCode = geodesy::datumCodeFor(description.ellipsoid());
    header.hemisphere = description.hemisphere();
    header.utmZone = description.zone();
    header.zoneText = std::to_string(description.zone()) + description.hemisphere();
}

support::Status DescribeGeometry(const RawMatrixDescription& description,
                                 terrain::TerrainHeader& header) {
    const double columnGaps = description.columns - 1;
    const double rowGaps = description.rows - 1;
    double spacingX = 0;
    double spacingY = 0;
    double scale = 0;
    if (description.coordinateSystem == ProjectionKind::LatLon) {
        spacingX = (description.east - description.west) * arcSecondsPerDegree / columnGaps;
        spacingY = (description.north - description.south) * arcSecondsPerDegree / rowGaps;
        scale = MetresPerArcSecondOfLongitude(description.south +
                                              (description.north - description.south) / 2);
    } else {
        spacingX =
            (static_cast<double>(description.eastWhole()) - description.westWhole()) / columnGaps;
        spacingY =
            (static_cast<double>(description.northWhole()) - description.southWhole()) / rowGaps;
        scale = description.horizontalUnit == RawHorizontalUnit::Meters ? 1.0 : metresPerFoot;
    }
    header.spacingX = static_cast<float>(spacingX);
    header.spacingY = static_cast<float>(spacingY);
    header.metresPerUnitX = static_cast<float>(scale);
    if (!(header.metresPerUnitX != 0 && header.spacingX != 0)) {
        return Error{ErrorCode::IncorrectValues, "zero spacing or scale"};
    }
    return support::success();
}

Result<terrain::TerrainHeader> HeaderFor(const RawMatrixDescription& description,
                                         const SampleRange& range) {
    terrain::TerrainHeader header;
    header.rows = description.rows;
    header.columns = description.columns;
    header.projection = description.coordinateSystem;
    const bool geographic = description.coordinateSystem == ProjectionKind::LatLon;
    header.gridKind = description.coordinateSystem == ProjectionKind::XY ? terrain::gridKindMatrix
                                                                         : terrain::gridKindDem;
    header.coordinateType =
        geographic ? terrain::coordinateTypeGeographic : terrain::coordinateTypeUtm;
    if (description.coordinateSystem == ProjectionKind::UTM) {
        DescribeUtm(description, header);
    }
    header.westBound = header.originX = description.westWhole();
    header.southBound = header.originY = description.southWhole();
    header.eastBound = header.maxX = description.eastWhole();
    header.northBound = header.maxY = description.northWhole();
    header.westLon = static_cast<float>(description.westLongitude());
    header.southLat = static_cast<float>(description.southLatitude());
    header.eastLon = static_cast<float>(description.eastLongitude());
    header.northLat = static_cast<float>(description.northLatitude());
    if (auto geometry = DescribeGeometry(description, header); !geometry) {
        return geometry.error();
    }
    header.elevationUnit = description.verticalUnit;
    header.verticalUnitFactor =
        description.verticalUnit == terrain::ElevationUnit::Feet ? metresPerFoot : 1.0f;
    header.dataType = description.dataType;
    const bool depth = description.dataType == terrain::DataType::Depth;
    header.minElevation = depth ? -range.maximum : range.minimum;
    header.maxElevation = depth ? -range.minimum : range.maximum;
    header.missingFlag = description.missingValue;
    return header;
}

}  // namespace

bool ApplyNetCdfPreset(const std::filesystem::path& path, RawMatrixDescription& description) {
    auto file = support::openForReading(path);
    std::array<unsigned char, 4> magic{};
    if (!file || !ReadExactly(file.get(), magic.data(), magic.size()) ||
        magic != std::array<unsigned char, 4>{'C', 'D', 'F', 1}) {
        return false;
    }
    description.encoding = RawSampleEncoding::Float32;
    description.byteOrder = RawByteOrder::BigEndian;
    description.coordinateSystem = ProjectionKind::LatLon;
    description.dataType = terrain::DataType::Depth;
    return true;
}

support::Result<LoadedTerrain> BuildRawMatrix(const std::filesystem::path& path,
                                              const RawMatrixDescription& description,
                                              bool temporaryInput,
                                              const support::ProgressCallback& progress) {
    support::TemporaryFiles input;
    if (temporaryInput) {
        input.add(path);
    }
    if (!description.accepted()) {
        return Error{ErrorCode::IncorrectValues, "description not accepted"};
    }
    try {
        auto grid = ReadGrid(path, description);
        if (!grid) {
            return grid.error();
        }
        const auto range =
            FindRange(grid.value(), static_cast<float>(description.missingValue), temporaryInput);
        auto header = HeaderFor(description, range);
        if (!header) {
            return header.error();
        }
        auto missing = StoreRelative(grid.value(), range, description.dataType, progress);
        if (!missing) {
            return missing.error();
        }
        header->missingCells = missing.value();
        return LoadedTerrain{std::move(grid.value()), std::move(header.value())};
    } catch (const std::bad_alloc&) {
        return Error{ErrorCode::NotEnoughMemory, "raw matrix"};
    }
}

}  // namespace tavrok::importers

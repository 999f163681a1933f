#include "importers/SrtmImporter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "importers/GeographicScale.h"
#include "importers/MatrixSamples.h"
#include "importers/MergeCore.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::ErrorCode;
using terrain::TerrainModel;

constexpr std::uint64_t hgtBytes3Arc = 2884802;   // 1201 x 1201 samples
constexpr std::uint64_t hgtBytes1Arc = 25934402;  // 3601 x 3601 samples
constexpr float voidCell = -1.0f;
constexpr int hgtVoid = -32768;
constexpr int bilUsgsVoid = -32767;
constexpr std::size_t hdrValueReach = 64;  // characters searched after a key for its value
constexpr int largestBilSide = 1000000;    // rows or columns a ".hdr" may give
// Tile names give the south-west corner in whole degrees.
constexpr int highestTileLatitude = 89;
constexpr int highestTileLongitude = 180;
constexpr int noCorner = 9999;  // a name without the coordinate: refused as out of range

using support::lowerCase;

bool isBil(const std::filesystem::path& path) {
    return support::lowerExtension(path) == ".bil";
}

// The integer after `key` (lower case) in a lowered ".hdr" text; 0 when the key is absent;
// empty when the key's value runs past the end of the text.
std::optional<int> hdrInteger(const std::string& lowered, std::string_view key) {
    const auto at = lowered.find(key);
    if (at == std::string::npos) {
        return 0;
    }
    std::size_t position = at + key.size();
    const std::size_t reach = std::min(lowered.size(), position + hdrValueReach);
    while (position < reach && (lowered[position] == ' ' || lowered[position] == '\t')) {
        ++position;
    }
    int value = 0;
    const auto [next, status] =
        std::from_chars(lowered.data() + position, lowered.data() + reach, value);
    if (status != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

support::Result<std::string> readTextFile(const std::filesystem::path& path) {
    const auto handle = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!handle || !size || *size > (1u << 20)) {
        const auto problem = support::readProblem(path);
        return support::Error{ErrorCode::SilentFailure, "no usable side file " + path.string(),
                              problem.empty() ? path.string() + ": larger than 1 MiB" : problem};
    }
    return ReadRest(handle.get(), *size);
}

struct BilLayout {
    int rows = 0;
    int columns = 0;
    double lower = 0, upper = 0, left = 0, right = 0;
};

support::Result<BilLayout> readBilSideFiles(const std::filesystem::path& path) {
    const auto headerPath = std::filesystem::path(path).replace_extension(".hdr");
    const auto worldPath = std::filesystem::path(path).replace_extension(".blw");
    auto header = readTextFile(headerPath);
    if (!header) {
        return header.error();
    }
    auto world = readTextFile(worldPath);
    if (!world) {
        return world.error();
    }
    const std::string lowered = lowerCase(*header);
    const auto rows = hdrInteger(lowered, "nrows");
    const auto columns = hdrInteger(lowered, "ncols");
    if (!rows || !columns) {
        return support::Error{ErrorCode::SilentFailure, "header value runs past the end",
                              headerPath.string() + ": NROWS or NCOLS has no usable value"};
    }
    // Refused before any arithmetic on them: one row or column leaves the spacing undefined,
    // and a side of more than a million samples is no elevation tile.
    for (const auto& [key, count] : {std::pair{"NROWS", *rows}, std::pair{"NCOLS", *columns}}) {
        if (count < 2 || count > largestBilSide) {
            return support::Error{ErrorCode::ImproperRowsOrColumns,
                                  std::string(key) + " " + std::to_string(count)};
        }
    }
    double numbers[6] = {};
    if (ParseDecimals(*world, 6, [&](std::size_t i, double v) { numbers[i] = v; }) != 6) {
        return support::Error{ErrorCode::SilentFailure, "world file holds fewer than 6 numbers",
                              worldPath.string() + ": fewer than 6 numbers"};
    }
    // Non-square pixels are placed with the x pixel size in both directions.
    const double pixel = numbers[0];
    BilLayout layout{*rows, *columns};
    layout.upper = numbers[5];
    layout.left = numbers[4];
    layout.lower = layout.upper - (layout.rows - 1) * pixel;
    layout.right = layout.left + (layout.columns - 1) * pixel;
    const bool usable = layout.lower < layout.upper && layout.lower >= -90 && layout.lower <= 90 &&
                        layout.left < layout.right && layout.right >= -180 && layout.right <= 180;
    if (!usable) {
        return support::Error{ErrorCode::SilentFailure, "bounds out of range",
                              worldPath.string() + ": the grid's corners lie off the globe"};
    }
    return layout;
}

bool isVoid(int sample, bool bil) {
    return sample == hgtVoid || (bil && (sample == bilUsgsVoid || sample == 0));
}

}  // namespace

HgtCorner HgtCornerFromName(const std::string& baseName) {
    HgtCorner corner;
    const auto coordinate = [&](char positive, char negative, int highest) -> double {
        for (std::size_t i = 0; i < baseName.size(); ++i) {
            const char letter =
                static_cast<char>(std::toupper(static_cast<unsigned char>(baseName[i])));
            if (letter != positive && letter != negative) {
                continue;
            }
            int value = 0;
            const char* begin = baseName.data() + i + 1;
            const auto [next, status] =
                std::from_chars(begin, baseName.data() + baseName.size(), value);
            if (status != std::errc{} || next == begin || *begin == '-' || *begin == '+' ||
                value > highest) {
                continue;
            }
            return letter == negative ? -value : value;
        }
        return noCorner;
    };
    corner.latitude = coordinate('N', 'S', highestTileLatitude);
    corner.longitude = coordinate('E', 'W', highestTileLongitude);
    return corner;
}

support::Result<SrtmTileRecord> ReadSrtmTile(const std::filesystem::path& path) {
    const bool bil = isBil(path);
    const auto file = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!file || !size) {
        return support::Error{ErrorCode::SilentFailure, "cannot open " + path.string()};
    }
    SrtmTileRecord record;
    record.projection = terrain::ProjectionKind::LatLon;
    record.ellipsoid = geodesy::EllipsoidId::Wgs84;
    if (bil) {
        auto layout = readBilSideFiles(path);
        if (!layout) {
            return layout.error();
        }
        record.rows = layout->rows;
        record.columns = layout->columns;
        record.lowerLatitude = layout->lower;
        record.upperLatitude = layout->upper;
        record.leftLongitude = layout->left;
        record.rightLongitude = layout->right;
    } else {
        const int side = *size == hgtBytes3Arc ? 1201 : *size == hgtBytes1Arc ? 3601 : 0;
        record.rows = record.columns = side;
        const HgtCorner corner = HgtCornerFromName(path.stem().string());
        record.lowerLatitude = corner.latitude;
        record.upperLatitude = corner.latitude + 1;
        record.leftLongitude = corner.longitude;
        record.rightLongitude = corner.longitude + 1;
    }
    // One row or column would leave the spacing undefined.
    if (record.rows < 2 || record.columns < 2) {
        return ErrorCode::ImproperRowsOrColumns;
    }
    const auto outside = [](double value, double limit) { return value > limit || value < -limit; };
    if (outside(record.leftLongitude, 360) || outside(record.rightLongitude, 360) ||
        record.leftLongitude >= record.rightLongitude) {
        return ErrorCode::LongitudeOutOfRange;
    }
    if (outside(record.upperLatitude, 90) || outside(record.lowerLatitude, 90)) {
        return ErrorCode::LatitudeOutOfRange;
    }
    const std::uint64_t samples = static_cast<std::uint64_t>(record.rows) * record.columns;
    if (samples * 2 > *size) {
        return support::Error{ErrorCode::ImproperRowsOrColumns, "file shorter than its grid"};
    }

    const double centre = record.lowerLatitude + (record.upperLatitude - record.lowerLatitude) / 2;
    record.latitudeSpacing = (record.upperLatitude - record.lowerLatitude) / (record.rows - 1);
    record.longitudeSpacing = (record.rightLongitude - record.leftLongitude) / (record.columns - 1);
    record.spacingX = static_cast<float>(record.longitudeSpacing * arcSecondsPerDegree);
    record.spacingY = static_cast<float>(record.latitudeSpacing * arcSecondsPerDegree);
    record.metresPerUnitX =
        static_cast<float>(std::cos(centre / scaleDegreesPerRadian) * record.longitudeSpacing *
                           scaleEarthRadiusMetres / (record.spacingX * scaleDegreesPerRadian));
    record.verticalUnitFactor = 1.0f;
    record.left = static_cast<int>(WholeArcSeconds(record.leftLongitude));
    record.right = static_cast<int>(WholeArcSeconds(record.rightLongitude));
    record.lower = static_cast<int>(WholeArcSeconds(record.lowerLatitude));
    record.upper = static_cast<int>(WholeArcSeconds(record.upperLatitude));
    record.missingFlag = hgtVoid;

    std::vector<std::uint16_t> raw;
    try {
        raw.resize(samples);
    } catch (const std::bad_alloc&) {
        return ErrorCode::NotEnoughMemory;
    }
    if (!ReadExactly(file.get(), raw.data(), samples * 2)) {
        return support::Error{ErrorCode::SilentFailure, "short read"};
    }
    if (bil ? littleEndianNeedsSwap : !littleEndianNeedsSwap) {
        ReverseBytes(raw);
    }
    auto grid = TerrainModel::create(record.rows, record.columns);
    if (!grid) {
        return grid.error();
    }
    int minimum = 1000000;
    int maximum = -1000000;
    for (const std::uint16_t word : raw) {
        const int sample = static_cast<std::int16_t>(word);
        if (!isVoid(sample, bil)) {
            minimum = std::min(minimum, sample);
            maximum = std::max(maximum, sample);
        }
    }
    if (minimum > maximum) {  // nothing but voids
        minimum = maximum = 0;
    }
    // The first row in the file is the northern edge: it becomes the last grid row.
    const auto columns = static_cast<std::size_t>(record.columns);
    for (int r = 0; r < record.rows; ++r) {
        const std::uint16_t* source = raw.data() + static_cast<std::size_t>(r) * columns;
        auto target = grid->row(record.rows - 1 - r);
        for (std::size_t c = 0; c < columns; ++c) {
            const int sample = static_cast<std::int16_t>(source[c]);
            target[c] = isVoid(sample, bil) ? voidCell : static_cast<float>(sample - minimum);
        }
    }
    record.grid = std::move(grid).value();
    record.minElevation = static_cast<float>(minimum);
    record.maxElevation = static_cast<float>(maximum);
    return record;
}

namespace {

// Which tile of a merge failed, and why, for the user.
std::string causeOfTile(const std::filesystem::path& path, const support::Error& error) {
    if (!error.cause.empty()) {
        return error.cause;
    }
    const auto problem = support::readProblem(path);
    if (!problem.empty() || error.message().empty()) {
        return problem;
    }
    return path.string() + ": " + std::string(error.message());
}

long roundHalfAway(double value) {
    return std::lround(value);
}

// Spacings worked out from world files differ in their last bits between neighbouring tiles.
bool sameSpacing(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::abs(a);
}

bool sameText(const std::string& a, const std::string& b) {
    return support::equalsIgnoringCase(a, b);
}

bool isPresent(float cell) {
    return cell != voidCell;
}

support::Result<LoadedTerrain> mergeRecords(std::vector<SrtmTileRecord>& records) {
    const SrtmTileRecord& first = records.front();
    SrtmTileRecord merged;
    merged.projection = first.projection;
    merged.ellipsoid = first.ellipsoid;
    merged.latitudeSpacing = first.latitudeSpacing;
    merged.longitudeSpacing = first.longitudeSpacing;
    merged.spacingX = first.spacingX;
    merged.spacingY = first.spacingY;
    merged.lowerLatitude = first.lowerLatitude;
    merged.upperLatitude = first.upperLatitude;
    merged.leftLongitude = first.leftLongitude;
    merged.rightLongitude = first.rightLongitude;
    merged.missingFlag = first.missingFlag;
    merged.minElevation = first.minElevation;
    merged.maxElevation = first.maxElevation;
    for (const auto& record : records) {
        const bool compatible = record.projection == first.projection &&
                                std::abs(record.spacingX - first.spacingX) <= 1.0f &&
                                sameSpacing(record.latitudeSpacing, first.latitudeSpacing) &&
                                sameSpacing(record.longitudeSpacing, first.longitudeSpacing) &&
                                sameText(record.zoneText, first.zoneText);
        if (!compatible) {
            return ErrorCode::IncompatibleMatrixFiles;
        }
        merged.lowerLatitude = std::min(merged.lowerLatitude, record.lowerLatitude);
        merged.upperLatitude = std::max(merged.upperLatitude, record.upperLatitude);
        merged.leftLongitude = std::min(merged.leftLongitude, record.leftLongitude);
        merged.rightLongitude = std::max(merged.rightLongitude, record.rightLongitude);
        merged.minElevation = std::min(merged.minElevation, record.minElevation);
        merged.maxElevation = std::max(merged.maxElevation, record.maxElevation);
    }
    const long columns =
        roundHalfAway((merged.rightLongitude - merged.leftLongitude) / merged.longitudeSpacing) + 1;
    const long rows =
        roundHalfAway((merged.upperLatitude - merged.lowerLatitude) / merged.latitudeSpacing) + 1;
    if (rows > 1000000 || columns > 1000000) {
        return ErrorCode::NotEnoughMemory;
    }
    auto grid = TerrainModel::create(static_cast<int>(rows), static_cast<int>(columns), voidCell);
    if (!grid) {
        return grid.error();
    }
    for (auto& record : records) {
        const auto columnOffset = static_cast<int>(std::floor(
            (record.leftLongitude - merged.leftLongitude) / merged.longitudeSpacing + 0.5));
        const auto rowOffset = static_cast<int>(std::floor(
            (record.lowerLatitude - merged.lowerLatitude) / merged.latitudeSpacing + 0.5));
        PlaceTile(*grid, record.grid,
                  {columnOffset, rowOffset, record.minElevation - merged.minElevation}, isPresent);
        record.grid = TerrainModel{};
    }
    FillSeams(*grid);
    merged.rows = static_cast<int>(rows);
    merged.columns = static_cast<int>(columns);
    const double centre = merged.lowerLatitude + (merged.upperLatitude - merged.lowerLatitude) / 2;
    merged.metresPerUnitX =
        static_cast<float>(MetresPerArcSecondOfLongitude(centre) * merged.longitudeSpacing *
                           arcSecondsPerDegree / merged.spacingX);
    LoadedTerrain loaded{std::move(grid).value(), HeaderFromRecord(merged)};
    loaded.header.title.clear();
    return loaded;
}

}  // namespace

ImportOutcome LoadSrtmFiles(const std::vector<std::filesystem::path>& paths,
                            const support::ProgressCallback& progress) {
    if (paths.empty()) {
        return {support::Error{ErrorCode::SilentFailure, "no files"}};
    }
    if (paths.size() == 1) {
        auto record = ReadSrtmTile(paths.front());
        if (!record) {
            return {record.error(), DescribeByHand(paths.front())};
        }
        return {LoadedTerrain{std::move(record->grid), HeaderFromRecord(*record)}};
    }
    std::vector<SrtmTileRecord> records;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!support::reportProgress(progress, static_cast<long>(i),
                                     static_cast<long>(paths.size()))) {
            return {ErrorCode::OperationCancelled};
        }
        auto record = ReadSrtmTile(paths[i]);
        if (!record) {
            return {support::Error{ErrorCode::CannotLoadAllMatrixFiles, record.error().detail,
                                   causeOfTile(paths[i], record.error())}};
        }
        records.push_back(std::move(record).value());
    }
    return {mergeRecords(records)};
}

}  // namespace tavrok::importers

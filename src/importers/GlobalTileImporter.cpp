#include "importers/GlobalTileImporter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "importers/MatrixSamples.h"
#include "importers/SinusoidalResampler.h"
#include "support/Units.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

namespace {

using support::ErrorCode;

constexpr int samplesPerDegree = 120;
constexpr float degreesPerSample = 0.008333334f;
constexpr float metresPerSample = 928.0f;

constexpr std::array globeTiles{
    GlobalTile{"a10g", "a10g", 90, 50, -180, -90},   GlobalTile{"b10g", "b10g", 90, 50, -90, 0},
    GlobalTile{"c10g", "c10g", 90, 50, 0, 90},       GlobalTile{"d10g", "d10g", 90, 50, 90, 180},
    GlobalTile{"e10g", "e10g", 50, 0, -180, -90},    GlobalTile{"f10g", "f10g", 50, 0, -90, 0},
    GlobalTile{"g10g", "g10g", 50, 0, 0, 90},        GlobalTile{"h10g", "h10g", 50, 0, 90, 180},
    GlobalTile{"i10g", "i10g", 0, -50, -180, -90},   GlobalTile{"j10g", "j10g", 0, -50, -90, 0},
    GlobalTile{"k10g", "k10g", 0, -50, 0, 90},       GlobalTile{"l10g", "l10g", 0, -50, 90, 180},
    GlobalTile{"m10g", "m10g", -50, -90, -180, -90}, GlobalTile{"n10g", "n10g", -50, -90, -90, 0},
    GlobalTile{"o10g", "o10g", -50, -90, 0, 90},     GlobalTile{"p10g", "p10g", -50, -90, 90, 180},
};

#define TAVROK_GTOPO_ROW(LAT, UPPER, LOWER, lat)                                                   \
    GlobalTile{                                                                                    \
        "W180" LAT ".DEM", "W180" LAT ".DEM or w180" lat ".tar.gz", UPPER, LOWER, -180, -140},     \
        GlobalTile{                                                                                \
            "W140" LAT ".DEM", "W140" LAT ".DEM or w140" lat ".tar.gz", UPPER, LOWER, -140, -100}, \
        GlobalTile{                                                                                \
            "W100" LAT ".DEM", "W100" LAT ".DEM or w100" lat ".tar.gz", UPPER, LOWER, -100, -60},  \
        GlobalTile{                                                                                \
            "W060" LAT ".DEM", "W060" LAT ".DEM or w060" lat ".tar.gz", UPPER, LOWER, -60, -20},   \
        GlobalTile{                                                                                \
            "W020" LAT ".DEM", "W020" LAT ".DEM or w020" lat ".tar.gz", UPPER, LOWER, -20, 20},    \
        GlobalTile{                                                                                \
            "E020" LAT ".DEM", "E020" LAT ".DEM or e020" lat ".tar.gz", UPPER, LOWER, 20, 60},     \
        GlobalTile{                                                                                \
            "E060" LAT ".DEM", "E060" LAT ".DEM or e060" lat ".tar.gz", UPPER, LOWER, 60, 100},    \
        GlobalTile{                                                                                \
            "E100" LAT ".DEM", "E100" LAT ".DEM or e100" lat ".tar.gz", UPPER, LOWER, 100, 140},   \
        GlobalTile {                                                                               \
        "E140" LAT ".DEM", "E140" LAT ".DEM or e140" lat ".tar.gz", UPPER, LOWER, 140, 180         \
    }

constexpr std::array<GlobalTile, 33> gtopo30Tiles = [] {
    std::array<GlobalTile, 33> tiles{
        TAVROK_GTOPO_ROW("N90", 90, 40, "n90"),
        TAVROK_GTOPO_ROW("N40", 40, -10, "n40"),
        TAVROK_GTOPO_ROW("S10", -10, -60, "s10"),
        GlobalTile{"W180S60.DEM", "W180S60.DEM or w180s60.tar.gz", -60, -90, -180, -120},
        GlobalTile{"W120S60.DEM", "W120S60.DEM or w120s60.tar.gz", -60, -90, -120, -60},
        GlobalTile{"W060S60.DEM", "W060S60.DEM or w060s60.tar.gz", -60, -90, -60, 0},
        GlobalTile{"W000S60.DEM", "W000S60.DEM w000s60.tar.gz", -60, -90, 0, 60},
        GlobalTile{"E060S60.DEM", "E060S60.DEM or e060s60.tar.gz", -60, -90, 60, 120},
        GlobalTile{"E120S60.DEM", "E120S60.DEM or e120s60.tar.gz", -60, -90, 120, 180},
    };
    tiles[3].display = "W060N90.DEM or w06090.tar.gz";
    return tiles;
}();

#undef TAVROK_GTOPO_ROW

// The part of a tile an area needs, in samples from the tile's west and south edges, and where
// it goes in the result (from the area's west and south edges).
struct TileWindow {
    int firstColumn, lastColumn;  // last exclusive
    int firstRow, lastRow;
    int resultColumn, resultRow;
};

TileWindow windowFor(const GlobalTile& tile, const GlobalArea& area) {
    TileWindow window{};
    window.firstColumn = std::max(0, (area.left - tile.left) * samplesPerDegree);
    window.lastColumn = std::min(tile.columns(), (area.right - tile.left) * samplesPerDegree);
    window.firstRow = std::max(0, (area.lower - tile.lower) * samplesPerDegree);
    window.lastRow = std::min(tile.rows(), (area.upper - tile.lower) * samplesPerDegree);
    window.resultColumn = std::max(0, (tile.left - area.left) * samplesPerDegree);
    window.resultRow = std::max(0, (tile.lower - area.lower) * samplesPerDegree);
    return window;
}

}  // namespace

std::span<const GlobalTile> GlobalTiles(GlobalDataSet set) {
    if (set == GlobalDataSet::Globe) {
        return globeTiles;
    }
    return gtopo30Tiles;
}

GlobalArea ComputeGlobalArea(int centreLatitude, int centreLongitude, int widthDegrees) {
    const int half = widthDegrees / 2;
    const int longitude = std::clamp(centreLongitude, -180 + half, 180 - half);
    const int latitude = std::clamp(centreLatitude, -90 + half, 90 - half);
    return {longitude - half, longitude + half, latitude - half,
            latitude + half,  longitude,        latitude};
}

std::vector<const GlobalTile*> TilesForArea(GlobalDataSet set, const GlobalArea& area) {
    std::vector<const GlobalTile*> needed;
    for (const auto& tile : GlobalTiles(set)) {
        const bool overlaps = tile.left < area.right && area.left < tile.right &&
                              tile.lower < area.upper && area.lower < tile.upper;
        if (overlaps) {
            needed.push_back(&tile);
        }
    }
    return needed;
}

support::Result<LoadedTerrain> LoadGlobalArea(GlobalDataSet set, const GlobalArea& area,
                                              terrain::ProjectionKind projection,
                                              const TileLocator& locateTile,
                                              const support::ProgressCallback& progress) {
    const int n = area.samples();
    if (n < 2) {
        return support::Error{ErrorCode::ImproperRowsOrColumns, "area too small"};
    }
    std::vector<std::int16_t> samples;
    try {
        samples.assign(static_cast<std::size_t>(n) * n, 0);  // cells no tile covers stay 0
    } catch (const std::bad_alloc&) {
        return ErrorCode::NotEnoughMemory;
    }
    const bool bigEndian = set == GlobalDataSet::Gtopo30;
    const int missing = bigEndian ? -9999 : -500;
    const auto tiles = TilesForArea(set, area);
    std::vector<std::uint16_t> line;
    long done = 0;
    for (const GlobalTile* tile : tiles) {
        const auto path = locateTile(*tile);
        if (!path) {
            return support::Error{ErrorCode::OperationCancelled, std::string(tile->name)};
        }
        const auto file = support::openForReading(*path);
        const auto size = support::fileSizeOf(*path);
        const auto expected = static_cast<std::uint64_t>(tile->columns()) * tile->rows() * 2;
        if (!file || !size || *size < expected) {
            return support::Error{ErrorCode::CannotOpenGlobeFile, path->string()};
        }
        const TileWindow window = windowFor(*tile, area);
        const int width = window.lastColumn - window.firstColumn;
        line.resize(static_cast<std::size_t>(std::max(width, 0)));
        // From the northernmost needed row down; tile rows are stored north first.
        for (int southRow = window.lastRow - 1; southRow >= window.firstRow; --southRow) {
            const int storedRow = tile->rows() - 1 - southRow;
            const std::uint64_t position =
                (static_cast<std::uint64_t>(storedRow) * tile->columns() + window.firstColumn) * 2;
            if (!ReadAt(file.get(), line.data(), line.size() * 2, position)) {
                return support::Error{ErrorCode::CannotOpenGlobeFile,
                                      "short tile " + path->string()};
            }
            if (bigEndian ? !littleEndianNeedsSwap : littleEndianNeedsSwap) {
                ReverseBytes(line);
            }
            auto* target =
                samples.data() +
                static_cast<std::size_t>(window.resultRow + southRow - window.firstRow) * n +
                window.resultColumn;
            std::memcpy(target, line.data(), line.size() * 2);
        }
        if (!support::reportProgress(progress, ++done, static_cast<long>(tiles.size()))) {
            return ErrorCode::OperationCancelled;
        }
    }

    auto converted = GridFromInt16Samples(samples, n, missing);
    if (!converted) {
        return converted.error();
    }
    auto grid = std::move(converted->grid);
    const int minimum = converted->minimum;
    const int maximum = converted->maximum;
    samples = {};
    if (projection == terrain::ProjectionKind::Sinusoidal) {
        auto resampled =
            ResampleSinusoidal(std::move(grid), area.lower, static_cast<double>(degreesPerSample),
                               SinusoidalSampling::Nearest);
        if (!resampled) {
            return resampled.error();
        }
        grid = std::move(resampled).value();
    }

    terrain::TerrainHeader header;
    header.rows = grid.rows();
    header.columns = grid.columns();
    header.projection = projection;
    header.gridKind = terrain::gridKindSinusoidal;
    header.coordinateType = terrain::coordinateTypeGeographic;
    header.ellipsoid = geodesy::EllipsoidId::Wgs84;
    header.westLon = static_cast<float>(area.left);
    header.eastLon = static_cast<float>(area.right);
    header.southLat = static_cast<float>(area.lower);
    header.northLat = static_cast<float>(area.upper);
    header.westBound = area.left * support::arcSecondsPerDegree;
    header.eastBound = area.right * support::arcSecondsPerDegree;
    header.southBound = area.lower * support::arcSecondsPerDegree;
    header.northBound = area.upper * support::arcSecondsPerDegree;
    header.originX = header.westBound;
    header.originY = header.southBound;
    header.maxX = header.eastBound;
    header.maxY = header.northBound;
    header.degreesPerRow = degreesPerSample;
    header.degreesPerColumn = degreesPerSample;
    header.sinusoidalCentralMeridian = static_cast<float>(area.centreLongitude);
    header.spacingX = 1.0f;
    header.spacingY = 1.0f;
    header.metresPerUnitX = metresPerSample;
    header.verticalUnitFactor = 1.0f;
    header.missingFlag = missing;
    header.minElevation = minimum;
    header.maxElevation = maximum;
    return LoadedTerrain{std::move(grid), std::move(header)};
}

}  // namespace tavrok::importers

#include "importers/MolaImporter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "importers/MatrixSamples.h"
#include "importers/SinusoidalResampler.h"
#include "support/Units.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

namespace {

using support::ErrorCode;

constexpr int megMissing = -32768;
constexpr double marsRadiusMetres = 3400000.0;
using support::degreesPerRadian;

constexpr std::array meg064Tiles{
    MolaTile{"megt00n000gb.img", 0, -90, 0, 180},
    MolaTile{"megt00n180gb.img", 0, -90, 180, 360},
    MolaTile{"megt90n000gb.img", 90, 0, 0, 180},
    MolaTile{"megt90n180gb.img", 90, 0, 180, 360},
};

#define TAVROK_MEG128_ROW(LAT, UPPER, LOWER)                                 \
    MolaTile{"megt" LAT "000hb.img", UPPER, LOWER, 0, 90},                   \
        MolaTile{"megt" LAT "090hb.img", UPPER, LOWER, 90, 180},             \
        MolaTile{"megt" LAT "180hb.img", UPPER, LOWER, 180, 270}, MolaTile { \
        "megt" LAT "270hb.img", UPPER, LOWER, 270, 360                       \
    }

constexpr std::array<MolaTile, 16> meg128Tiles{
    TAVROK_MEG128_ROW("88n", 88, 44),
    TAVROK_MEG128_ROW("44n", 44, 0),
    TAVROK_MEG128_ROW("00n", 0, -44),
    TAVROK_MEG128_ROW("44s", -44, -88),
};

#undef TAVROK_MEG128_ROW

bool sizeIs(const std::filesystem::path& path, std::uint64_t bytes) {
    const auto size = support::fileSizeOf(path);
    return size && *size == bytes;
}

}  // namespace

std::span<const MolaTile> MolaTiles(MolaMegSet set) {
    if (set == MolaMegSet::Meg064) {
        return meg064Tiles;
    }
    return meg128Tiles;
}

int MolaSamplesPerDegree(MolaMegSet set) {
    return set == MolaMegSet::Meg064 ? 64 : 128;
}

std::uint64_t MolaTileBytes(MolaMegSet set) {
    return set == MolaMegSet::Meg064 ? 132710400 : 129761280;
}

int MolaAreaWidthDegrees(MolaMegSet set) {
    return set == MolaMegSet::Meg064 ? 60 : 30;
}

MolaArea ComputeMolaArea(MolaMegSet set, int centreLatitude, int centreLongitude) {
    const int half = MolaAreaWidthDegrees(set) / 2;
    const int longitude = std::clamp(centreLongitude, half, 360 - half);
    int latitude = std::clamp(centreLatitude, -90 + half, 90 - half);
    if (set == MolaMegSet::Meg128) {
        latitude = std::clamp(latitude, -73, 73);
    }
    return {longitude - half, longitude + half, latitude - half,
            latitude + half,  longitude,        latitude};
}

std::vector<const MolaTile*> MolaTilesForArea(MolaMegSet set, const MolaArea& area) {
    std::vector<const MolaTile*> needed;
    for (const auto& tile : MolaTiles(set)) {
        if (tile.left < area.right && area.left < tile.right && tile.lower < area.upper &&
            area.lower < tile.upper) {
            needed.push_back(&tile);
        }
    }
    return needed;
}

support::Result<LoadedTerrain> LoadMolaMegArea(MolaMegSet set, const MolaArea& area,
                                               terrain::ProjectionKind projection,
                                               const std::filesystem::path& directory,
                                               const support::ProgressCallback& progress) {
    const int perDegree = MolaSamplesPerDegree(set);
    const int n = (area.right - area.left) * perDegree;
    const ErrorCode wrongFile =
        set == MolaMegSet::Meg064 ? ErrorCode::NotAMolaMeg064File : ErrorCode::NotAMolaMeg128File;
    if (set == MolaMegSet::Meg064 && !sizeIs(directory / "megt00n000gb.img", MolaTileBytes(set))) {
        return support::Error{wrongFile, (directory / "megt00n000gb.img").string()};
    }
    std::vector<std::int16_t> samples;
    try {
        // Parts no tile covers (a tile missing from the folder) stay missing.
        samples.assign(static_cast<std::size_t>(n) * n, static_cast<std::int16_t>(megMissing));
    } catch (const std::bad_alloc&) {
        return ErrorCode::NotEnoughMemory;
    }
    const auto tiles = MolaTilesForArea(set, area);
    std::vector<std::uint16_t> line;
    long done = 0;
    long found = 0;
    for (const MolaTile* tile : tiles) {
        const auto path = directory / tile->name;
        const auto file = support::openForReading(path);
        if (!file) {
            continue;
        }
        ++found;
        if (!sizeIs(path, MolaTileBytes(set))) {
            return support::Error{wrongFile, path.string()};
        }
        const int tileColumns = (tile->right - tile->left) * perDegree;
        const int tileRows = (tile->upper - tile->lower) * perDegree;
        const int firstColumn = std::max(0, (area.left - tile->left) * perDegree);
        const int lastColumn = std::min(tileColumns, (area.right - tile->left) * perDegree);
        const int firstRow = std::max(0, (area.lower - tile->lower) * perDegree);
        const int lastRow = std::min(tileRows, (area.upper - tile->lower) * perDegree);
        const int resultColumn = std::max(0, (tile->left - area.left) * perDegree);
        const int resultRow = std::max(0, (tile->lower - area.lower) * perDegree);
        line.resize(static_cast<std::size_t>(std::max(0, lastColumn - firstColumn)));
        for (int southRow = lastRow - 1; southRow >= firstRow; --southRow) {
            const auto storedRow = static_cast<std::uint64_t>(tileRows - 1 - southRow);
            const std::uint64_t position = (storedRow * tileColumns + firstColumn) * 2;
            if (!ReadAt(file.get(), line.data(), line.size() * 2, position)) {
                return support::Error{wrongFile, "short read " + path.string()};
            }
            if (!littleEndianNeedsSwap) {
                ReverseBytes(line);
            }
            std::memcpy(samples.data() +
                            static_cast<std::size_t>(resultRow + southRow - firstRow) * n +
                            resultColumn,
                        line.data(), line.size() * 2);
        }
        if (!support::reportProgress(progress, ++done, static_cast<long>(tiles.size()))) {
            return ErrorCode::OperationCancelled;
        }
    }
    // A part whose tile is missing stays empty, but an area without any tile is no terrain.
    if (found == 0) {
        return support::Error{ErrorCode::NoMolaTilesFound, directory.string()};
    }
    auto converted = GridFromInt16Samples(samples, n, megMissing);
    if (!converted) {
        return converted.error();
    }
    auto grid = std::move(converted->grid);
    const int minimum = converted->minimum;
    const int maximum = converted->maximum;
    samples = {};
    const double spacing = 1.0 / perDegree;
    if (projection == terrain::ProjectionKind::Sinusoidal) {
        auto resampled =
            ResampleSinusoidal(std::move(grid), area.lower, spacing, SinusoidalSampling::Linear);
        if (!resampled) {
            return resampled.error();
        }
        grid = std::move(resampled).value();
    }
    terrain::TerrainHeader header;
    header.rows = n;
    header.columns = n;
    header.projection = projection;
    header.gridKind = terrain::gridKindSinusoidal;
    header.planet = terrain::Planet::Mars;
    header.planetRadius = terrain::marsRadiusMetres;
    header.coordinateType = terrain::coordinateTypeGeographic;
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
    header.degreesPerRow = static_cast<float>(spacing);
    header.degreesPerColumn = static_cast<float>(spacing);
    header.sinusoidalCentralMeridian = static_cast<float>(area.centreLongitude);
    header.spacingX = 1.0f;
    header.spacingY = 1.0f;
    header.metresPerUnitX = static_cast<float>(spacing * marsRadiusMetres / degreesPerRadian);
    header.verticalUnitFactor = 1.0f;
    header.missingFlag = megMissing;
    header.minElevation = minimum;
    header.maxElevation = maximum;
    header.title = set == MolaMegSet::Meg064 ? "MOLA MEG 064" : "MOLA MEG 128";
    return LoadedTerrain{std::move(grid), std::move(header)};
}

std::string MolaPolarFileName(MolaPole pole, int samplesPerDegree) {
    return std::string("megt_") + (pole == MolaPole::North ? "n_" : "s_") +
           std::to_string(samplesPerDegree) + "_1.img";
}

int MolaPolarSide(int samplesPerDegree) {
    switch (samplesPerDegree) {
        case 128:
            return 10240;
        case 256:
            return 11520;
        case 512:
            return 12288;
        default:
            return 0;
    }
}

MolaPolarWindow MolaPolarWindowFromMap(double centreX, double centreY, double width, int mapWidth,
                                       int mapHeight, int side) {
    const auto scaled = [side](double pixels, int mapSize) {
        if (mapSize <= 0 || !std::isfinite(pixels)) {
            return 0;
        }
        const double samples = std::trunc(pixels * side / mapSize);
        return static_cast<int>(std::clamp(samples, 0.0, static_cast<double>(side)));
    };
    return {scaled(centreX - width / 2, mapWidth), scaled(centreX + width / 2, mapWidth),
            scaled(centreY - width / 2, mapHeight), scaled(centreY + width / 2, mapHeight)};
}

support::Result<LoadedTerrain> LoadMolaPolarWindow(const std::filesystem::path& image,
                                                   int samplesPerDegree,
                                                   const MolaPolarWindow& window,
                                                   const support::ProgressCallback& progress) {
    const int side = MolaPolarSide(samplesPerDegree);
    const int rows = window.lastRow - window.firstRow;
    const int columns = window.lastColumn - window.firstColumn;
    if (side == 0 || rows < 2 || columns < 2 || window.firstRow < 0 || window.firstColumn < 0 ||
        window.lastRow > side || window.lastColumn > side) {
        return support::Error{ErrorCode::ImproperRowsOrColumns, "polar window"};
    }
    const auto file = support::openForReading(image);
    const auto imageBytes = static_cast<std::uint64_t>(side) * side * 2;
    const auto size = support::fileSizeOf(image);
    if (!file || !size || *size < imageBytes) {
        return support::Error{ErrorCode::CannotFindMolaPolarFile, image.string()};
    }
    auto grid = terrain::TerrainModel::create(rows, columns);
    if (!grid) {
        return grid.error();
    }
    std::vector<std::uint16_t> line(static_cast<std::size_t>(columns));
    double minimum = 1000000;
    double maximum = -1000000;
    for (int r = 0; r < rows; ++r) {
        const std::uint64_t position =
            (static_cast<std::uint64_t>(window.firstRow + r) * side + window.firstColumn) * 2;
        if (!ReadAt(file.get(), line.data(), line.size() * 2, position)) {
            return support::Error{ErrorCode::CannotFindMolaPolarFile, "short read"};
        }
        if (!littleEndianNeedsSwap) {
            ReverseBytes(line);
        }
        auto target = grid->row(rows - 1 - r);  // the first row read is the top of the window
        for (int c = 0; c < columns; ++c) {
            const double metres = MolaPolarMetres(line[c]);
            target[c] = static_cast<float>(metres);
            minimum = std::min(minimum, metres);
            maximum = std::max(maximum, metres);
        }
        if (r % 256 == 0 && !support::reportProgress(progress, r, rows)) {
            return ErrorCode::OperationCancelled;
        }
    }
    for (float& cell : grid->cells()) {
        cell = static_cast<float>(cell - minimum);
    }
    const double spacing = 1.0 / samplesPerDegree;
    terrain::TerrainHeader header;
    header.rows = rows;
    header.columns = columns;
    header.gridKind = terrain::gridKindMarsPolar;
    header.planet = terrain::Planet::Earth;  // the polar grid is placed by pixels, not by planet
    header.spacingX = 1.0f;
    header.spacingY = 1.0f;
    header.metresPerUnitX = static_cast<float>(spacing * marsRadiusMetres / degreesPerRadian);
    header.verticalUnitFactor = 1.0f;
    header.minElevation = minimum;
    header.maxElevation = maximum;
    return LoadedTerrain{std::move(grid).value(), std::move(header)};
}

}  // namespace tavrok::importers

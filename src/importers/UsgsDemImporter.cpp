#include "importers/UsgsDemImporter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "geodesy/EllipsoidChange.h"
#include "geodesy/Utm.h"
#include "importers/MatrixSamples.h"
#include "importers/MergeCore.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

constexpr int groundUnitMetres = 2;
using support::arcSecondsPerDegree;
constexpr double minimumStart = 1000000.0;
constexpr double maximumStart = -1000000.0;

geodesy::EllipsoidId EllipsoidOf(int datumCode) {
    return geodesy::ellipsoidForDatumCode(datumCode).value_or(geodesy::EllipsoidId::Wgs84);
}

bool IsVoid(float cell) {
    return cell == UsgsDemRecord::voidElevation;
}

struct Extremes {
    double minimum = minimumStart;
    double maximum = maximumStart;
};

Extremes ExtremesOf(const terrain::TerrainModel& grid) {
    float low = static_cast<float>(minimumStart);
    float high = static_cast<float>(maximumStart);
    for (const float cell : grid.cells()) {
        if (!IsVoid(cell)) {
            low = cell < low ? cell : low;
            high = cell > high ? cell : high;
        }
    }
    return {low, high};
}

// Voids become missing cells, every other cell its height above the minimum.
Result<LoadedTerrain> Finish(terrain::TerrainModel grid, const UsgsDemRecord& description,
                             bool fillSeams) {
    const auto extremes = ExtremesOf(grid);
    if (extremes.minimum > extremes.maximum) {
        return Error{ErrorCode::DemHoldsNoElevations, "every cell is void"};
    }
    const float minimum = static_cast<float>(extremes.minimum);
    for (float& cell : grid.cells()) {
        cell = IsVoid(cell) ? terrain::missingCell : cell - minimum;
    }
    if (fillSeams) {
        FillSeams(grid);
    }
    return LoadedTerrain{std::move(grid),
                         HeaderFromDemRecord(description, extremes.minimum, extremes.maximum)};
}

// UTM corners of a DEM on another datum, expressed on the first DEM's ellipsoid in the DEM's
// own zone.
support::Status MoveToDatumOf(const UsgsDemRecord& first, UsgsDemRecord& later) {
    const auto moved = geodesy::MoveUtmBoxToEllipsoid(
        {double(later.smallestX), double(later.smallestY), double(later.largestX),
         double(later.largestY)},
        std::to_string(later.zone) + 'N', EllipsoidOf(later.datumCode),
        EllipsoidOf(first.datumCode), later.zone);
    if (!moved) {
        return Error{ErrorCode::UnusableUtmCoordinates, "corner cannot change datum"};
    }
    later.smallestX = terrain::RoundToInt(moved->west);
    later.largestX = terrain::RoundToInt(moved->east);
    later.smallestY = terrain::RoundToInt(moved->south);
    later.largestY = terrain::RoundToInt(moved->north);
    later.datumCode = first.datumCode;
    return support::success();
}

// The union of every DEM's bounds, with the size of the grid that holds them all.
struct MergedLayout {
    UsgsDemRecord description;
    int stepX = 1;  // whole metres between UTM columns and rows
    int stepY = 1;
};

Result<MergedLayout> LayOut(const std::vector<UsgsDemRecord>& records) {
    MergedLayout layout;
    auto& merged = layout.description;
    const auto& first = records.front();
    merged.title.clear();
    merged.datumCode = first.datumCode;
    merged.zone = first.zone;
    merged.groundUnit = first.groundUnit;
    merged.elevationUnit = first.elevationUnit;
    merged.resolutionX = first.resolutionX;
    merged.resolutionY = first.resolutionY;
    merged.horizontalFactor = first.horizontalFactor;
    merged.smallestX = merged.smallestY = std::numeric_limits<int>::max();
    merged.largestX = merged.largestY = std::numeric_limits<int>::min();
    merged.lowerLatitude = merged.leftLongitude = std::numeric_limits<double>::max();
    merged.upperLatitude = merged.rightLongitude = std::numeric_limits<double>::lowest();
    for (const auto& record : records) {
        merged.smallestX = std::min(merged.smallestX, record.smallestX);
        merged.smallestY = std::min(merged.smallestY, record.smallestY);
        merged.largestX = std::max(merged.largestX, record.largestX);
        merged.largestY = std::max(merged.largestY, record.largestY);
        merged.lowerLatitude = std::min(merged.lowerLatitude, record.lowerLatitude);
        merged.upperLatitude = std::max(merged.upperLatitude, record.upperLatitude);
        merged.leftLongitude = std::min(merged.leftLongitude, record.leftLongitude);
        merged.rightLongitude = std::max(merged.rightLongitude, record.rightLongitude);
    }
    const double west =
        std::min_element(records.begin(), records.end(),
                         [](auto& a, auto& b) { return a.corners[0].x < b.corners[0].x; })
            ->corners[0]
            .x;
    const double east =
        std::max_element(records.begin(), records.end(),
                         [](auto& a, auto& b) { return a.corners[1].x < b.corners[1].x; })
            ->corners[1]
            .x;
    const double south =
        std::min_element(records.begin(), records.end(),
                         [](auto& a, auto& b) { return a.corners[3].y < b.corners[3].y; })
            ->corners[3]
            .y;
    const double north =
        std::max_element(records.begin(), records.end(),
                         [](auto& a, auto& b) { return a.corners[0].y < b.corners[0].y; })
            ->corners[0]
            .y;
    merged.corners = {DemCorner{west, north}, DemCorner{east, north}, DemCorner{east, south},
                      DemCorner{west, south}};
    const double spanX = static_cast<double>(merged.largestX) - merged.smallestX;
    const double spanY = static_cast<double>(merged.largestY) - merged.smallestY;
    double columns = 0;
    double rows = 0;
    if (merged.groundUnit == groundUnitMetres) {
        layout.stepX = static_cast<int>(merged.resolutionX);
        layout.stepY = static_cast<int>(merged.resolutionY);
        if (layout.stepX < 1 || layout.stepY < 1) {
            return Error{ErrorCode::DifferentGridResolutions, "resolution below one metre"};
        }
        columns = std::floor(spanX / layout.stepX) + 1;
        rows = std::floor(spanY / layout.stepY) + 1;
    } else {
        merged.leftLongitude = merged.smallestX / arcSecondsPerDegree;
        merged.rightLongitude = merged.largestX / arcSecondsPerDegree;
        merged.lowerLatitude = merged.smallestY / arcSecondsPerDegree;
        merged.upperLatitude = merged.largestY / arcSecondsPerDegree;
        columns = std::floor(spanX / merged.resolutionX + 1);
        rows = std::floor(spanY / merged.resolutionY + 1);
    }
    constexpr double largestSide = 1000000.0;
    if (!(columns <= largestSide && rows <= largestSide)) {
        return Error{ErrorCode::NotEnoughMemory, "merged grid too large"};
    }
    merged.columns = static_cast<int>(columns);
    merged.rows = static_cast<int>(rows);
    return layout;
}

bool IsPresent(float cell) {
    return !IsVoid(cell);
}

Result<LoadedTerrain> Merge(const std::vector<std::filesystem::path>& paths,
                            const std::filesystem::path& temporaryDirectory,
                            const support::ProgressCallback& progress) {
    ParkedGrids parked(temporaryDirectory, "dem_", ErrorCode::CannotSaveTemporaryFiles);
    std::vector<UsgsDemRecord> records;
    const long total = static_cast<long>(paths.size()) * 2;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        auto record = ReadUsgsDem(paths[index], {});
        if (!record) {
            return record.error();
        }
        if (index > 0) {
            if (auto same = ReconcileDemWithFirst(records.front(), record.value()); !same) {
                return same.error();
            }
        }
        auto stored = parked.park(record->grid, static_cast<int>(index));
        if (!stored) {
            return stored.error();
        }
        record->temporaryGridPath = stored.value();
        records.push_back(std::move(record.value()));
        if (!support::reportProgress(progress, static_cast<long>(index + 1), total)) {
            return Error{ErrorCode::OperationCancelled, "DEM merge"};
        }
    }
    auto layout = LayOut(records);
    if (!layout) {
        return layout.error();
    }
    const auto& merged = layout->description;
    auto grid =
        terrain::TerrainModel::create(merged.rows, merged.columns, UsgsDemRecord::voidElevation);
    if (!grid) {
        return grid.error();
    }
    for (std::size_t index = 0; index < records.size(); ++index) {
        const auto& record = records[index];
        int columnOffset = 0;
        int rowOffset = 0;
        if (merged.groundUnit == groundUnitMetres) {
            columnOffset = (record.smallestX - merged.smallestX) / layout->stepX;
            rowOffset = (record.smallestY - merged.smallestY) / layout->stepY;
        } else {
            columnOffset =
                static_cast<int>((record.smallestX - merged.smallestX) / merged.resolutionX);
            rowOffset =
                static_cast<int>((record.smallestY - merged.smallestY) / merged.resolutionY);
        }
        auto tile = parked.take(record.temporaryGridPath, record.rows, record.columns);
        if (!tile) {
            return tile.error();
        }
        PlaceTile(grid.value(), tile.value(), {columnOffset, rowOffset, 0.0f}, IsPresent);
        if (!support::reportProgress(progress, static_cast<long>(records.size() + index + 1),
                                     total)) {
            return Error{ErrorCode::OperationCancelled, "DEM merge"};
        }
    }
    return Finish(std::move(grid.value()), merged, true);
}

}  // namespace

terrain::TerrainHeader HeaderFromDemRecord(const UsgsDemRecord& record, double minElevation,
                                           double maxElevation) {
    terrain::TerrainHeader header;
    const bool utm = record.groundUnit == groundUnitMetres;
    header.rows = record.rows;
    header.columns = record.columns;
    header.projection = utm ? ProjectionKind::UTM : ProjectionKind::LatLon;
    header.coordinateType = utm ? terrain::coordinateTypeUtm : terrain::coordinateTypeGeographic;
    header.gridKind = terrain::gridKindDem;
    header.ellipsoid = EllipsoidOf(record.datumCode);
    header.ellipsoidCode = geodesy::datumCodeFor(header.ellipsoid);
    if (utm) {
        header.utmZone = record.zone;
        header.hemisphere = 'N';
        header.zoneText = std::to_string(record.zone) + 'N';
    }
    header.westBound = record.smallestX;
    header.eastBound = record.largestX;
    header.southBound = record.smallestY;
    header.northBound = record.largestY;
    header.originX = record.corners[3].x;
    header.originY = record.corners[3].y;
    header.maxX = record.corners[1].x;
    header.maxY = record.corners[1].y;
    if (utm) {
        header.westLon = static_cast<float>(record.leftLongitude);
        header.eastLon = static_cast<float>(record.rightLongitude);
        header.southLat = static_cast<float>(record.lowerLatitude);
        header.northLat = static_cast<float>(record.upperLatitude);
    } else {
        header.westLon = static_cast<float>(record.smallestX / arcSecondsPerDegree);
        header.eastLon = static_cast<float>(record.largestX / arcSecondsPerDegree);
        header.southLat = static_cast<float>(record.smallestY / arcSecondsPerDegree);
        header.northLat = static_cast<float>(record.largestY / arcSecondsPerDegree);
    }
    header.spacingX = static_cast<float>(record.resolutionX);
    header.spacingY = static_cast<float>(record.resolutionY);
    header.metresPerUnitX = record.horizontalFactor;
    header.verticalUnitFactor = record.verticalFactor;
    header.elevationUnit = terrain::ElevationUnit::Meters;
    header.missingFlag = static_cast<int>(UsgsDemRecord::voidElevation);
    header.minElevation = minElevation;
    header.maxElevation = maxElevation;
    header.title = record.title.substr(0, terrain::TerrainHeader::titleLength);
    return header;
}

support::Status ReconcileDemWithFirst(const UsgsDemRecord& first, UsgsDemRecord& later) {
    if (later.datumCode != first.datumCode && first.groundUnit == groundUnitMetres &&
        later.groundUnit == groundUnitMetres) {
        if (auto moved = MoveToDatumOf(first, later); !moved) {
            return moved;
        }
    }
    if (later.groundUnit != first.groundUnit) {
        return Error{ErrorCode::DemsHaveDifferntMapProjections, ""};
    }
    if (later.resolutionX != first.resolutionX) {
        return Error{ErrorCode::DifferentGridResolutions, ""};
    }
    if (later.resolutionY != first.resolutionY) {
        return Error{ErrorCode::DifferentElevationResolutions, ""};
    }
    if (first.groundUnit == groundUnitMetres && later.zone != first.zone) {
        return Error{ErrorCode::DifferentUtmZones, ""};
    }
    return support::success();
}

Result<LoadedTerrain> LoadUsgsDemFiles(const std::vector<std::filesystem::path>& paths,
                                       const std::filesystem::path& temporaryDirectory,
                                       const support::ProgressCallback& progress) {
    if (paths.empty()) {
        return Error{ErrorCode::SilentFailure, "no DEM chosen"};
    }
    if (paths.size() > 1) {
        return Merge(paths, temporaryDirectory, progress);
    }
    auto record = ReadUsgsDem(paths.front(), progress);
    if (!record) {
        return record.error();
    }
    auto grid = std::move(record->grid);
    return Finish(std::move(grid), record.value(), false);
}

}  // namespace tavrok::importers

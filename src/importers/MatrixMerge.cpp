#include "importers/MatrixMerge.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "geodesy/EllipsoidChange.h"
#include "geodesy/Utm.h"
#include "importers/GeographicScale.h"
#include "importers/MergeCore.h"
#include "support/Text.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

// Merged geographic sizes are whole counts of cells, but spacings kept as floats make a tile
// span like 2399.99994 cells; this much of a cell still counts as a whole one.
constexpr double cellCountTolerance = 1e-3;

std::string NormalisedZoneText(const MatrixFileRecord& record) {
    return std::to_string(std::atoi(record.zoneText.c_str())) + record.hemisphere;
}

// The later matrix's corners go through geographic coordinates on its own ellipsoid into UTM
// on the first one's, in the first one's zone; their extremes become its new corners.
support::Status MoveToEllipsoidOf(const MatrixFileRecord& first, MatrixFileRecord& later) {
    const auto moved = geodesy::MoveUtmBoxToEllipsoid(
        {double(later.left), double(later.lower), double(later.right), double(later.upper)},
        NormalisedZoneText(later), later.ellipsoid, first.ellipsoid,
        std::atoi(first.zoneText.c_str()));
    if (!moved) {
        return Error{ErrorCode::CannotLoadAllMatrixFiles, "corner cannot change ellipsoid"};
    }
    later.left = terrain::RoundToInt(moved->west);
    later.right = terrain::RoundToInt(moved->east);
    later.lower = terrain::RoundToInt(moved->south);
    later.upper = terrain::RoundToInt(moved->north);
    later.ellipsoid = first.ellipsoid;
    return support::success();
}

// The extent, extremes and size of the merged grid.
struct MergedExtent {
    MatrixDescription record;
    int spacingXWhole = 0;
    int spacingYWhole = 0;
};

void WidenBy(MatrixDescription& merged, const MatrixDescription& record) {
    merged.left = std::min(merged.left, record.left);
    merged.right = std::max(merged.right, record.right);
    merged.lower = std::min(merged.lower, record.lower);
    merged.upper = std::max(merged.upper, record.upper);
    merged.leftLongitude = std::min(merged.leftLongitude, record.leftLongitude);
    merged.rightLongitude = std::max(merged.rightLongitude, record.rightLongitude);
    merged.lowerLatitude = std::min(merged.lowerLatitude, record.lowerLatitude);
    merged.upperLatitude = std::max(merged.upperLatitude, record.upperLatitude);
    merged.minElevation = std::min(merged.minElevation, record.minElevation);
    merged.maxElevation = std::max(merged.maxElevation, record.maxElevation);
}

Result<int> CellCount(double count) {
    if (!(count >= 1 && count <= std::numeric_limits<int>::max())) {
        return Error{ErrorCode::NotEnoughMemory, "merged grid too large"};
    }
    return static_cast<int>(count);
}

Result<MergedExtent> MergedExtentOf(const std::vector<MatrixFileRecord>& records) {
    MergedExtent extent{records.front()};
    auto& merged = extent.record;
    merged.title.clear();
    for (const auto& record : records) {
        WidenBy(merged, record);
    }
    Result<int> columns = 0;
    Result<int> rows = 0;
    if (merged.projection == ProjectionKind::LatLon) {
        columns = CellCount(
            std::floor((merged.rightLongitude - merged.leftLongitude) / merged.longitudeSpacing +
                       1 + cellCountTolerance));
        rows = CellCount(
            std::floor((merged.upperLatitude - merged.lowerLatitude) / merged.latitudeSpacing + 1 +
                       cellCountTolerance));
        const double centreLatitude = (merged.lowerLatitude + merged.upperLatitude) / 2;
        merged.metresPerUnitX *= static_cast<float>(
            MetresPerArcSecondOfLongitude(centreLatitude) /
            MetresPerArcSecondOfLongitude(
                (records.front().lowerLatitude + records.front().upperLatitude) / 2));
    } else {
        extent.spacingXWhole = static_cast<int>(merged.spacingX);
        extent.spacingYWhole = static_cast<int>(merged.spacingY);
        if (extent.spacingXWhole < 1 || extent.spacingYWhole < 1) {
            return Error{ErrorCode::CannotLoadAllMatrixFiles, "spacing below one unit"};
        }
        columns =
            CellCount((static_cast<double>(merged.right) - merged.left) / extent.spacingXWhole + 1);
        rows = CellCount((static_cast<double>(merged.upper) - merged.lower) / extent.spacingYWhole +
                         1);
    }
    if (!columns || !rows) {
        return columns ? rows.error() : columns.error();
    }
    merged.columns = columns.value();
    merged.rows = rows.value();
    return extent;
}

struct GridOffset {
    int column = 0;
    int row = 0;
};

GridOffset OffsetOf(const MatrixFileRecord& record, const MergedExtent& extent) {
    const auto& merged = extent.record;
    if (merged.projection == ProjectionKind::LatLon) {
        return {static_cast<int>(std::floor(
                    (record.leftLongitude - merged.leftLongitude) / merged.longitudeSpacing + 0.5)),
                static_cast<int>(std::floor(
                    (record.lowerLatitude - merged.lowerLatitude) / merged.latitudeSpacing + 0.5))};
    }
    const auto columnOffset =
        (static_cast<std::int64_t>(record.left) - merged.left) / extent.spacingXWhole;
    const auto rowOffset =
        (static_cast<std::int64_t>(record.lower) - merged.lower) / extent.spacingYWhole;
    return {static_cast<int>(columnOffset), static_cast<int>(rowOffset)};
}

bool IsPresent(float cell) {
    return !terrain::isMissing(cell);
}

Result<LoadedTerrain> AssembleMergedGrid(const std::vector<MatrixFileRecord>& records,
                                         ParkedGrids& parked,
                                         const support::ProgressCallback& progress) {
    auto extent = MergedExtentOf(records);
    if (!extent) {
        return extent.error();
    }
    const auto& merged = extent->record;
    auto grid = terrain::TerrainModel::create(merged.rows, merged.columns, terrain::missingCell);
    if (!grid) {
        return grid.error();
    }
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (!support::reportProgress(progress, static_cast<long>(records.size() + index),
                                     2L * static_cast<long>(records.size()))) {
            return Error{ErrorCode::OperationCancelled, "merge"};
        }
        const auto& record = records[index];
        auto part = parked.take(record.temporaryMatrixPath, record.rows, record.columns);
        if (!part) {
            return part.error();
        }
        const auto offset = OffsetOf(record, extent.value());
        PlaceTile(grid.value(), part.value(),
                  {offset.column, offset.row, record.minElevation - merged.minElevation},
                  IsPresent);
    }
    FillSeams(grid.value());
    return LoadedTerrain{std::move(grid.value()), HeaderFromRecord(merged)};
}

Error CannotLoadAll(const std::filesystem::path& path, const Error& cause) {
    std::string shown = cause.cause;
    if (shown.empty() && !cause.message().empty()) {
        shown = path.string() + ": " + std::string(cause.message());
    }
    return Error{ErrorCode::CannotLoadAllMatrixFiles,
                 path.string() + ": " + std::string(cause.message()) + " " + cause.detail,
                 std::move(shown)};
}

}  // namespace

support::Status ReconcileWithFirst(const MatrixFileRecord& first, MatrixFileRecord& later) {
    if (later.ellipsoid != first.ellipsoid && first.projection == ProjectionKind::UTM &&
        later.projection == ProjectionKind::UTM) {
        if (auto moved = MoveToEllipsoidOf(first, later); !moved) {
            return moved;
        }
    }
    if (later.projection != first.projection) {
        return Error{ErrorCode::DifferentMapProjections, ""};
    }
    if (std::fabs(later.spacingX - first.spacingX) > 1.0f) {
        return Error{ErrorCode::DifferentGridResolutions, ""};
    }
    if (later.latitudeSpacing != first.latitudeSpacing ||
        later.longitudeSpacing != first.longitudeSpacing) {
        return Error{ErrorCode::DifferentAngularResolutions, ""};
    }
    if (!support::equalsIgnoringCase(later.zoneText, first.zoneText)) {
        return Error{ErrorCode::DifferentUtmZones, ""};
    }
    return support::success();
}

support::Result<LoadedTerrain> MergeMatrixFiles(const std::vector<std::filesystem::path>& paths,
                                                const std::filesystem::path& temporaryDirectory,
                                                const support::ProgressCallback& progress) {
    ParkedGrids parked(temporaryDirectory, "matrix_", ErrorCode::CannotLoadTemporaryFiles);
    std::vector<MatrixFileRecord> records;
    const auto total = 2L * static_cast<long>(paths.size());
    for (std::size_t index = 0; index < paths.size(); ++index) {
        if (!support::reportProgress(progress, static_cast<long>(index), total)) {
            return Error{ErrorCode::OperationCancelled, "merge"};
        }
        auto record = ReadMatrixFile(paths[index], {});
        if (!record) {
            return CannotLoadAll(paths[index], record.error());
        }
        if (!records.empty()) {
            if (auto same = ReconcileWithFirst(records.front(), record.value()); !same) {
                return same.error();
            }
        }
        auto stored = parked.park(record->grid, static_cast<int>(index));
        if (!stored) {
            return CannotLoadAll(paths[index], stored.error());
        }
        record->temporaryMatrixPath = stored.value();
        records.push_back(std::move(record.value()));
    }
    if (records.front().projection == ProjectionKind::Sinusoidal) {
        return Error{ErrorCode::SinusoidalMergeRefused, ""};
    }
    return AssembleMergedGrid(records, parked, progress);
}

}  // namespace tavrok::importers

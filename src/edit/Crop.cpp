#include "edit/Crop.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "edit/GridSampling.h"
#include "edit/UtmConversion.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::edit {

using support::arcSecondsPerDegree;
using terrain::TerrainHeader;

CropKind cropKindOf(const TerrainHeader& header) {
    if (header.projection == terrain::ProjectionKind::Sinusoidal) {
        return CropKind::Refused;
    }
    switch (header.gridKind) {
        case terrain::gridKindMarsPolar:
            return CropKind::MarsPolar;
        case terrain::gridKindMatrix:
            return CropKind::Planar;
        case terrain::gridKindSinusoidal:
            return CropKind::SinusoidalGrid;
        default:
            return header.coordinateType == terrain::coordinateTypeUtm ? CropKind::Planar
                                                                       : CropKind::Geographic;
    }
}

namespace {

// Snaps down with the remainder, as the limits have always been snapped (toward zero).
double snapped(double value, double step) {
    return step > 0 ? value - std::fmod(value, step) : value;
}

// The terrain's extent in the limits' units.
CropLimits extentOf(const TerrainHeader& header) {
    switch (cropKindOf(header)) {
        case CropKind::Planar:
            return {header.originX, header.originY, header.maxX, header.maxY};
        case CropKind::Geographic:
            return {header.westBound / arcSecondsPerDegree, header.southBound / arcSecondsPerDegree,
                    header.eastBound / arcSecondsPerDegree,
                    header.northBound / arcSecondsPerDegree};
        default:
            return {header.westLon, header.southLat, header.eastLon, header.northLat};
    }
}

// x and y steps of the limits: the spacing in metres, or degrees between samples.
struct Steps {
    double x = 0;
    double y = 0;
};

Steps stepsOf(const TerrainHeader& header) {
    switch (cropKindOf(header)) {
        case CropKind::Geographic:
            return {header.spacingX / arcSecondsPerDegree, header.spacingY / arcSecondsPerDegree};
        case CropKind::SinusoidalGrid:
            return {header.degreesPerColumn, header.degreesPerRow};
        default:
            return {header.spacingX, header.spacingY};
    }
}

CropLimits clamped(const TerrainHeader& header, CropLimits limits) {
    const CropLimits extent = extentOf(header);
    limits.west = std::max(limits.west, extent.west);
    limits.south = std::max(limits.south, extent.south);
    limits.east = std::min(limits.east, extent.east);
    limits.north = std::min(limits.north, extent.north);
    return limits;
}

CropLimits snappedLimits(const TerrainHeader& header, CropLimits limits) {
    const Steps steps = stepsOf(header);
    return {snapped(limits.west, steps.x), snapped(limits.south, steps.y),
            snapped(limits.east, steps.x), snapped(limits.north, steps.y)};
}

bool snapsToSteps(CropKind kind) {
    return kind == CropKind::Planar || kind == CropKind::SinusoidalGrid;
}

// Cell 0 of the grid in the limits' units.
struct GridOrigin {
    double x = 0;
    double y = 0;
};

GridOrigin originOf(const TerrainHeader& header) {
    const CropLimits extent = extentOf(header);
    return {extent.west, extent.south};
}

// The header of the cropped grid whose first cell lies at (west, south) in the limits' units.
TerrainHeader croppedHeader(const TerrainHeader& old, double west, double south, int columns,
                            int rows) {
    TerrainHeader header = old;
    header.missingCells.reset();
    header.rows = rows;
    header.columns = columns;
    const Steps steps = stepsOf(old);
    const double east = west + (columns - 1) * steps.x;
    const double north = south + (rows - 1) * steps.y;
    switch (cropKindOf(old)) {
        case CropKind::Planar:
            header.westBound = header.originX = west;
            header.southBound = header.originY = south;
            header.eastBound = header.maxX = east;
            header.northBound = header.maxY = north;
            if (header.coordinateType == terrain::coordinateTypeGeographic) {
                header.westLon = static_cast<float>(west / arcSecondsPerDegree);
                header.eastLon = static_cast<float>(east / arcSecondsPerDegree);
                header.southLat = static_cast<float>(south / arcSecondsPerDegree);
                header.northLat = static_cast<float>(north / arcSecondsPerDegree);
            } else if (header.gridKind == terrain::gridKindDem) {
                setUtmZone(header, header.ellipsoid, header.utmZone, header.hemisphere);
            }
            break;
        case CropKind::Geographic:
            header.westBound = header.originX = west * arcSecondsPerDegree;
            header.southBound = header.originY = south * arcSecondsPerDegree;
            header.eastBound = header.maxX = east * arcSecondsPerDegree;
            header.northBound = header.maxY = north * arcSecondsPerDegree;
            header.westLon = static_cast<float>(west);
            header.eastLon = static_cast<float>(east);
            header.southLat = static_cast<float>(south);
            header.northLat = static_cast<float>(north);
            break;
        default:
            header.westLon = static_cast<float>(west);
            header.eastLon = static_cast<float>(east);
            header.southLat = static_cast<float>(south);
            header.northLat = static_cast<float>(north);
            header.westBound = header.originX = west * arcSecondsPerDegree;
            header.southBound = header.originY = south * arcSecondsPerDegree;
            header.eastBound = header.maxX = east * arcSecondsPerDegree;
            header.northBound = header.maxY = north * arcSecondsPerDegree;
            // Column 0 lies half the columns west of the central meridian.
            header.sinusoidalCentralMeridian = static_cast<float>(west + (columns / 2) * steps.x);
            break;
    }
    return header;
}

}  // namespace

CropLimits limitsUnderSelection(const TerrainHeader& header, const CellRectangle& cells) {
    const Steps steps = stepsOf(header);
    const GridOrigin origin = originOf(header);
    CropLimits limits{origin.x + cells.west * steps.x, origin.y + cells.south * steps.y,
                      origin.x + cells.east * steps.x, origin.y + cells.north * steps.y};
    if (snapsToSteps(cropKindOf(header))) {
        limits = snappedLimits(header, limits);
    }
    return clamped(header, limits);
}

CropLimits acceptedLimits(const TerrainHeader& header, CropLimits limits) {
    if (cropKindOf(header) == CropKind::SinusoidalGrid) {
        limits = snappedLimits(header, limits);
    }
    return clamped(header, limits);
}

support::Result<terrain::Terrain> cropTerrain(const terrain::Terrain& terrain, CropLimits limits) {
    const TerrainHeader& old = terrain.header;
    const CropKind kind = cropKindOf(old);
    if (kind == CropKind::Refused) {
        return support::ErrorCode::CannotSelectAreaSinusoidal;
    }
    limits = acceptedLimits(old, limits);
    if (kind == CropKind::Planar) {
        limits = snappedLimits(old, limits);
    }
    const Steps steps = stepsOf(old);
    if (!limits.formsRectangle() || !(steps.x > 0) || !(steps.y > 0)) {
        return support::ErrorCode::ImproperBoundaries;
    }
    const int columns = terrain::RoundToInt((limits.east - limits.west) / steps.x + 1);
    const int rows = terrain::RoundToInt((limits.north - limits.south) / steps.y + 1);
    auto created = terrain::TerrainModel::create(rows, columns);
    if (!created) {
        return created.error();
    }
    terrain::TerrainModel grid = std::move(created.value());
    const GridOrigin origin = originOf(old);
    const double firstColumn = (limits.west - origin.x) / steps.x;
    const double firstRow = (limits.south - origin.y) / steps.y;
    for (int row = 0; row < rows; ++row) {
        auto cells = grid.row(row);
        for (int column = 0; column < columns; ++column) {
            cells[column] = sampleGrid(terrain.grid, firstColumn + column, firstRow + row);
        }
    }
    const ValueRange range = storeAboveLowest(grid);
    terrain::Terrain cropped;
    cropped.header = croppedHeader(old, limits.west, limits.south, columns, rows);
    if (range.any) {
        cropped.header.minElevation = old.minElevation + range.lowest;
        cropped.header.maxElevation = old.minElevation + range.highest;
    }
    cropped.grid = std::move(grid);
    cropped.loaded = true;
    return cropped;
}

}  // namespace tavrok::edit

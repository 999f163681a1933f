#include "importers/LoadedTerrainCheck.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "support/Units.h"

namespace tavrok::importers {

namespace {

using support::arcSecondsPerDegree;
using support::Error;
using support::ErrorCode;

constexpr double highestLatitude = 90.0;
constexpr double highestLongitude = 360.0;
constexpr double widestLongitudeSpan = 360.0;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

Error georeferencing(std::string detail) {
    return Error{ErrorCode::ImproperGeoreferencing, std::move(detail)};
}

support::Status checkSpacing(const terrain::TerrainHeader& header) {
    for (const auto& [name, spacing] :
         {std::pair{"x spacing", header.spacingX}, std::pair{"y spacing", header.spacingY}}) {
        if (!(spacing > 0) || !std::isfinite(spacing)) {
            return georeferencing(std::string(name) + " " + number(spacing) +
                                  " is not a positive distance");
        }
    }
    for (const double bound : {header.westBound, header.eastBound, header.southBound,
                               header.northBound, header.originX, header.originY}) {
        if (!std::isfinite(bound)) {
            return georeferencing("bound " + number(bound) + " is not a number");
        }
    }
    return support::success();
}

// Both the degrees and the arc-second bounds, since either may be read.
support::Status checkLatitudesAndLongitudes(const terrain::TerrainHeader& header) {
    for (const double latitude :
         {double{header.southLat}, double{header.northLat}, header.southBound / arcSecondsPerDegree,
          header.northBound / arcSecondsPerDegree}) {
        if (!(std::fabs(latitude) <= highestLatitude)) {
            return georeferencing("latitude " + number(latitude) + " lies outside -90 to 90");
        }
    }
    const double westDegrees = header.westBound / arcSecondsPerDegree;
    const double eastDegrees = header.eastBound / arcSecondsPerDegree;
    for (const double longitude :
         {double{header.westLon}, double{header.eastLon}, westDegrees, eastDegrees}) {
        if (!(std::fabs(longitude) <= highestLongitude)) {
            return georeferencing("longitude " + number(longitude) + " lies outside -360 to 360");
        }
    }
    for (const double span : {double{header.eastLon} - header.westLon, eastDegrees - westDegrees}) {
        if (span > widestLongitudeSpan) {
            return georeferencing("longitudes span " + number(span) + " degrees, more than 360");
        }
    }
    return support::success();
}

support::Status checkElevations(const terrain::TerrainHeader& header) {
    const double metresPerUnit = header.verticalUnitFactor > 0 ? header.verticalUnitFactor : 1.0;
    for (const double elevation : {header.minElevation, header.maxElevation}) {
        const double metres = elevation * metresPerUnit;
        if (!(std::fabs(metres) <= highestUsableElevation)) {
            return Error{ErrorCode::ElevationOutOfRange, number(metres) + " m lies beyond " +
                                                             number(highestUsableElevation) +
                                                             " m from sea level"};
        }
    }
    return support::success();
}

void markNonFiniteCellsMissing(LoadedTerrain& loaded) {
    long marked = 0;
    for (float& cell : loaded.grid.cells()) {
        if (!std::isfinite(cell)) {
            cell = terrain::missingCell;
            ++marked;
        }
    }
    if (marked > 0 && loaded.header.missingCells) {
        *loaded.header.missingCells += marked;
    }
}

}  // namespace

support::Status CheckLoadedTerrain(LoadedTerrain& loaded) {
    const auto& header = loaded.header;
    if (loaded.grid.rows() < fewestRowsOrColumns || loaded.grid.columns() < fewestRowsOrColumns) {
        return Error{ErrorCode::ImproperRowsOrColumns, "fewer than 2 rows or columns"};
    }
    if (auto spacing = checkSpacing(header); !spacing) {
        return spacing;
    }
    if (header.projection == terrain::ProjectionKind::LatLon) {
        if (auto degrees = checkLatitudesAndLongitudes(header); !degrees) {
            return degrees;
        }
    }
    if (auto elevations = checkElevations(header); !elevations) {
        return elevations;
    }
    markNonFiniteCellsMissing(loaded);
    return support::success();
}

}  // namespace tavrok::importers

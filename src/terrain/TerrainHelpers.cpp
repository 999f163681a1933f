#include "terrain/TerrainHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geodesy/Utm.h"

namespace tavrok::terrain {

std::int32_t RoundToInt(double value) {
    return static_cast<std::int32_t>(std::round(value));
}

float CellValue(const Terrain& terrain, int column, int row, bool addMinimum) {
    const auto& header = terrain.header;
    const float base = addMinimum ? static_cast<float>(header.minElevation) : 0.0f;
    if (!terrain.loaded || header.gridKind == gridKindMarsPolar || column < 0 || row < 0 ||
        column >= terrain.grid.columns() || row >= terrain.grid.rows()) {
        return base;
    }
    const float cell = terrain.grid.at(column, row);
    return (isMissing(cell) ? 0.0f : cell) + base;
}

float ElevationAt(const Terrain& terrain, double columnF, double rowF, bool addMinimum) {
    if (!terrain.loaded) {
        return 0.0f;
    }
    const auto& grid = terrain.grid;
    const auto minimum = static_cast<float>(terrain.header.minElevation);
    // NaN and huge indices fail these tests before any truncation.
    if (!(columnF >= 0 && rowF >= 0 && columnF < grid.columns() - 1 && rowF < grid.rows() - 1)) {
        return minimum;
    }
    const int c0 = static_cast<int>(columnF);
    const int r0 = static_cast<int>(rowF);
    const float sw = grid.at(c0, r0);
    const float nw = grid.at(c0, r0 + 1);
    const float ne = grid.at(c0 + 1, r0 + 1);
    const float se = grid.at(c0 + 1, r0);
    float result = 0.0f;
    if (!isMissing(sw) && !isMissing(nw) && !isMissing(ne) && !isMissing(se)) {
        const auto rowFraction = static_cast<float>(rowF - r0);
        const float west = sw + (nw - sw) * rowFraction;
        const float east = se + (ne - se) * rowFraction;
        result = std::max(0.0f, west + (east - west) * static_cast<float>(columnF - c0));
    } else {
        float sum = 0.0f;
        int count = 0;
        for (const float cell : {sw, nw, ne, se}) {
            if (!isMissing(cell)) {
                sum += cell;
                ++count;
            }
        }
        result = count > 0 ? sum / static_cast<float>(count) : 0.0f;
    }
    return addMinimum ? result + minimum : result;
}

namespace {

GridPoint utmToGrid(const TerrainHeader& header, double longitude, double latitude) {
    geodesy::UtmConverter converter;
    if (converter.setUtmParameters(header.ellipsoid, header.utmZone) != 0) {
        return {};
    }
    const auto utm = converter.latLonToUtm(latitude, longitude);
    if (utm.flags != 0 || !(header.spacingX > 0) || !(header.spacingY > 0)) {
        return {};
    }
    return {(utm.easting - header.westBound) / header.spacingX,
            (utm.northing - header.southBound) / header.spacingY};
}

// The bounds are the centres of the corner samples, so they span columns - 1 intervals.
GridPoint geographicToGrid(const TerrainHeader& header, double longitude, double latitude) {
    const double width = header.eastBound - header.westBound;
    const double height = header.northBound - header.southBound;
    if (width == 0 || height == 0) {
        return {};
    }
    return {(header.columns - 1) * (longitude * 3600 - header.westBound) / width,
            (header.rows - 1) * (latitude * 3600 - header.southBound) / height};
}

GridPoint sinusoidalToGrid(const TerrainHeader& header, double longitude, double latitude) {
    if (!(header.degreesPerColumn > 0 && header.degreesPerRow > 0)) {
        return {};
    }
    double column = (longitude - header.sinusoidalCentralMeridian) / header.degreesPerColumn;
    if (header.projection == ProjectionKind::Sinusoidal) {
        column *= std::cos(latitude * geodesy::radiansPerDegree);
    }
    return {header.columns / 2 + column, (latitude - header.southLat) / header.degreesPerRow};
}

}  // namespace

GridPoint GeoToGrid(const Terrain& terrain, double longitude, double latitude) {
    const auto& header = terrain.header;
    if (header.gridKind == gridKindDem) {
        return header.coordinateType == coordinateTypeUtm
                   ? utmToGrid(header, longitude, latitude)
                   : geographicToGrid(header, longitude, latitude);
    }
    if (header.gridKind == gridKindSinusoidal) {
        return sinusoidalToGrid(header, longitude, latitude);
    }
    return {};
}

namespace {

std::string format(const char* pattern, auto... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::string nameLine(const TerrainHeader& header) {
    return "Name:  " +
           (header.title.empty() ? std::string("Digital Elevation Model") : header.title);
}

std::vector<std::string> geographicLines(const TerrainHeader& header, std::string name) {
    return {std::move(name), "Coordinate Type:  Lat/Lon",
            format("Longitude:  %-3.3f to %-3.3f", header.westLon, header.eastLon),
            format("Latitude:  %-3.3f to %-3.3f", header.southLat, header.northLat)};
}

std::vector<std::string> demLines(const TerrainHeader& header) {
    if (header.coordinateType != coordinateTypeUtm) {
        return geographicLines(header, nameLine(header));
    }
    const auto datum = geodesy::datumDisplayName(header.ellipsoid);
    return {nameLine(header), "Coordinate Type:  UTM Zone" + header.zoneText,
            datum.empty() ? std::string() : "Ellipsoid:  " + std::string(datum),
            format("East:  %-7d to %-7d", static_cast<int>(header.westBound),
                   static_cast<int>(header.eastBound)),
            format("North:  %-7d to %-7d", static_cast<int>(header.southBound),
                   static_cast<int>(header.northBound))};
}

}  // namespace

std::vector<std::string> DemSpecsLines(const TerrainHeader& header) {
    switch (header.gridKind) {
        case gridKindDem:
            return demLines(header);
        case gridKindMarsPolar:
            return {"Name:  Mars Polar " + header.title, "Coordinate Type:  Lat/Lon"};
        case gridKindMatrix:
            return {"Name:  Terrain Matrix", "Coordinate Type:  X/Y",
                    format("X from %-7d to %-7d", static_cast<int>(header.originX),
                           static_cast<int>(header.maxX)),
                    format("Y from %-7d to %-7d", static_cast<int>(header.originY),
                           static_cast<int>(header.maxY))};
        case gridKindSinusoidal:
            return geographicLines(header, header.planet == Planet::Mars
                                               ? "Name:  MOLA Topography"
                                               : "Name:  GLOBE or GTOPO30 DEM");
        default:
            return {};
    }
}

long MissingCellCount(const TerrainModel& grid) {
    const auto cells = grid.cells();
    return static_cast<long>(std::count_if(cells.begin(), cells.end(), isMissing));
}

}  // namespace tavrok::terrain

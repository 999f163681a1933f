#include "OverheadFixtures.h"

#include <algorithm>

#include "geodesy/Utm.h"

namespace tavrok::overhead::test {

namespace {

terrain::Terrain filled(int rows, int columns, const std::function<float(int, int)>& cell) {
    terrain::Terrain terrain;
    terrain.grid = terrain::TerrainModel::create(rows, columns).value();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            terrain.grid.at(c, r) = cell(c, r);
        }
    }
    terrain.header.rows = rows;
    terrain.header.columns = columns;
    terrain.loaded = true;
    return terrain;
}

}  // namespace

terrain::Terrain utmTerrain(int rows, int columns, const std::function<float(int, int)>& cell,
                            double minElevation, double maxElevation) {
    auto terrain = filled(rows, columns, cell);
    auto& h = terrain.header;
    h.projection = terrain::ProjectionKind::UTM;
    h.gridKind = terrain::gridKindDem;
    h.coordinateType = terrain::coordinateTypeUtm;
    h.ellipsoid = geodesy::EllipsoidId::Grs1980;
    h.utmZone = 10;
    h.hemisphere = 'N';
    h.zoneText = "10N";
    h.spacingX = 30;
    h.spacingY = 30;
    h.westBound = h.originX = 587064;
    h.southBound = h.originY = 5013357;
    h.eastBound = h.maxX = h.westBound + 30.0 * (columns - 1);
    h.northBound = h.maxY = h.southBound + 30.0 * (rows - 1);
    h.minElevation = minElevation;
    h.maxElevation = maxElevation;
    geodesy::UtmConverter converter;
    converter.setUtmParameters(h.ellipsoid, 10);
    const auto sw = converter.utmToLatLon("10N", h.westBound, h.southBound);
    const auto ne = converter.utmToLatLon("10N", h.eastBound, h.northBound);
    const auto nw = converter.utmToLatLon("10N", h.westBound, h.northBound);
    const auto se = converter.utmToLatLon("10N", h.eastBound, h.southBound);
    h.westLon = static_cast<float>(std::min(sw.longitudeDegrees, nw.longitudeDegrees));
    h.eastLon = static_cast<float>(std::max(se.longitudeDegrees, ne.longitudeDegrees));
    h.southLat = static_cast<float>(std::min(sw.latitudeDegrees, se.latitudeDegrees));
    h.northLat = static_cast<float>(std::max(nw.latitudeDegrees, ne.latitudeDegrees));
    return terrain;
}

terrain::Terrain geographicTerrain(int rows, int columns,
                                   const std::function<float(int, int)>& cell) {
    return geographicTerrain(rows, columns, -60.0 * (columns - 1) / 2, -60.0 * (rows - 1) / 2, 60,
                             cell);
}

terrain::Terrain geographicTerrain(int rows, int columns, double west, double south, float spacing,
                                   const std::function<float(int, int)>& cell) {
    auto terrain = filled(rows, columns, cell);
    auto& h = terrain.header;
    h.projection = terrain::ProjectionKind::LatLon;
    h.gridKind = terrain::gridKindDem;
    h.coordinateType = terrain::coordinateTypeGeographic;
    h.ellipsoid = geodesy::EllipsoidId::Wgs84;
    h.spacingX = spacing;
    h.spacingY = spacing;
    h.westBound = west;
    h.eastBound = west + spacing * (columns - 1.0);
    h.southBound = south;
    h.northBound = south + spacing * (rows - 1.0);
    h.westLon = static_cast<float>(h.westBound / 3600);
    h.eastLon = static_cast<float>(h.eastBound / 3600);
    h.southLat = static_cast<float>(h.southBound / 3600);
    h.northLat = static_cast<float>(h.northBound / 3600);
    h.metresPerUnitX = 30.9f;
    return terrain;
}

}  // namespace tavrok::overhead::test

#include "EditFixtures.h"

#include <algorithm>
#include <fstream>

#include "importers/SrtmImporter.h"

namespace tavrok::test {

namespace {

terrain::TerrainModel filledGrid(int rows, int columns,
                                 const std::function<float(int, int)>& value) {
    auto grid = terrain::TerrainModel::create(rows, columns).value();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            grid.at(column, row) = value(column, row);
        }
    }
    return grid;
}

}  // namespace

terrain::Terrain geographicTerrain(int rows, int columns, double west, double south, float spacing,
                                   const std::function<float(int, int)>& value) {
    terrain::Terrain terrain;
    terrain.grid = filledGrid(rows, columns, value);
    auto& header = terrain.header;
    header.rows = rows;
    header.columns = columns;
    header.projection = terrain::ProjectionKind::LatLon;
    header.coordinateType = terrain::coordinateTypeGeographic;
    header.ellipsoid = geodesy::EllipsoidId::Wgs84;
    header.spacingX = header.spacingY = spacing;
    header.westBound = header.originX = west * 3600;
    header.southBound = header.originY = south * 3600;
    header.eastBound = header.maxX = header.westBound + (columns - 1) * spacing;
    header.northBound = header.maxY = header.southBound + (rows - 1) * spacing;
    header.westLon = static_cast<float>(west);
    header.southLat = static_cast<float>(south);
    header.eastLon = static_cast<float>(header.eastBound / 3600);
    header.northLat = static_cast<float>(header.northBound / 3600);
    header.minElevation = 100;
    float highest = 0;
    for (const float cell : terrain.grid.cells()) {
        highest = std::max(highest, cell);
    }
    header.maxElevation = 100 + highest;
    terrain.loaded = true;
    return terrain;
}

terrain::Terrain utmTerrain(int rows, int columns, double originX, double originY, float spacing,
                            const std::function<float(int, int)>& value) {
    terrain::Terrain terrain;
    terrain.grid = filledGrid(rows, columns, value);
    auto& header = terrain.header;
    header.rows = rows;
    header.columns = columns;
    header.utmZone = 10;
    header.zoneText = "10N";
    header.spacingX = header.spacingY = spacing;
    header.westBound = header.originX = originX;
    header.southBound = header.originY = originY;
    header.eastBound = header.maxX = originX + (columns - 1) * spacing;
    header.northBound = header.maxY = originY + (rows - 1) * spacing;
    header.minElevation = 100;
    terrain.loaded = true;
    return terrain;
}

terrain::Terrain loadRealTile(const std::filesystem::path& file,
                              const std::filesystem::path& folder) {
    if (!std::filesystem::exists(file)) {
        return {};
    }
    std::filesystem::path input = file;
    if (file.extension() == ".bil") {
        // The srtmlib tiles come without their USGS side files: 1/1200 degree pixels from the
        // tile's north-west corner.
        input = folder / file.filename();
        std::filesystem::copy_file(file, input);
        std::filesystem::permissions(input, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        const auto corner = importers::HgtCornerFromName(input.stem().string());
        std::ofstream(folder / (input.stem().string() + ".hdr"))
            << "BYTEORDER I\nNROWS 1201\nNCOLS 1201\nNBITS 16\n";
        std::ofstream(folder / (input.stem().string() + ".blw"))
            << "0.000833333333333\n0\n0\n-0.000833333333333\n"
            << corner.longitude << "\n"
            << corner.latitude + 1 << "\n";
    }
    auto outcome = importers::LoadSrtmFiles({input}, {});
    if (!outcome.terrain) {
        return {};
    }
    auto& loaded = outcome.terrain.value();
    terrain::Terrain terrain;
    terrain.grid = std::move(loaded.grid);
    terrain.header = loaded.header;
    terrain.loaded = true;
    return terrain;
}

}  // namespace tavrok::test

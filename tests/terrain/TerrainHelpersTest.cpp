#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geodesy/GeodeticPoint.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::terrain {
namespace {

// A loaded terrain whose cells are given row by row, south row first.
Terrain makeTerrain(int rows, int columns, std::initializer_list<float> cells, double minimum = 0) {
    Terrain terrain;
    terrain.grid = TerrainModel::create(rows, columns).value();
    auto destination = terrain.grid.cells().begin();
    for (const float cell : cells) {
        *destination++ = cell;
    }
    terrain.header.rows = rows;
    terrain.header.columns = columns;
    terrain.header.minElevation = minimum;
    terrain.loaded = true;
    return terrain;
}

TEST(RoundToInt, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(RoundToInt(2.5), 3);
    EXPECT_EQ(RoundToInt(-2.5), -3);
    EXPECT_EQ(RoundToInt(2.4999), 2);
    EXPECT_EQ(RoundToInt(-0.4), 0);
    EXPECT_EQ(RoundToInt(0.49999999999999994), 0);
    EXPECT_EQ(RoundToInt(1e9 + 0.5), 1000000001);
}

TEST(TerrainModel, RefusesEmptyAndOverflowingSizes) {
    using support::ErrorCode;
    EXPECT_EQ(TerrainModel::create(0, 5).error().code, ErrorCode::ImproperRowsOrColumns);
    EXPECT_EQ(TerrainModel::createUninitialised(5, -1).error().code,
              ErrorCode::ImproperRowsOrColumns);
    EXPECT_EQ(TerrainModel::create(2'000'000'000, 2'000'000'000).error().code,
              ErrorCode::NotEnoughMemory);
    EXPECT_EQ(TerrainModel::createUninitialised(2'000'000'000, 2'000'000'000).error().code,
              ErrorCode::NotEnoughMemory);
}

TEST(TerrainModel, RowZeroIsTheSouthEdge) {
    auto grid = TerrainModel::create(2, 3, missingCell).value();
    grid.row(1)[2] = 7.0f;
    EXPECT_EQ(grid.at(2, 1), 7.0f);
    EXPECT_EQ(grid.cells()[5], 7.0f);
    EXPECT_EQ(MissingCellCount(grid), 5);
}

TEST(ElevationAt, InterpolatesBilinearlyBetweenFourValidCells) {
    const auto terrain = makeTerrain(2, 2, {10, 20, 30, 40});
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.5, 0.5, false), 25.0f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.0, 0.0, false), 10.0f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.25, 0.0, false), 12.5f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.0, 0.5, false), 20.0f);
}

TEST(ElevationAt, AveragesValidNeighboursWhenOneIsMissing) {
    const auto terrain = makeTerrain(2, 2, {10, missingCell, 30, 50});
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.5, 0.5, false), 30.0f);
    const auto allMissing = makeTerrain(2, 2, {-1, -1, -1, -1}, 100);
    EXPECT_FLOAT_EQ(ElevationAt(allMissing, 0.5, 0.5, false), 0.0f);
    EXPECT_FLOAT_EQ(ElevationAt(allMissing, 0.5, 0.5, true), 100.0f);
}

// The lowest ground is stored as 0 and is a real measurement, not a hole.
TEST(ElevationAt, TreatsTheLowestCellAsValidGround) {
    const auto terrain = makeTerrain(2, 2, {0, 0, 0, 40}, 500);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.5, 0.5, false), 10.0f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.5, 0.5, true), 510.0f);
}

TEST(ElevationAt, ReturnsTheMinimumOutsideTheInterpolableArea) {
    const auto terrain = makeTerrain(2, 3, {1, 2, 3, 4, 5, 6}, 7);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 2.0, 0.0, false), 7.0f);  // last column
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 0.0, 1.0, true), 7.0f);   // last row
    EXPECT_FLOAT_EQ(ElevationAt(terrain, -0.5, 0.0, false), 7.0f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, std::nan(""), 0.0, false), 7.0f);
    EXPECT_FLOAT_EQ(ElevationAt(terrain, 1e300, 0.0, false), 7.0f);
    EXPECT_FLOAT_EQ(ElevationAt(Terrain{}, 0.5, 0.5, true), 0.0f);
}

TEST(CellValue, ReadsMissingAndOutsideCellsAsZeroPlusMinimum) {
    auto terrain = makeTerrain(2, 2, {5, missingCell, 7, 8}, 100);
    EXPECT_FLOAT_EQ(CellValue(terrain, 0, 0, false), 5.0f);
    EXPECT_FLOAT_EQ(CellValue(terrain, 0, 0, true), 105.0f);
    EXPECT_FLOAT_EQ(CellValue(terrain, 1, 0, false), 0.0f);
    EXPECT_FLOAT_EQ(CellValue(terrain, 2, 0, true), 100.0f);
    EXPECT_FLOAT_EQ(CellValue(terrain, 0, -1, false), 0.0f);
    terrain.header.gridKind = gridKindMarsPolar;
    EXPECT_FLOAT_EQ(CellValue(terrain, 0, 0, true), 100.0f);
}

// Bounds are the centres of the corner samples: the east bound is the last column.
TEST(GeoToGrid, MapsGeographicBoundsOntoTheCornerSamples) {
    auto terrain = makeTerrain(3, 5, {});
    auto& header = terrain.header;
    header.gridKind = gridKindDem;
    header.coordinateType = coordinateTypeGeographic;
    header.westBound = -105 * 3600.0;
    header.eastBound = -104 * 3600.0;
    header.southBound = 40 * 3600.0;
    header.northBound = 40.5 * 3600.0;
    const auto southWest = GeoToGrid(terrain, -105, 40);
    EXPECT_DOUBLE_EQ(southWest.column, 0);
    EXPECT_DOUBLE_EQ(southWest.row, 0);
    const auto northEast = GeoToGrid(terrain, -104, 40.5);
    EXPECT_DOUBLE_EQ(northEast.column, 4);
    EXPECT_DOUBLE_EQ(northEast.row, 2);
    header.eastBound = header.westBound;
    EXPECT_DOUBLE_EQ(GeoToGrid(terrain, -104, 40.5).column, 0);
}

TEST(GeoToGrid, MapsUtmTerrainsThroughTheirZone) {
    auto terrain = makeTerrain(2, 2, {});
    auto& header = terrain.header;
    header.coordinateType = coordinateTypeUtm;
    header.ellipsoid = geodesy::EllipsoidId::Wgs84;
    header.utmZone = 13;
    header.spacingX = 30;
    header.spacingY = 30;
    // 40N 105W is the zone's central meridian: easting 500000, northing 4427757.219 (cs2cs).
    header.westBound = 500000 - 300;
    header.southBound = 4427757.219 - 600;
    // Degrees become radians with pi to 8 decimals, which moves a point at 105 W by about
    // 1.3 cm: well inside a thousandth of a 30 m cell.
    const auto point = GeoToGrid(terrain, -105, 40);
    EXPECT_NEAR(point.column, 10.0, 1e-3);
    EXPECT_NEAR(point.row, 20.0, 1e-3);
    EXPECT_DOUBLE_EQ(GeoToGrid(terrain, -105, 89).column, 0);  // out of UTM range
}

TEST(GeoToGrid, MapsSinusoidalGridsFromTheCentralMeridian) {
    auto terrain = makeTerrain(10, 20, {});
    auto& header = terrain.header;
    header.gridKind = gridKindSinusoidal;
    header.projection = ProjectionKind::Sinusoidal;
    header.sinusoidalCentralMeridian = 10;
    header.degreesPerColumn = 0.5;
    header.degreesPerRow = 0.5;
    header.southLat = 60;
    const auto point = GeoToGrid(terrain, 12, 61);
    EXPECT_NEAR(point.column, 10 + 4 * std::cos(61 * geodesy::radiansPerDegree), 1e-9);
    EXPECT_NEAR(point.row, 2, 1e-9);
    header.projection = ProjectionKind::LatLon;
    EXPECT_NEAR(GeoToGrid(terrain, 12, 61).column, 14, 1e-9);
    header.degreesPerRow = 0;
    EXPECT_DOUBLE_EQ(GeoToGrid(terrain, 12, 61).row, 0);
}

TEST(DemSpecsLines, DescribeAUtmTerrain) {
    TerrainHeader header;
    header.zoneText = "10N";
    header.ellipsoid = geodesy::EllipsoidId::Grs1980;
    header.westBound = 587064.9;
    header.eastBound = 617424;
    header.southBound = 5013357;
    header.northBound = 5037297;
    const std::vector<std::string> expected{
        "Name:  Digital Elevation Model", "Coordinate Type:  UTM Zone10N", "Ellipsoid:  NAD 83",
        "East:  587064  to 617424 ", "North:  5013357 to 5037297"};
    EXPECT_EQ(DemSpecsLines(header), expected);
    header.ellipsoid = geodesy::EllipsoidId::Airy;
    EXPECT_EQ(DemSpecsLines(header)[2], "");
}

TEST(DemSpecsLines, DescribeOtherGridKinds) {
    TerrainHeader header;
    header.title = std::string(80, 'T');
    header.coordinateType = coordinateTypeGeographic;
    header.westLon = -105.5f;
    header.eastLon = -104.25f;
    header.southLat = 39.0f;
    header.northLat = 40.125f;
    const auto geographic = DemSpecsLines(header);
    ASSERT_EQ(geographic.size(), 4u);
    EXPECT_EQ(geographic[0], "Name:  " + std::string(80, 'T'));
    EXPECT_EQ(geographic[2], "Longitude:  -105.500 to -104.250");
    EXPECT_EQ(geographic[3], "Latitude:  39.000 to 40.125");

    header.gridKind = gridKindMatrix;
    header.originX = 10.9;
    header.maxX = 200;
    header.originY = -5;
    header.maxY = 300;
    EXPECT_EQ(DemSpecsLines(header),
              (std::vector<std::string>{"Name:  Terrain Matrix", "Coordinate Type:  X/Y",
                                        "X from 10      to 200    ", "Y from -5      to 300    "}));
    header.gridKind = gridKindSinusoidal;
    header.planet = Planet::Mars;
    EXPECT_EQ(DemSpecsLines(header)[0], "Name:  MOLA Topography");
    header.gridKind = gridKindMarsPolar;
    EXPECT_EQ(DemSpecsLines(header)[0], "Name:  Mars Polar " + header.title);
}

}  // namespace
}  // namespace tavrok::terrain

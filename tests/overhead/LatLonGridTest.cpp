#include <gtest/gtest.h>

#include <cmath>

#include "OverheadFixtures.h"
#include "overhead/LatLonGrid.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {
namespace {

TEST(GridSpacing, TakesTheCandidateNearestAThirdOfTheExtent) {
    EXPECT_DOUBLE_EQ(gridSpacing(0.3), 0.1);
    EXPECT_DOUBLE_EQ(gridSpacing(0.01), 0.01);
    EXPECT_DOUBLE_EQ(gridSpacing(30), 10);
    EXPECT_DOUBLE_EQ(gridSpacing(1000), 100);
    EXPECT_DOUBLE_EQ(gridSpacing(1.0), 0.2);
    // A third of 4.5 lies halfway between 1 and 2: the smaller wins.
    EXPECT_DOUBLE_EQ(gridSpacing(4.5), 1);
    EXPECT_DOUBLE_EQ(gridSpacing(4.51), 2);
}

TEST(GridSpacing, GlobalTileSetsUseStepsOfTheExtent) {
    EXPECT_DOUBLE_EQ(globalGridSpacing(30), 15);
    EXPECT_DOUBLE_EQ(globalGridSpacing(29.9), 10);
    EXPECT_DOUBLE_EQ(globalGridSpacing(15), 10);
    EXPECT_DOUBLE_EQ(globalGridSpacing(10), 5);
    EXPECT_DOUBLE_EQ(globalGridSpacing(5), 2);
    EXPECT_DOUBLE_EQ(globalGridSpacing(2), 1);
    EXPECT_DOUBLE_EQ(globalGridSpacing(1.5), 0.5);
    EXPECT_DOUBLE_EQ(globalGridSpacing(1), 0.2);
}

TEST(GridLines, UtmLinesCrossTheEquatorAtZeroAndNegativeMultiples) {
    const auto lines = gridLines(GridLayout::Utm, -0.25, 0.5, 0.1);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NEAR(lines.front(), -0.2, 1e-12);
    EXPECT_EQ(lines[2], 0.0);
    EXPECT_FALSE(std::signbit(lines[2]));
    EXPECT_NEAR(lines.back(), 0.3, 1e-12);
}

TEST(GridLines, ABoundOnALineStartsOnIt) {
    EXPECT_NEAR(gridLines(GridLayout::Utm, 45.0, 0.3, 0.1).front(), 45.0, 1e-12);
    EXPECT_NEAR(gridLines(GridLayout::LatLon, -121.0, 1.0, 0.2).front(), -121.0, 1e-12);
}

TEST(GridLines, LatLonCountsOneMoreThanTheRatioRounded) {
    const auto lines = gridLines(GridLayout::LatLon, -1.5, 3, 1);
    EXPECT_EQ(lines, (std::vector<double>{-1, 0, 1, 2}));
    EXPECT_EQ(gridLines(GridLayout::LatLon, 0.5, 2.4, 1).size(), 3u);
}

TEST(GridLines, GlobalTilesStartAtTheBoundMinusItsRemainder) {
    EXPECT_EQ(gridLines(GridLayout::GlobalTile, -7.3, 10, 2),
              (std::vector<double>{-6, -4, -2, 0, 2, 4}));
    EXPECT_EQ(gridLines(GridLayout::GlobalTile, 7.3, 3, 2).front(), 6);
    // Only a ratio above one half rounds up.
    EXPECT_EQ(gridLines(GridLayout::GlobalTile, 0, 3, 2).size(), 2u);
    EXPECT_EQ(gridLines(GridLayout::GlobalTile, 0, 3.2, 2).size(), 3u);
    EXPECT_TRUE(gridLines(GridLayout::None, 0, 3, 1).empty());
}

TEST(GridLabel, DegreesAndMinutesCarrySixtyMinutesAwayFromZero) {
    EXPECT_EQ(gridLabel(45.5, true), "45:30 ");
    EXPECT_EQ(gridLabel(10.99999, true), "11:00 ");
    EXPECT_EQ(gridLabel(-122.9999, true), "-123:00 ");
    EXPECT_EQ(gridLabel(-121.75, true), "-121:45 ");
    EXPECT_EQ(gridLabel(0.0, true), "00:00 ");
    EXPECT_EQ(gridLabel(-121.7, false), "-121.70 ");
    EXPECT_EQ(gridLabel(45.45, false), "45.45  ");
}

const support::Rgb ink{1, 2, 3};

TEST(LatLonGridDrawing, GeographicLinesAreStraightAndKeepTheLabelStripsClear) {
    // 5° by 1°, centred on the crossing of the equator and the prime meridian.
    const auto terrain = test::geographicTerrain(61, 301, [](int, int) { return 0.0f; });
    const auto geometry = ViewGeometry::compute(61, 301, 1.0f, 1024, 768);
    support::RgbImage image(geometry.width, geometry.height);
    drawLatLonGrid(image, terrain, geometry, ink, false, nullptr);
    // Meridians every 2°: the prime meridian at column 150, -2° at column 30.
    for (const int x : {30, 150, 270}) {
        EXPECT_EQ(image.pixel(x, 10), ink) << x;
        EXPECT_EQ(image.pixel(x, 50), (support::Rgb{255, 255, 255})) << x;
    }
    EXPECT_NE(image.pixel(31, 10), ink);
    // Parallels every 0.2°: the equator is 30 rows up from the bottom edge, at H − 30.
    EXPECT_EQ(image.pixel(100, 61 - 30), ink);
    EXPECT_EQ(image.pixel(100, 61 - 30 - 12), ink);
    EXPECT_NE(image.pixel(200, 61 - 30), ink);
}

TEST(LatLonGridDrawing, UtmMeridiansFollowTheTerrainsOwnGeoToGrid) {
    const auto terrain = test::utmTerrain(400, 500, [](int, int) { return 0.0f; });
    const auto geometry = ViewGeometry::compute(400, 500, 1.0f, 1024, 768);
    support::RgbImage image(geometry.width, geometry.height);
    drawLatLonGrid(image, terrain, geometry, ink, true, nullptr);
    const auto& h = terrain.header;
    const double spacing = gridSpacing(h.eastLon - h.westLon);
    const double meridian =
        gridLines(GridLayout::Utm, h.westLon, h.eastLon - h.westLon, spacing)[1];
    // Every row outside the label strip holds the meridian within a pixel of where the
    // terrain helper puts it.
    for (int top = 100; top < 380; top += 40) {
        const double latitude = h.southLat + (399 - top) * (h.northLat - h.southLat) / 400;
        const auto cell = terrain::GeoToGrid(terrain, meridian, latitude);
        const int x = static_cast<int>(std::lround(cell.column));
        const bool found = image.pixel(x, top) == ink || image.pixel(x - 1, top) == ink ||
                           image.pixel(x + 1, top) == ink;
        EXPECT_TRUE(found) << "row " << top << " near column " << x;
    }
}

TEST(LatLonGridDrawing, MatricesGetNoGrid) {
    auto terrain = test::utmTerrain(50, 50, [](int, int) { return 0.0f; });
    terrain.header.gridKind = terrain::gridKindMatrix;
    EXPECT_EQ(gridLayoutFor(terrain.header), GridLayout::None);
    const auto geometry = ViewGeometry::compute(50, 50, 1.0f, 1024, 768);
    support::RgbImage image(50, 50);
    drawLatLonGrid(image, terrain, geometry, ink, false, nullptr);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            ASSERT_NE(image.pixel(x, y), ink);
        }
    }
}

}  // namespace
}  // namespace tavrok::overhead

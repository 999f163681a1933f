#include "overhead/MapMapping.h"

#include <gtest/gtest.h>

namespace tavrok::overhead {
namespace {

// Expected cells computed by hand from column = x / zoom, row = (H − 1 − y) / zoom.
struct PixelToCell {
    const char* name;
    float zoom;
    int columns;
    int rows;
    MapPoint pixel;
    GridPoint cell;
};

TEST(MapMapping, PixelsBecomeCellsWithRowZeroAtTheBottomOfTheImage) {
    const PixelToCell cases[] = {
        {"zoom 1, north-west corner", 1.0f, 100, 50, {0, 0}, {0, 49}},
        {"zoom 1, north-east corner", 1.0f, 100, 50, {99, 0}, {99, 49}},
        {"zoom 1, south-west corner", 1.0f, 100, 50, {0, 49}, {0, 0}},
        {"zoom 1, south-east corner", 1.0f, 100, 50, {99, 49}, {99, 0}},
        {"zoom 0.5, north-west corner", 0.5f, 200, 100, {0, 0}, {0, 98}},
        {"zoom 0.5, south-east corner", 0.5f, 200, 100, {99, 49}, {198, 0}},
        {"zoom 0.5, inside", 0.5f, 200, 100, {10, 20}, {20, 58}},
        {"zoom 2, north-west corner", 2.0f, 50, 25, {0, 0}, {0, 24.5}},
        {"zoom 2, south-east corner", 2.0f, 50, 25, {99, 49}, {49.5, 0}},
        {"zoom 2, inside", 2.0f, 50, 25, {7, 10}, {3.5, 19.5}},
        {"zoom 1.25", 1.25f, 80, 40, {25, 9}, {20, 32}},
        {"zoom 0.37", 0.37f, 300, 200, {37, 0}, {100, 73 / 0.37}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto geometry = ViewGeometry::compute(c.rows, c.columns, c.zoom, 1024, 768);
        const auto mapping = MapMapping::of(geometry, c.rows, c.columns);
        const GridPoint cell = mapping.gridPoint(c.pixel);
        EXPECT_NEAR(cell.column, c.cell.column, 1e-5);
        EXPECT_NEAR(cell.row, c.cell.row, 1e-5);
    }
}

TEST(MapMapping, NonIntegerZoomSizesTheImageToTheNearestPixel) {
    // 300 × 0.37 = 111 and 200 × 0.37 = 74, so the top row is y = 0 and the bottom y = 73.
    const auto mapping =
        MapMapping::of(ViewGeometry::compute(200, 300, 0.37f, 1024, 768), 200, 300);
    EXPECT_EQ(mapping.imageWidth(), 111);
    EXPECT_EQ(mapping.imageHeight(), 74);
    EXPECT_NEAR(mapping.gridPoint({0, 73}).row, 0.0, 1e-9);
}

TEST(MapMapping, CellsAndPixelsRoundTrip) {
    const float zooms[] = {1.0f, 0.5f, 2.0f, 0.37f, 1.25f};
    const GridPoint cells[] = {{0, 0}, {99, 49}, {12.5, 33.25}, {-3, 60}};
    for (const float zoom : zooms) {
        const MapMapping mapping(zoom, static_cast<int>(100 * zoom), static_cast<int>(50 * zoom),
                                 100, 50);
        for (const auto& cell : cells) {
            SCOPED_TRACE(::testing::Message()
                         << "zoom " << zoom << " cell " << cell.column << ", " << cell.row);
            const GridPoint back = mapping.gridPoint(mapping.mapPoint(cell));
            EXPECT_NEAR(back.column, cell.column, 1e-9);
            EXPECT_NEAR(back.row, cell.row, 1e-9);
            const MapPoint pixel{cell.column, cell.row};
            const MapPoint again = mapping.mapPoint(mapping.gridPoint(pixel));
            EXPECT_NEAR(again.x, pixel.x, 1e-9);
            EXPECT_NEAR(again.y, pixel.y, 1e-9);
        }
    }
}

TEST(MapMapping, GridCornersDrawAtTheImageCorners) {
    const MapMapping mapping(2.0f, 100, 50, 50, 25);
    EXPECT_EQ(mapping.mapPoint({0, 0}), (MapPoint{0, 49}));
    EXPECT_EQ(mapping.mapPoint({49.5, 24.5}), (MapPoint{99, 0}));
}

TEST(MapMapping, ClampingKeepsPixelsOnTheImage) {
    const MapMapping mapping(1.0f, 100, 50, 100, 50);
    const struct {
        MapPoint pixel;
        MapPoint clamped;
        bool inside;
    } cases[] = {
        {{-5, 60}, {0, 49}, false},   {{150, -3}, {99, 0}, false}, {{99, 49}, {99, 49}, true},
        {{100, 10}, {99, 10}, false}, {{42, 7}, {42, 7}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pixel.x << ", " << c.pixel.y);
        EXPECT_EQ(mapping.clampToImage(c.pixel), c.clamped);
        EXPECT_EQ(mapping.containsPixel(c.pixel), c.inside);
    }
    EXPECT_EQ(MapMapping().clampToImage({5, 5}), (MapPoint{0, 0}));
    EXPECT_EQ(MapMapping().gridPoint({5, 5}), (GridPoint{0, 0}));
}

TEST(MapMapping, WindowPositionsLoseTheCentringOffsetAndGainTheScroll) {
    ViewGeometry geometry;
    geometry.offsetX = 30;
    geometry.offsetY = 12;
    EXPECT_EQ(imagePixel(30, 12, geometry, 0, 0), (MapPoint{0, 0}));
    EXPECT_EQ(imagePixel(40, 20, geometry, 5, 7), (MapPoint{15, 15}));
}

}  // namespace
}  // namespace tavrok::overhead

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "OverheadFixtures.h"
#include "overhead/ColorRow.h"
#include "overhead/OverheadView.h"
#include "overhead/Render.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {
namespace {

using namespace colour;

// Cells rise by 10 m per column: every elevation has its own colour on a 0..1400 m scale.
const terrain::Terrain ramp = test::utmTerrain(60, 200, [](int c, int) { return c * 10.0f; });
const ScaleSettings scale{0, 1400, TerrainType::MountainPlain, 0};
const ColorScale& colours = overheadDefaultScale();

support::RgbImage render(const terrain::Terrain& terrain, float zoom,
                         const ShadeGrid* shade = nullptr, const ScaleSettings& settings = scale,
                         int threads = 0) {
    const auto geometry =
        ViewGeometry::compute(terrain.grid.rows(), terrain.grid.columns(), zoom, 1024, 768);
    support::RgbImage image;
    EXPECT_TRUE(
        renderOverhead(terrain, geometry, shade, colours, settings, image, {}, threads).ok());
    return image;
}

Rgb colourOf(float elevation, float shade = 1.0f, const ScaleSettings& settings = scale) {
    return colorForElevation(colours, settings, elevation, shade).color;
}

TEST(RenderOverhead, ZoomOneTakesTheNearestCell) {
    const auto image = render(ramp, 1.0f);
    ASSERT_EQ(image.width(), 200);
    ASSERT_EQ(image.height(), 60);
    for (int x = 0; x < 200; x += 7) {
        EXPECT_EQ(image.pixel(x, 30), colourOf(x * 10.0f)) << x;
    }
}

TEST(RenderOverhead, ZoomJustAboveOneInterpolatesBetweenCells) {
    const auto image = render(ramp, 1.01f);
    ASSERT_EQ(image.width(), 202);
    const float columnsPerPixel = 200.0f / 202.0f;
    int between = 0;
    for (int x = 1; x < 190; ++x) {
        const float elevation = terrain::ElevationAt(ramp, x * columnsPerPixel, 20, true);
        EXPECT_EQ(image.pixel(x, 30), colourOf(elevation)) << x;
        between += image.pixel(x, 30) != colourOf(std::floor(x * columnsPerPixel + 0.5f) * 10);
    }
    EXPECT_GT(between, 50);
}

TEST(RenderOverhead, ShrinkingRoundsHalfCellsUpward) {
    // At zoom 0.4 pixel 1 lies on cell 2.5 and shows cell 3.
    const auto image = render(ramp, 0.4f);
    EXPECT_EQ(image.width(), 80);
    EXPECT_EQ(image.pixel(1, 10), colourOf(30.0f));
}

TEST(RenderOverhead, RowsRunNorthToSouthDownTheImage) {
    const auto northward = test::utmTerrain(50, 10, [](int, int r) { return r * 20.0f; });
    const auto image = render(northward, 1.0f);
    EXPECT_EQ(image.pixel(5, 0), colourOf(49 * 20.0f));
    EXPECT_EQ(image.pixel(5, 49), colourOf(0.0f));
}

TEST(RenderOverhead, MissingCellsAreBelowTheScaleWhenShrunkAndLeftOutWhenEnlarged) {
    auto holed = test::utmTerrain(
        10, 10, [](int, int) { return 500.0f; }, 100.0, 600.0);
    holed.grid.at(4, 5) = terrain::missingCell;
    const ScaleSettings settings{100, 1500, TerrainType::MountainPlain, 0};
    const auto shrunk = render(holed, 1.0f, nullptr, settings);
    EXPECT_EQ(shrunk.pixel(4, 9 - 5), colours.entries[0]);
    EXPECT_EQ(shrunk.pixel(3, 9 - 5), colourOf(600.0f, 1, settings));
    // Under Lowlands with the sea just above minElevation − 1 the hole turns to ocean.
    const ScaleSettings sea{100, 1500, TerrainType::Lowlands, 99};
    EXPECT_EQ(render(holed, 1.0f, nullptr, sea).pixel(4, 9 - 5), colours.entries[oceanEntry]);

    const auto enlarged = render(holed, 2.0f, nullptr, settings);
    // The last row and column of cells lie outside the interpolable area.
    for (int y = 2; y < enlarged.height(); ++y) {
        for (int x = 0; x < 18; ++x) {
            ASSERT_EQ(enlarged.pixel(x, y), colourOf(600.0f, 1, settings)) << x << "," << y;
        }
    }
}

TEST(RenderOverhead, ShadesMultiplyLandButNeverOcean) {
    const auto terrain = test::utmTerrain(4, 4, [](int c, int) { return c < 2 ? 0.0f : 700.0f; });
    ShadeGrid half{4, 4, decltype(ShadeGrid::values)(16, 0.5f)};
    const ScaleSettings sea{0, 1400, TerrainType::IslandOcean, 0};
    const auto image = render(terrain, 1.0f, &half, sea);
    EXPECT_EQ(image.pixel(0, 0), colours.entries[oceanEntry]);
    EXPECT_EQ(image.pixel(3, 0), colourOf(700.0f, 0.5f, sea));
}

TEST(RenderOverhead, EnlargedShadesAreInterpolatedPerCell) {
    const auto terrain = test::utmTerrain(4, 4, [](int, int) { return 750.0f; });
    // Per-cell shades 0.4 on the west column, 1.0 elsewhere.
    ShadeGrid shade{4, 4, decltype(ShadeGrid::values)(16, 1.0f)};
    for (int r = 0; r < 4; ++r) {
        shade.values[r * 4] = 0.4f;
    }
    const auto image = render(terrain, 2.0f, &shade);
    ASSERT_EQ(image.width(), 8);
    const int bottom = image.height() - 1;
    EXPECT_EQ(image.pixel(0, bottom), colourOf(750.0f, 0.4f));
    EXPECT_EQ(image.pixel(1, bottom), colourOf(750.0f, 0.7f));
    EXPECT_EQ(image.pixel(2, bottom), colourOf(750.0f, 1.0f));
    // Beyond n − 2 the position is held at the last full interval.
    EXPECT_EQ(image.pixel(5, bottom), colourOf(750.0f, 1.0f));
}

TEST(RenderOverhead, ThreadCountDoesNotChangeAPixel) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> height(0.0f, 1400.0f);
    const auto terrain = test::utmTerrain(900, 130, [&](int, int) { return height(random); });
    ShadeGrid shade{130, 900, decltype(ShadeGrid::values)(130 * 900)};
    for (auto& value : shade.values) {
        value = height(random) / 1400.0f;
    }
    const auto one = render(terrain, 1.0f, &shade, scale, 1);
    for (const int threads : {2, 5}) {
        const auto many = render(terrain, 1.0f, &shade, scale, threads);
        EXPECT_TRUE(
            std::equal(one.data(), one.data() + one.bytesPerLine() * one.height(), many.data()))
            << threads;
    }
}

TEST(ColorRow, EveryPixelIsExactlyTheColourOfItsElevation) {
    std::mt19937 random(17);
    std::uniform_real_distribution<float> height(-600.0f, 2400.0f);
    std::uniform_real_distribution<float> brightness(0.4f, 1.0f);
    const std::vector<ScaleSettings> settingsList{{0, 1400, TerrainType::MountainPlain, 0},
                                                  {-200, 1900, TerrainType::IslandOcean, 100},
                                                  {50, 1300, TerrainType::Lowlands, 50},
                                                  {700, 700, TerrainType::Lowlands, 0},
                                                  {900, 300, TerrainType::MountainPlain, 0}};
    for (const auto& settings : settingsList) {
        // Band edges, both scale limits, sea level and just above it among random heights.
        std::vector<float> cells;
        for (int k = 0; k <= 14; ++k) {
            cells.push_back(static_cast<float>(settings.scaleMinimum) +
                            (settings.scaleMaximum - settings.scaleMinimum) * k / 14.0f - 30.0f);
        }
        for (const int level : {settings.scaleMinimum, settings.scaleMaximum, settings.seaLevel}) {
            cells.push_back(static_cast<float>(level) - 30.0f);
            cells.push_back(static_cast<float>(level) - 29.5f);
        }
        while (cells.size() < 300) {
            cells.push_back(height(random));
        }
        std::vector<float> shades(cells.size());
        for (auto& shade : shades) {
            shade = brightness(random);
        }
        std::vector<int> reversed(cells.size());
        for (std::size_t x = 0; x < cells.size(); ++x) {
            reversed[x] = static_cast<int>(cells.size() - 1 - x);
        }
        // Widths around the eight-pixel blocks, read straight, through columns, unshaded.
        for (const int width : {1, 9, 10, 11, 17, 18, 37, 300}) {
            for (const bool gathered : {false, true}) {
                for (const bool shaded : {false, true}) {
                    std::vector<std::uint8_t> row(3 * width + 16, 0xAB);
                    colorRow(cells.data(), gathered ? reversed.data() : nullptr,
                             shaded ? shades.data() : nullptr, width, 30.0f, colours, settings,
                             row.data());
                    for (int x = 0; x < width; ++x) {
                        const int cell = gathered ? reversed[x] : x;
                        const Rgb expected =
                            colourOf(cells[cell] + 30.0f, shaded ? shades[x] : 1.0f, settings);
                        ASSERT_EQ((Rgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]}), expected)
                            << "width " << width << " pixel " << x << " scale "
                            << settings.scaleMinimum << ".." << settings.scaleMaximum;
                    }
                    EXPECT_EQ(row[3 * width], 0xAB) << "written past the row, width " << width;
                }
            }
        }
    }
}

TEST(RenderShadedOverhead, MatchesShadingThenRenderingPixelForPixel) {
    std::mt19937 random(23);
    std::uniform_real_distribution<float> height(0.0f, 1400.0f);
    auto rough = test::utmTerrain(181, 233, [&](int, int) { return height(random); });
    rough.grid.at(0, 0) = terrain::missingCell;
    rough.grid.at(100, 57) = terrain::missingCell;
    rough.grid.at(232, 180) = terrain::missingCell;
    const ScaleSettings lowlands{0, 1400, TerrainType::Lowlands, 200};
    const LightingParameters light{300, 40, 75};
    for (const float zoom : {1.0f, 0.73f, 0.5f}) {
        const auto geometry = ViewGeometry::compute(181, 233, zoom, 1024, 768);
        const auto shade = computeShading(rough, geometry, light);
        ASSERT_TRUE(shade.ok());
        const auto expected = render(rough, zoom, &shade.value(), lowlands);
        for (const int threads : {1, 3}) {
            support::RgbImage image;
            ASSERT_TRUE(
                renderShadedOverhead(rough, geometry, light, colours, lowlands, image, {}, threads)
                    .ok());
            ASSERT_EQ(image.width(), expected.width());
            ASSERT_EQ(image.height(), expected.height());
            EXPECT_TRUE(std::equal(expected.data(),
                                   expected.data() + expected.bytesPerLine() * expected.height(),
                                   image.data()))
                << "zoom " << zoom << ", " << threads << " threads";
        }
    }
}

TEST(TerrainDefaults, ScaleFollowsEveryNewTerrainButTheTableOnlyANewKind) {
    OverheadState state;
    auto first = test::utmTerrain(
        3, 3, [](int, int) { return 0.0f; }, 12.7, 3000.9);
    applyTerrainDefaults(state, first, 1);
    EXPECT_EQ(state.scale.scaleMinimum, 12);
    EXPECT_EQ(state.scale.scaleMaximum, 3000);
    EXPECT_EQ(state.scale.terrainType, TerrainType::MountainPlain);

    state.overheadScale.entries[3] = {1, 1, 1};
    state.scale.terrainType = TerrainType::IslandOcean;
    auto second = test::utmTerrain(
        3, 3, [](int, int) { return 0.0f; }, -3.9, 10);
    applyTerrainDefaults(state, second, 2);
    EXPECT_EQ(state.scale.scaleMinimum, -3);
    EXPECT_EQ(state.scale.terrainType, TerrainType::MountainPlain);
    EXPECT_EQ(state.overheadScale.entries[3], (Rgb{1, 1, 1}));

    auto mars = test::utmTerrain(3, 3, [](int, int) { return 0.0f; });
    mars.header.gridKind = terrain::gridKindMarsPolar;
    mars.header.planet = terrain::Planet::Mars;
    applyTerrainDefaults(state, mars, 3);
    EXPECT_EQ(state.overheadScale.entries[0], (Rgb{141, 84, 43}));
    EXPECT_EQ(state.palette[2], (Rgb{100, 130, 160}));

    // Extremes no whole number holds are clamped, never converted beyond the integer's range.
    auto extreme = test::utmTerrain(
        3, 3, [](int, int) { return 0.0f; }, -2e38, 3e38);
    applyTerrainDefaults(state, extreme, 4);
    EXPECT_EQ(state.scale.scaleMinimum, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(state.scale.scaleMaximum, std::numeric_limits<std::int32_t>::max());
}

// A tall, narrow terrain drawn large: refused by its size, the map drawn before kept.
TEST(BuildOverheadView, AMapBeyondTheImageLimitsIsRefusedAndTheShownOneKept) {
    const terrain::Terrain tall = test::utmTerrain(
        20000, 4, [](int, int) { return 1.0f; }, 0, 1);
    OverheadState state;
    ASSERT_TRUE(buildOverheadView(state, tall, 1, 0.5f, 1024, 768, {}, {}).ok());
    const support::RgbImage shown = state.image;
    const auto refused = buildOverheadView(state, tall, 1, 1.0f, 1024, 768, {}, {});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message(), "Not Enough Memory For Shading");
    EXPECT_EQ(refused.error().cause,
              "the map would be 4 x 20000 pixels; at most 16384 a side are drawn");
    EXPECT_EQ(state.image.height(), shown.height());
}

}  // namespace
}  // namespace tavrok::overhead

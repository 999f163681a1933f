#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "OverheadFixtures.h"
#include "TestSupport.h"
#include "overhead/ColorScale.h"
#include "overhead/OverheadView.h"

namespace tavrok::overhead {
namespace {

ScaleSettings scaleFrom(int lo, int hi, TerrainType type = TerrainType::MountainPlain,
                        int seaLevel = 0) {
    return {lo, hi, type, seaLevel};
}

const auto& defaults = overheadDefaultScale();

TEST(ColorForElevation, ClampsToTheEndsOfTheScale) {
    const auto settings = scaleFrom(0, 1400);
    EXPECT_EQ(colorForElevation(defaults, settings, 1400, 1).color, defaults.entries[14]);
    EXPECT_EQ(colorForElevation(defaults, settings, 9000, 1).color, defaults.entries[14]);
    EXPECT_EQ(colorForElevation(defaults, settings, -50, 1).color, defaults.entries[0]);
    EXPECT_EQ(colorForElevation(defaults, settings, 0, 1).color, defaults.entries[0]);
    // The top fourteenth is flat: entries 13 and 14 are equal.
    EXPECT_EQ(colorForElevation(defaults, settings, 1350, 1).color, defaults.entries[13]);
}

TEST(ColorForElevation, InterpolatesBetweenEntriesAndTruncatesAfterShading) {
    const auto settings = scaleFrom(0, 1400);
    // Halfway between entry 0 (139, 146, 112) and entry 1 (158, 159, 117).
    EXPECT_EQ(colorForElevation(defaults, settings, 50, 1).color, (Rgb{148, 152, 114}));
    EXPECT_EQ(colorForElevation(defaults, settings, 0, 0.5f).color, (Rgb{69, 73, 56}));
    EXPECT_FALSE(colorForElevation(defaults, settings, 50, 1).ocean);
}

TEST(ColorForElevation, MountainPlainIsNeverOcean) {
    const auto settings = scaleFrom(0, 1400, TerrainType::MountainPlain, 500);
    EXPECT_FALSE(colorForElevation(defaults, settings, -100, 1).ocean);
    EXPECT_FALSE(colorForElevation(defaults, settings, 500, 1).ocean);
}

TEST(ColorForElevation, LowlandsAtExactlySeaLevelIsOceanAndHalfAMetreAboveIsLand) {
    for (const auto type : {TerrainType::Lowlands, TerrainType::IslandOcean}) {
        const auto settings = scaleFrom(-100, 1400, type, 0);
        const auto atSea = colorForElevation(defaults, settings, 0.0f, 0.5f);
        EXPECT_TRUE(atSea.ocean);
        // Ocean is never shaded.
        EXPECT_EQ(atSea.color, defaults.entries[oceanEntry]);
        EXPECT_FALSE(colorForElevation(defaults, settings, 0.5f, 1).ocean);
    }
}

TEST(ColorForElevation, AnEmptyRangeGivesTerrainColourZero) {
    for (const int hi : {1000, 900}) {
        const auto settings = scaleFrom(1000, hi);
        EXPECT_EQ(colorForElevation(defaults, settings, 5000, 1).color, defaults.entries[0]);
        EXPECT_EQ(colorForElevation(defaults, settings, -5000, 1).color, defaults.entries[0]);
    }
}

TEST(OverheadPalette, HoldsTheRampsAndTheSpecialColours) {
    const auto palette = buildOverheadPalette(defaults);
    for (const int black : {0, 1, 3, 4, 5}) {
        EXPECT_EQ(palette[black], (Rgb{0, 0, 0})) << black;
    }
    EXPECT_EQ(palette[2], (Rgb{60, 80, 100}));
    EXPECT_EQ(palette[6], defaults.entries[0]);
    // Eight sixteenths from (139, 146, 112) to (158, 159, 117), truncated.
    EXPECT_EQ(palette[6 + 8], (Rgb{148, 152, 114}));
    EXPECT_EQ(palette[6 + 16 * 5 + 15], (Rgb{202, 180, 121}));
    EXPECT_EQ(palette[6 + 16 * 13 + 7], defaults.entries[13]);
    for (int i = 230; i <= 233; ++i) {
        EXPECT_EQ(palette[i], defaults.entries[14]);
    }
    EXPECT_EQ(palette[234], (Rgb{198, 38, 20}));
    EXPECT_EQ(palette[235], (Rgb{142, 162, 180}));
}

TEST(SceneShades, DarkenEachColourByItsLargestChannel) {
    const auto shades = buildSceneShades(sceneDefaultScale());
    EXPECT_EQ(shades[0], (Rgb{20, 60, 110}));
    EXPECT_EQ(shades[1], (Rgb{198, 39, 21}));
    EXPECT_EQ(shades[2], (Rgb{60, 80, 100}));
    EXPECT_EQ(shades[3], (Rgb{255, 40, 0}));
    EXPECT_EQ(shades[4], (Rgb{0, 170, 0}));
    EXPECT_EQ(shades[5], (Rgb{0, 0, 0}));
    // Index 6 would be colour 0's darkest shade; it holds the sky instead.
    EXPECT_EQ(shades[6], (Rgb{142, 162, 180}));
    // Colour 1 (135, 127, 112): the darkest shade subtracts 15·135/16 = 126.56 and clamps at 0.
    EXPECT_EQ(shades[6 + 16], (Rgb{8, 0, 0}));
    EXPECT_EQ(shades[6 + 16 + 15], (Rgb{135, 127, 112}));
    // Colour 13 (255, 206, 101), shade 14: minus 255/16 = 15.94.
    EXPECT_EQ(shades[6 + 16 * 13 + 14], (Rgb{239, 190, 85}));
}

TEST(DefaultTables, MarsTableAndResetLeaveTheSpareEntryAlone) {
    ColorScale table = sceneDefaultScale();
    table.entries[19] = {1, 2, 3};
    resetOverheadScaleForTerrain(table, true);
    EXPECT_EQ(table.entries[0], (Rgb{141, 84, 43}));
    EXPECT_EQ(table.entries[17], (Rgb{100, 130, 160}));
    EXPECT_EQ(table.entries[19], (Rgb{1, 2, 3}));
    resetOverheadScaleForTerrain(table, false);
    EXPECT_EQ(table.entries[0], (Rgb{139, 146, 112}));
    EXPECT_EQ(table.entries[15], (Rgb{0, 0, 0}));
    EXPECT_EQ(sceneDefaultScale().entries[15], (Rgb{20, 60, 110}));
}

TEST(DefaultTerrainType, FollowsTheKindOfTerrain) {
    terrain::TerrainHeader header;
    header.gridKind = terrain::gridKindDem;
    header.coordinateType = terrain::coordinateTypeUtm;
    EXPECT_EQ(defaultTerrainType(header), TerrainType::MountainPlain);
    header.coordinateType = terrain::coordinateTypeGeographic;
    EXPECT_EQ(defaultTerrainType(header), TerrainType::Lowlands);
    header.gridKind = terrain::gridKindMatrix;
    EXPECT_EQ(defaultTerrainType(header), TerrainType::Lowlands);
    header.gridKind = terrain::gridKindSinusoidal;
    EXPECT_EQ(defaultTerrainType(header), TerrainType::Lowlands);
    EXPECT_FALSE(isMarsTerrain(header));
    header.planet = terrain::Planet::Mars;
    EXPECT_EQ(defaultTerrainType(header), TerrainType::MountainPlain);
    EXPECT_TRUE(isMarsTerrain(header));
    header.gridKind = terrain::gridKindMarsPolar;
    EXPECT_TRUE(isMarsTerrain(header));
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
}

class ColorScaleFileTest : public tavrok::test::TemporaryFolderTest {};

TEST_F(ColorScaleFileTest, SavesEightyEightLittleEndianBytesAndReadsThemBack) {
    ColorScaleFile contents;
    contents.scale = defaults;
    contents.scaleMinimum = -2;
    contents.scaleMaximum = 70000;
    ASSERT_TRUE(saveColorScale(path("scale.dat"), contents).ok());
    std::ifstream in(path("scale.dat"), std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 88u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4),
              (std::vector<unsigned char>{139, 146, 112, 0}));
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 80, bytes.end()),
              (std::vector<unsigned char>{0xFE, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    const auto loaded = loadColorScale(path("scale.dat"));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->scale, defaults);
    EXPECT_EQ(loaded->scaleMinimum, -2);
    EXPECT_EQ(loaded->scaleMaximum, 70000);
}

TEST_F(ColorScaleFileTest, RefusesFilesOfAnyOtherSize) {
    for (const std::size_t size : {87u, 89u, 0u}) {
        const std::string bytes(size, '\x01');
        const auto file = writeFile("wrong.dat", bytes);
        const auto loaded = loadColorScale(file);
        ASSERT_FALSE(loaded.ok()) << size;
        EXPECT_EQ(loaded.error().message(), "Not a Color Scale File");
    }
}

TEST_F(ColorScaleFileTest, MissingFileCannotBeOpened) {
    const auto loaded = loadColorScale(path("absent.dat"));
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().message(), "Cannot Open File");
    EXPECT_EQ(saveColorScale(folder() / "no" / "such" / "x.dat", {}).error().message(),
              "Cannot Open File");
}

}  // namespace
}  // namespace tavrok::overhead

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "colour/ColorScale.h"
#include "colour/ColorScaleFile.h"
#include "colour/Palette.h"

namespace tavrok::colour {
namespace {

const auto& defaults = overheadDefaultScale();

TEST(ColorForElevation, InterpolatesClampsShadesAndDrawsOcean) {
    constexpr auto mountain = TerrainType::MountainPlain;
    struct Case {
        ScaleSettings settings;
        float elevation;
        float shade;
        bool ocean;
        Rgb color;
    };
    const Rgb& first = defaults.entries[0];
    const Rgb& top = defaults.entries[14];
    const Rgb& sea = defaults.entries[oceanEntry];
    const Case cases[] = {
        // Clamped at both ends; the top fourteenth is flat (entries 13 and 14 are equal).
        {{0, 1400, mountain, 0}, 1400, 1, false, top},
        {{0, 1400, mountain, 0}, 9000, 1, false, top},
        {{0, 1400, mountain, 0}, -50, 1, false, first},
        {{0, 1400, mountain, 0}, 0, 1, false, first},
        {{0, 1400, mountain, 0}, 1350, 1, false, defaults.entries[13]},
        // Halfway between (139, 146, 112) and (158, 159, 117); truncated after shading.
        {{0, 1400, mountain, 0}, 50, 1, false, {148, 152, 114}},
        {{0, 1400, mountain, 0}, 0, 0.5f, false, {69, 73, 56}},
        // Mountain/Plain never draws ocean; the others do at sea level, unshaded.
        {{0, 1400, mountain, 500}, -100, 1, false, first},
        {{0, 1400, mountain, 500}, 500, 1, false, defaults.entries[5]},
        {{-100, 1400, TerrainType::Lowlands, 0}, 0, 0.5f, true, sea},
        {{-100, 1400, TerrainType::IslandOcean, 0}, 0, 0.5f, true, sea},
        {{-100, 1400, TerrainType::Lowlands, 0}, 0.5f, 1, false, {156, 158, 116}},
        // An empty or inverted range gives terrain colour 0.
        {{1000, 1000, mountain, 0}, 5000, 1, false, first},
        {{1000, 900, mountain, 0}, -5000, 1, false, first},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << row.settings.scaleMinimum << ".."
                                        << row.settings.scaleMaximum << " at " << row.elevation);
        const auto colour = colorForElevation(defaults, row.settings, row.elevation, row.shade);
        EXPECT_EQ(colour.ocean, row.ocean);
        EXPECT_EQ(colour.color, row.color);
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

class ColorScaleFileTest : public tavrok::test::TemporaryFolderTest {};

TEST_F(ColorScaleFileTest, SavesEightyEightLittleEndianBytesAndReadsThemBack) {
    ColorScaleFile contents;
    contents.scale = defaults;
    contents.scaleMinimum = -2;
    contents.scaleMaximum = 70000;
    ASSERT_TRUE(saveColorScale(path("scale.dat"), contents).ok());
    const auto text = tavrok::test::readFile(path("scale.dat"));
    const std::vector<unsigned char> bytes(text.begin(), text.end());
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

TEST_F(ColorScaleFileTest, RefusesFilesOfAnyOtherSizeAndPathsItCannotOpen) {
    for (const std::size_t size : {87u, 89u, 0u}) {
        const auto loaded = loadColorScale(writeFile("wrong.dat", std::string(size, '\x01')));
        ASSERT_FALSE(loaded.ok()) << size;
        EXPECT_EQ(loaded.error().message(), "Not a Color Scale File");
    }
    EXPECT_EQ(loadColorScale(path("absent.dat")).error().message(), "Cannot Open File");
    EXPECT_EQ(saveColorScale(folder() / "no" / "such" / "x.dat", {}).error().message(),
              "Cannot Open File");
}

}  // namespace
}  // namespace tavrok::colour

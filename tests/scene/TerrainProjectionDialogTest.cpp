#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/TerrainProjectionDialog.h"

namespace tavrok::scene {
namespace {

using colour::TerrainType;

constexpr ProjectionSize allSizes[] = {ProjectionSize::S480x360, ProjectionSize::S640x480,
                                       ProjectionSize::S800x600, ProjectionSize::S1024x768};

// Limits of a scene whose observer may climb from 100 m to 9,090 m in steps of 10 m.
constexpr AltitudeLimits sceneLimits{100, 9090, 10};

TerrainProjectionDialog openDialog(const SceneParameters& parameters,
                                   const colour::ScaleSettings& scale = {},
                                   AltitudeLimits limits = sceneLimits, bool lowMemory = false) {
    return TerrainProjectionDialog(parameters, scale, limits, lowMemory);
}

std::vector<bool> enabledSizes(const TerrainProjectionDialog& dialog) {
    std::vector<bool> enabled;
    for (const ProjectionSize size : allSizes) {
        enabled.push_back(dialog.sizeEnabled(size));
    }
    return enabled;
}

TEST(TerrainProjectionDialog, ANewSceneStartsTheObserverAtTheTopStepOfItsRange) {
    const struct Case {
        int meshSize;
        float spacingX;
        int maximum;
        int step;
        int altitude;
    } cases[] = {
        {101, 100.0f, 9090, 10, 9090},      // about 9,000 m: steps of 10 m
        {1001, 100.0f, 90090, 100, 90000},  // about 90,000 m: steps of 100 m
        {65, 10.0f, 585, 1, 585},           // below 1,000 m: steps of 1 m
    };
    for (const auto& c : cases) {
        MeshGeometry geometry;
        geometry.meshSize = c.meshSize;
        terrain::TerrainHeader header;
        header.spacingX = c.spacingX;
        const AltitudeLimits limits = altitudeLimits(geometry, header);
        EXPECT_EQ(limits.maximum, c.maximum) << c.meshSize;
        EXPECT_EQ(limits.step, c.step) << c.meshSize;
        SceneParameters parameters;
        parameters.terrainPosition = TerrainPosition::Background;
        auto dialog = openDialog(parameters, {}, limits);
        EXPECT_EQ(dialog.parameters.observerAltitude, c.altitude) << c.meshSize;
        EXPECT_EQ(dialog.sliderMaximum(), c.maximum / c.step) << c.meshSize;
        EXPECT_EQ(dialog.sliderPosition(), c.altitude / c.step) << c.meshSize;
        EXPECT_EQ(dialog.altitudeText(), std::to_string(c.altitude)) << c.meshSize;

        parameters.newScene = false;
        parameters.observerAltitude = 1234;
        EXPECT_EQ(openDialog(parameters, {}, limits).parameters.observerAltitude, 1234);
    }
}

TEST(TerrainProjectionDialog, SideBySideFixesTheSizeAndANewSceneOutgrowsTheSmallest) {
    const std::vector<bool> all{true, true, true, true};
    const std::vector<bool> smallestOnly{true, false, false, false};
    const struct Case {
        ProjectionSize stored;
        ColorMode mode;
        bool newScene;
        ProjectionSize shown;
        std::vector<bool> enabled;
    } cases[] = {
        {ProjectionSize::S1024x768, ColorMode::SideBySide, false, ProjectionSize::S480x360,
         smallestOnly},
        {ProjectionSize::S480x360, ColorMode::SideBySide, true, ProjectionSize::S480x360,
         smallestOnly},
        {ProjectionSize::S480x360, ColorMode::Color, true, ProjectionSize::S640x480, all},
        {ProjectionSize::S480x360, ColorMode::RedBlue, false, ProjectionSize::S480x360, all},
        {ProjectionSize::S800x600, ColorMode::RedBlue, true, ProjectionSize::S800x600, all},
    };
    for (const auto& c : cases) {
        SceneParameters parameters;
        parameters.projectionSize = c.stored;
        parameters.colorMode = c.mode;
        parameters.newScene = c.newScene;
        const auto dialog = openDialog(parameters);
        EXPECT_EQ(dialog.parameters.projectionSize, c.shown) << static_cast<int>(c.stored);
        EXPECT_EQ(enabledSizes(dialog), c.enabled) << static_cast<int>(c.stored);
    }
}

TEST(TerrainProjectionDialog, ChoosingSideBySideGreysTheOtherSizesUntilColorOrRedBlue) {
    SceneParameters parameters;
    parameters.projectionSize = ProjectionSize::S1024x768;
    auto dialog = openDialog(parameters);
    dialog.chooseColorMode(ColorMode::SideBySide);
    dialog.chooseProjectionSize(ProjectionSize::S1024x768);
    EXPECT_EQ(dialog.parameters.projectionSize, ProjectionSize::S480x360);
    dialog.chooseColorMode(ColorMode::RedBlue);
    EXPECT_EQ(enabledSizes(dialog), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(dialog.parameters.projectionSize, ProjectionSize::S480x360);
    dialog.chooseProjectionSize(ProjectionSize::S800x600);
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.parameters.projectionSize, ProjectionSize::S800x600);
    EXPECT_EQ(dialog.parameters.colorMode, ColorMode::RedBlue);
}

TEST(TerrainProjectionDialog,
     OkReadsNumbersFromFiveCharactersNonNumbersAsZeroAndEightyOfTheLegend) {
    const struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"150", 150}, {"1234567", 12345}, {"abc", 0}, {"12ab", 12}, {"-45", -45}, {"  7", 7},
        {"", 0},      {"+30", 30},        {"1.5", 1}, {"-", 0},
    };
    for (const auto& c : cases) {
        colour::ScaleSettings scale;
        scale.terrainType = TerrainType::Lowlands;
        auto dialog = openDialog(SceneParameters{}, scale);
        dialog.magnificationText = dialog.azimuthText = dialog.elevationText = c.text;
        dialog.seaLevelText = c.text;
        dialog.legend = std::string(100, 'x');
        ASSERT_TRUE(dialog.accept());
        EXPECT_EQ(dialog.parameters.title, std::string(80, 'x'));
        EXPECT_EQ(dialog.parameters.verticalMagnificationPercent, c.value) << c.text;
        EXPECT_EQ(dialog.parameters.illuminationAzimuth, c.value) << c.text;
        EXPECT_EQ(dialog.parameters.illuminationElevation, c.value) << c.text;
        EXPECT_EQ(dialog.scale.seaLevel, c.value) << c.text;
    }
}

TEST(TerrainProjectionDialog, TheSeaLevelBoxFollowsTheTerrainType) {
    colour::ScaleSettings scale;
    scale.seaLevel = -12;
    auto dialog = openDialog(SceneParameters{}, scale);
    EXPECT_FALSE(dialog.seaLevelEnabled());
    EXPECT_EQ(dialog.seaLevelText, "");
    dialog.chooseTerrainType(TerrainType::Lowlands);
    EXPECT_TRUE(dialog.seaLevelEnabled());
    EXPECT_EQ(dialog.seaLevelText, "-12");
    dialog.seaLevelText = "35";
    dialog.chooseTerrainType(TerrainType::IslandOcean);  // the typed level stays
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.scale.seaLevel, 35);
    EXPECT_EQ(dialog.scale.terrainType, TerrainType::IslandOcean);

    dialog.chooseTerrainType(TerrainType::MountainPlain);
    EXPECT_EQ(dialog.seaLevelText, "");
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(dialog.scale.seaLevel, 35);  // a terrain without sea keeps the stored level
}

TEST(TerrainProjectionDialog, OkResetsTheAdjustmentsOfANewSceneForTheChosenPosition) {
    SceneParameters parameters;
    parameters.newScene = false;
    parameters.zoom = 3;
    parameters.tilt = 7;
    parameters.shiftX = 9;
    auto kept = openDialog(parameters);
    ASSERT_TRUE(kept.accept());
    EXPECT_EQ(kept.parameters.zoom, 3);
    EXPECT_EQ(kept.parameters.shiftX, 9);

    auto background = openDialog(parameters);
    EXPECT_FALSE(background.altitudeEnabled());
    EXPECT_EQ(background.altitudeText(), "");
    background.chooseTerrainPosition(TerrainPosition::Background);
    EXPECT_TRUE(background.parameters.newScene);
    EXPECT_TRUE(background.altitudeEnabled());
    ASSERT_TRUE(background.accept());
    EXPECT_EQ(background.parameters.zoom, 0);
    EXPECT_EQ(background.parameters.tilt, 0);
    EXPECT_EQ(background.parameters.shiftX, 0);

    parameters.newScene = true;
    auto foreground = openDialog(parameters);
    ASSERT_TRUE(foreground.accept());
    EXPECT_EQ(foreground.parameters.zoom, 16);
    EXPECT_EQ(foreground.parameters.tilt, 32);
}

TEST(TerrainProjectionDialog, TheSliderMovesInWholeStepsWithinItsLimits) {
    const struct Case {
        int start;
        int lines;  // used when drag < 0
        int drag;   // slider position dragged to, or -1
        int altitude;
    } cases[] = {
        {9090, 1, -1, 9090},  {9090, -1, -1, 9080},  {1234, 1, -1, 1240},
        {5000, 10, -1, 5100}, {5000, -10, -1, 4900}, {150, -10, -1, 100},
        {5000, 0, 0, 0},      {5000, 0, 2000, 9090}, {5000, 0, 33, 330},
    };
    for (const auto& c : cases) {
        SceneParameters parameters;
        parameters.newScene = false;
        parameters.terrainPosition = TerrainPosition::Background;
        parameters.observerAltitude = c.start;
        auto dialog = openDialog(parameters);
        if (c.drag >= 0) {
            dialog.dragAltitude(c.drag);
        } else {
            dialog.stepAltitude(c.lines);
        }
        EXPECT_EQ(dialog.parameters.observerAltitude, c.altitude) << c.start << " " << c.drag;
        EXPECT_EQ(dialog.sliderPosition(), c.altitude / 10);
    }
}

TEST(TerrainProjectionDialog, ALowMemoryMachineOffersNoResolution) {
    SceneParameters parameters;
    parameters.resolution = MeshResolution::Max;
    auto lowMemory = openDialog(parameters, {}, sceneLimits, true);
    EXPECT_FALSE(lowMemory.resolutionEnabled());
    EXPECT_EQ(lowMemory.resolutionChoice(), std::nullopt);
    lowMemory.chooseResolution(MeshResolution::Min);
    ASSERT_TRUE(lowMemory.accept());
    EXPECT_EQ(lowMemory.parameters.resolution, MeshResolution::Max);

    auto ample = openDialog(parameters);
    ample.chooseResolution(MeshResolution::Min);
    EXPECT_EQ(ample.resolutionChoice(), MeshResolution::Min);
}

}  // namespace
}  // namespace tavrok::scene

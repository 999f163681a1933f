#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "overhead/LightingDialog.h"
#include "overhead/MapScaleDialog.h"
#include "overhead/TerrainColorsDialog.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

class OverheadCommandsTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.shell.tempDir = folder();
        runImport(state, ui, LoadRequest{CommandId::LoadMatrixFiles, 0, {test::sampleTerrain}});
        ASSERT_TRUE(state.document.loaded());
        // A load only installs the terrain; the views catch up with it.
        ASSERT_TRUE(state.overhead.image.empty());
        ASSERT_EQ(refreshViews(state, ui), CommandStatus::Done);
    }

    AppState state;
    support::ScriptedUi ui;
};

TEST_F(OverheadCommandsTest, LoadingBuildsTheShadedMapAtTheWindowZoom) {
    const auto& overhead = state.overhead;
    EXPECT_EQ(overhead.image.width(), 972);
    EXPECT_EQ(overhead.image.height(), 767);
    EXPECT_EQ(overhead.shade.width, 972);
    EXPECT_EQ(overhead.scale.scaleMinimum, static_cast<int>(state.document.header().minElevation));
    EXPECT_EQ(overhead.scale.scaleMaximum, static_cast<int>(state.document.header().maxElevation));
    EXPECT_EQ(overhead.scale.terrainType, colour::TerrainType::MountainPlain);
    EXPECT_EQ(state.map.viewMode, viewOverhead);
    EXPECT_FALSE(ui.waitCursor);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(state.shell.busy);
    // The map was shown growing, band by band from the top, before it was finished.
    ASSERT_GE(ui.mainWindow.growingMapRows.size(), 3u);
    EXPECT_TRUE(
        std::is_sorted(ui.mainWindow.growingMapRows.begin(), ui.mainWindow.growingMapRows.end()));
    EXPECT_LT(ui.mainWindow.growingMapRows.front(), 767);
    EXPECT_EQ(ui.mainWindow.growingMapRows.back(), 767);
}

TEST_F(OverheadCommandsTest, GridLongerThanAHundredWindowsStillGetsItsMap) {
    constexpr int rows = 80000;
    terrain::TerrainHeader header;
    header.rows = rows;
    header.columns = 2;
    header.projection = terrain::ProjectionKind::XY;
    header.spacingX = header.spacingY = 1;
    header.maxElevation = 5;
    state.document.replace(terrain::TerrainModel::create(rows, 2, 5.0f).value(), header, {});
    state.map.overheadZoom =
        overheadZoomFor(rows, 2, state.map.clientWidth, state.map.clientHeight);
    EXPECT_EQ(dispatch(state, ui, CommandId::BuildOverhead, 1), CommandStatus::Done);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.overhead.image.width(), 1);
    EXPECT_EQ(state.overhead.image.height(), state.map.clientHeight);
}

TEST_F(OverheadCommandsTest, StopDuringShadingFitsTheWindowAndShadesAgain) {
    state.map.overheadZoom = 1.5;
    ui.stopAfterPolls(0);
    dispatch(state, ui, CommandId::BuildOverhead, 1);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Map Resizing Cancelled"}));
    EXPECT_FLOAT_EQ(static_cast<float>(state.map.overheadZoom), 768.0f / 799.0f);
    EXPECT_EQ(state.overhead.image.width(), 974);
    EXPECT_EQ(state.overhead.shade.width, 974);
}

TEST_F(OverheadCommandsTest, SwitchesRedrawWithoutShadingAgain) {
    const auto before = state.overhead.image;
    const auto* shadeBefore = state.overhead.shade.values.data();
    dispatch(state, ui, CommandId::LatLonGridOff);
    EXPECT_FALSE(state.overhead.latLonGrid);
    EXPECT_EQ(state.overhead.shade.values.data(), shadeBefore);
    int changed = 0;
    for (int y = 0; y < before.height(); y += 3) {
        for (int x = 0; x < before.width(); x += 3) {
            changed += before.pixel(x, y) != state.overhead.image.pixel(x, y);
        }
    }
    EXPECT_GT(changed, 100);
    dispatch(state, ui, CommandId::DegreeMinSec);
    EXPECT_EQ(state.overhead.coordinateMode, overhead::CoordinateMode::DegreeMinSec);
    dispatch(state, ui, CommandId::LatLonGridOn);
    EXPECT_TRUE(state.overhead.latLonGrid);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OverheadCommandsTest, ResizeAndLightingDialogsReshadeTheMap) {
    ui.queueDialog([](support::DialogModel& model) {
        auto& dialog = dynamic_cast<overhead::MapScaleDialog&>(model);
        dialog.thumb(500);
        return true;
    });
    dispatch(state, ui, CommandId::ResizeOverheadView);
    EXPECT_EQ(state.overhead.image.width(), 500);
    ui.queueDialog([](support::DialogModel& model) {
        auto& dialog = dynamic_cast<overhead::LightingDialog&>(model);
        dialog.parameters.shadeDepth = 0;
        return dialog.accept().ok();
    });
    dispatch(state, ui, CommandId::ShadedRelief);
    EXPECT_EQ(state.overhead.lighting.shadeDepth, 0);
    for (const float value : state.overhead.shade.values) {
        ASSERT_EQ(value, 1.0f);
    }
    EXPECT_EQ(ui.dialogsShown, (std::vector<std::string>{"IDD_MAPSCALE", "IDD_SHADING"}));
}

TEST_F(OverheadCommandsTest, ColourDialogCancelRestoresAndOkRedraws) {
    ui.queueDialog([](support::DialogModel& model) {
        dynamic_cast<overhead::TerrainColorsDialog&>(model).forest();
        return false;
    });
    dispatch(state, ui, CommandId::ModifyColors);
    EXPECT_EQ(state.overhead.overheadScale, colour::overheadDefaultScale());

    ui.queueDialog([](support::DialogModel& model) {
        auto& dialog = dynamic_cast<overhead::TerrainColorsDialog&>(model);
        dialog.setTerrainType(colour::TerrainType::Lowlands);
        dialog.seaLevelText = "2000";
        return dialog.accept().ok();
    });
    dispatch(state, ui, CommandId::ModifyScale);
    EXPECT_EQ(state.overhead.scale.seaLevel, 2000);
    // Most of the sample lies below 2000 m and is now sea.
    const auto ocean = state.overhead.overheadScale.entries[colour::oceanEntry];
    EXPECT_EQ(state.overhead.image.pixel(10, 700), ocean);
}

}  // namespace
}  // namespace tavrok::shell

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "colour/ColorScaleFile.h"
#include "overhead/LightingDialog.h"
#include "overhead/MapScaleDialog.h"
#include "overhead/TerrainColorsDialog.h"

namespace tavrok::overhead {
namespace {

using namespace colour;

using Control = TerrainColorsDialog::Control;
using Channel = TerrainColorsDialog::Channel;
using Scroll = TerrainColorsDialog::ScrollAction;

class TerrainColorsDialogTest : public tavrok::test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.scale = {100, 1400, TerrainType::MountainPlain, 0};
    }
    TerrainColorsDialog open(bool scene = false, bool mars = false) {
        return TerrainColorsDialog(state, scene, mars, 12.7, 3000.9);
    }
    const auto& entries() const { return state.overheadScale.entries; }

    OverheadState state;
};

TEST_F(TerrainColorsDialogTest, OpensOnSlotZeroWithLabelsAndTheRangeBoxesDisabled) {
    auto dialog = open();
    EXPECT_EQ(dialog.dialogId(), "IDD_SCENECOLOR");
    EXPECT_EQ(dialog.title(), "Terrain Colors");
    EXPECT_EQ(dialog.selectedSlot(), 0);
    EXPECT_EQ(dialog.selectedColor(), (Rgb{139, 146, 112}));
    EXPECT_EQ(dialog.slotLabel(0), "100    m");
    EXPECT_EQ(dialog.slotLabel(1), "200    m");
    EXPECT_EQ(dialog.slotLabel(13), "1400   m");
    EXPECT_FALSE(dialog.enabled(Control::MinimumMaximum));
    EXPECT_FALSE(dialog.enabled(Control::SeaLevel));
    EXPECT_EQ(dialog.seaLevelText, "");
    EXPECT_EQ(dialog.gridButtonText(), "Grid");
    EXPECT_EQ(open(true).gridButtonText(), "Text");
}

TEST_F(TerrainColorsDialogTest, ScrollBarsStepAndWrapAroundAByte) {
    auto dialog = open();
    dialog.scroll(Channel::Red, Scroll::Thumb, 0);
    dialog.scroll(Channel::Red, Scroll::LineLeft);
    EXPECT_EQ(entries()[0].red, 255);
    dialog.scroll(Channel::Green, Scroll::Thumb, 250);
    dialog.scroll(Channel::Green, Scroll::PageRight);
    EXPECT_EQ(entries()[0].green, 4);
    dialog.scroll(Channel::Blue, Scroll::PageLeft);
    EXPECT_EQ(entries()[0].blue, 102);
    dialog.scroll(Channel::Blue, Scroll::LineRight);
    EXPECT_EQ(entries()[0].blue, 103);
    // The palette follows at once.
    EXPECT_EQ(state.palette[6], (Rgb{255, 4, 103}));
}

TEST_F(TerrainColorsDialogTest, SlotThirteenCarriesEntryFourteenIntoSavedFiles) {
    auto dialog = open();
    dialog.selectSlot(13);
    dialog.scroll(Channel::Red, Scroll::Thumb, 10);
    EXPECT_EQ(entries()[13].red, 10);
    EXPECT_EQ(entries()[14], entries()[13]);
    ASSERT_TRUE(dialog.saveFile(path("c.dat")).ok());
    const auto saved = loadColorScale(path("c.dat"));
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->scale.entries[14], saved->scale.entries[13]);
    EXPECT_EQ(saved->scaleMinimum, 100);
    EXPECT_EQ(saved->scaleMaximum, 1400);
}

// The load prompt lists only "*.dat"; a save under another name must still be found there.
TEST_F(TerrainColorsDialogTest, SaveAddsTheDatExtensionWhenTheNameLacksIt) {
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {
        {"plain", "plain.dat"},
        {"kept.dat", "kept.dat"},
        {"UPPER.DAT", "UPPER.DAT"},
        {"other.txt", "other.txt.dat"},
        {"dotted.dat.bak", "dotted.dat.bak.dat"},
    };
    auto dialog = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(dialog.saveFile(path(c.typed)).ok());
        EXPECT_TRUE(loadColorScale(path(c.written)).ok());
        if (std::string(c.typed) != c.written) {
            EXPECT_FALSE(std::filesystem::exists(path(c.typed)));
        }
    }
}

TEST_F(TerrainColorsDialogTest, OtherColoursChangeTheTableOnlyOnOk) {
    auto dialog = open();
    dialog.selectSlot(oceanEntry);
    EXPECT_FALSE(dialog.enabled(Control::CopyTo));
    EXPECT_FALSE(dialog.enabled(Control::SpreadTo));
    dialog.armCopy();
    EXPECT_EQ(dialog.pending(), TerrainColorsDialog::Pending::None);
    dialog.scroll(Channel::Red, Scroll::Thumb, 1);
    EXPECT_EQ(entries()[oceanEntry], (Rgb{60, 80, 100}));
    EXPECT_EQ(dialog.selectedColor(), (Rgb{1, 80, 100}));
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(entries()[oceanEntry], (Rgb{1, 80, 100}));
    EXPECT_EQ(state.palette[2], (Rgb{1, 80, 100}));
}

TEST_F(TerrainColorsDialogTest, CopyToGivesTheNextSlotThePreviousColourAndLocksTheRest) {
    auto dialog = open();
    dialog.selectSlot(2);
    dialog.armCopy();
    EXPECT_TRUE(dialog.enabled(Control::SlotButtons));
    EXPECT_TRUE(dialog.enabled(Control::CancelOperation));
    for (const auto control : {Control::ResetColors, Control::Ok, Control::Cancel,
                               Control::ScrollBars, Control::SpreadTo, Control::SaveLoadFile}) {
        EXPECT_FALSE(dialog.enabled(control));
    }
    dialog.selectSlot(7);
    EXPECT_EQ(entries()[7], (Rgb{177, 173, 123}));
    EXPECT_EQ(dialog.pending(), TerrainColorsDialog::Pending::None);
    EXPECT_TRUE(dialog.enabled(Control::Ok));
}

TEST_F(TerrainColorsDialogTest, ACancelledSpreadOrASpreadOntoItselfChangesNothing) {
    auto dialog = open();
    const auto before = state.overheadScale;
    dialog.armSpread();
    dialog.cancelOperation();
    dialog.selectSlot(9);
    EXPECT_EQ(dialog.selectedSlot(), 9);
    dialog.armSpread();
    dialog.selectSlot(9);
    EXPECT_EQ(state.overheadScale, before);
}

TEST_F(TerrainColorsDialogTest, SpreadToRampsBetweenTheTwoSlots) {
    auto dialog = open();
    dialog.selectSlot(4);
    dialog.scroll(Channel::Red, Scroll::Thumb, 100);
    dialog.scroll(Channel::Green, Scroll::Thumb, 200);
    dialog.scroll(Channel::Blue, Scroll::Thumb, 40);
    dialog.selectSlot(0);
    for (const auto channel : {Channel::Red, Channel::Green, Channel::Blue}) {
        dialog.scroll(channel, Scroll::Thumb, 0);
    }
    // From the higher slot to the lower one: the ramp is the same either way.
    dialog.selectSlot(4);
    dialog.armSpread();
    dialog.selectSlot(0);
    EXPECT_EQ(entries()[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(entries()[1], (Rgb{25, 50, 10}));
    EXPECT_EQ(entries()[3], (Rgb{75, 150, 30}));
    EXPECT_EQ(entries()[4], (Rgb{100, 200, 40}));
    EXPECT_EQ(entries()[5], (Rgb{208, 190, 128}));
}

TEST_F(TerrainColorsDialogTest, ForestAndSnowPaintTheirEndsAndSpread) {
    auto dialog = open();
    const Rgb topBand = entries()[14];
    dialog.forest();
    EXPECT_EQ(entries()[0], (Rgb{117, 115, 73}));
    EXPECT_EQ(entries()[1], (Rgb{117, 115, 73}));
    // One quarter of the way to slot 5 (208, 190, 128).
    EXPECT_EQ(entries()[2], (Rgb{139, 133, 86}));
    EXPECT_EQ(entries()[5], (Rgb{208, 190, 128}));
    dialog.snow();
    EXPECT_EQ(entries()[12], (Rgb{220, 220, 220}));
    EXPECT_EQ(entries()[13], (Rgb{220, 220, 220}));
    EXPECT_EQ(entries()[14], topBand);
    EXPECT_EQ(entries()[9], (Rgb{183, 150, 101}));
    EXPECT_EQ(entries()[10], (Rgb{195, 173, 140}));
}

TEST_F(TerrainColorsDialogTest, ResetLoadsTheDefaultsOfTheView) {
    auto overheadDialog = open(false, true);
    overheadDialog.forest();
    overheadDialog.selectSlot(5);
    overheadDialog.resetColors();
    EXPECT_EQ(overheadDialog.selectedSlot(), 0);
    EXPECT_EQ(entries()[0], (Rgb{141, 84, 43}));
    EXPECT_EQ(entries()[14], (Rgb{220, 220, 220}));
    EXPECT_EQ(overheadDialog.otherColor(oceanEntry), (Rgb{60, 80, 100}));

    state.sceneScale.entries[3] = {0, 0, 0};
    auto sceneDialog = open(true);
    sceneDialog.resetColors();
    EXPECT_EQ(state.sceneScale.entries[3], (Rgb{155, 140, 110}));
}

TEST_F(TerrainColorsDialogTest, RecallOfAnUnusedStoreMakesEverythingBlack) {
    auto dialog = open();
    dialog.selectSlot(3);
    dialog.recall(1);
    EXPECT_EQ(state.overheadScale, ColorScale{});
    EXPECT_EQ(dialog.otherColor(skyEntry), (Rgb{0, 0, 0}));
    EXPECT_EQ(dialog.selectedSlot(), 0);
}

TEST_F(TerrainColorsDialogTest, StoreKeepsTerrainAndOtherColoursForRecall) {
    auto dialog = open();
    dialog.selectSlot(skyEntry);
    dialog.scroll(Channel::Blue, Scroll::Thumb, 7);
    dialog.store(0);
    const auto stored = state.overheadScale;
    dialog.forest();
    dialog.recall(0);
    EXPECT_EQ(entries()[1], stored.entries[1]);
    EXPECT_EQ(dialog.otherColor(skyEntry), (Rgb{142, 162, 7}));
    EXPECT_EQ(state.colorStores[0].entries[skyEntry], (Rgb{142, 162, 7}));
}

TEST_F(TerrainColorsDialogTest, ModifyEditsTheRangeAndApplyRelabels) {
    auto dialog = open();
    dialog.modifyOrApply();
    EXPECT_EQ(dialog.modifyButtonText(), "Apply");
    EXPECT_TRUE(dialog.enabled(Control::MinimumMaximum));
    for (const auto control : {Control::Ok, Control::Cancel, Control::SlotButtons,
                               Control::ResetRange, Control::TerrainTypes}) {
        EXPECT_FALSE(dialog.enabled(control));
    }
    EXPECT_FALSE(dialog.cancel());
    EXPECT_FALSE(dialog.accept().ok());
    dialog.minimumText = "-130";
    dialog.maximumText = "1170x";
    dialog.modifyOrApply();
    EXPECT_EQ(dialog.modifyButtonText(), "Modify");
    EXPECT_EQ(dialog.slotLabel(0), "-130   m");
    EXPECT_EQ(dialog.slotLabel(1), "-30    m");
    EXPECT_EQ(dialog.slotLabel(13), "1170   m");
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(state.scale.scaleMinimum, -130);
    EXPECT_EQ(state.scale.scaleMaximum, 1170);
}

TEST_F(TerrainColorsDialogTest, ResetRangeTakesTheTerrainExtremesTruncated) {
    auto dialog = open();
    dialog.resetRange();
    EXPECT_EQ(dialog.minimumText, "12");
    EXPECT_EQ(dialog.maximumText, "3000");
    EXPECT_EQ(dialog.slotLabel(13), "3000   m");
}

TEST_F(TerrainColorsDialogTest, LoadFileTakesEverythingAndRefusesWrongSizes) {
    ColorScaleFile file;
    file.scale = marsOverheadDefaultScale();
    file.scaleMinimum = -8000;
    file.scaleMaximum = 21000;
    ASSERT_TRUE(saveColorScale(path("mars.dat"), file).ok());
    auto dialog = open();
    dialog.selectSlot(6);
    writeFile("short.dat", std::string(87, '\0'));
    const auto refused = dialog.loadFile(path("short.dat"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message(), "Not a Color Scale File");
    EXPECT_EQ(state.overheadScale, overheadDefaultScale());
    EXPECT_EQ(dialog.loadFile(path("none.dat")).error().message(), "Cannot Open File");

    ASSERT_TRUE(dialog.loadFile(path("mars.dat")).ok());
    EXPECT_EQ(state.overheadScale, marsOverheadDefaultScale());
    EXPECT_EQ(dialog.selectedSlot(), 0);
    EXPECT_EQ(dialog.minimumText, "-8000");
    EXPECT_EQ(dialog.slotLabel(13), "21000  m");
}

TEST_F(TerrainColorsDialogTest, TerrainTypeControlsTheSeaLevelBoxAndOkStoresIt) {
    state.scale.seaLevel = 7;
    auto dialog = open();
    dialog.setTerrainType(TerrainType::Lowlands);
    EXPECT_TRUE(dialog.enabled(Control::SeaLevel));
    EXPECT_EQ(dialog.seaLevelText, "7");
    dialog.setTerrainType(TerrainType::MountainPlain);
    EXPECT_FALSE(dialog.enabled(Control::SeaLevel));
    EXPECT_EQ(dialog.seaLevelText, "");
    dialog.setTerrainType(TerrainType::IslandOcean);
    dialog.seaLevelText = "-5";
    EXPECT_EQ(state.scale.terrainType, TerrainType::MountainPlain);
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(state.scale.terrainType, TerrainType::IslandOcean);
    EXPECT_EQ(state.scale.seaLevel, -5);

    auto again = open();
    again.setTerrainType(TerrainType::MountainPlain);
    ASSERT_TRUE(again.accept().ok());
    EXPECT_EQ(state.scale.seaLevel, 0);
}

TEST_F(TerrainColorsDialogTest, CancelRestoresEveryEntry) {
    auto dialog = open();
    dialog.selectSlot(13);
    dialog.scroll(Channel::Green, Scroll::Thumb, 3);
    dialog.snow();
    dialog.setTerrainType(TerrainType::Lowlands);
    EXPECT_TRUE(dialog.cancel());
    EXPECT_EQ(state.overheadScale, overheadDefaultScale());
    EXPECT_EQ(state.palette, buildOverheadPalette(overheadDefaultScale()));
    EXPECT_EQ(state.scale.terrainType, TerrainType::MountainPlain);
}

TEST_F(TerrainColorsDialogTest, SceneModeEditsTheSceneTableAndItsShades) {
    auto dialog = open(true);
    dialog.selectSlot(1);
    dialog.scroll(Channel::Red, Scroll::Thumb, 255);
    EXPECT_EQ(state.sceneScale.entries[1].red, 255);
    EXPECT_EQ(state.overheadScale, overheadDefaultScale());
    EXPECT_EQ(state.sceneShades[6 + 16 + 15].red, 255);
}

TEST(MapScaleDialog, OpensOnAMultipleOfFourAndStepsByFourAndTwenty) {
    MapScaleDialog dialog(799, 1013, 0.96f, 1024, 768);
    EXPECT_EQ(dialog.width(), 972);
    EXPECT_FLOAT_EQ(dialog.zoom(), 0.96f);
    EXPECT_EQ(dialog.zoomText(), "0.96   ");
    EXPECT_EQ(dialog.minimumWidth(), 101);
    EXPECT_EQ(dialog.maximumWidth(), 2026);
    dialog.lineRight();
    EXPECT_EQ(dialog.width(), 976);
    EXPECT_FLOAT_EQ(dialog.zoom(), 976.0f / 1013.0f);
    EXPECT_EQ(dialog.pixelRows(), 769);
    dialog.pageLeft();
    EXPECT_EQ(dialog.width(), 956);
    dialog.thumb(1001);
    EXPECT_EQ(dialog.width(), 1004);
    dialog.thumb(5000);
    EXPECT_EQ(dialog.width(), 2026);
    dialog.thumb(3);
    EXPECT_EQ(dialog.width(), 101);
}

TEST(MapScaleDialog, ClampsTheOpeningWidthAndFitsTheWindow) {
    MapScaleDialog small(799, 1013, 0.05f, 1024, 768);
    EXPECT_EQ(small.width(), 101);
    EXPECT_FLOAT_EQ(small.zoom(), 101.0f / 1013.0f);
    small.fitWindow();
    EXPECT_FLOAT_EQ(small.zoom(), 768.0f / 799.0f);
    EXPECT_EQ(small.width(), 974);
    EXPECT_EQ(small.pixelRows(), 768);
    MapScaleDialog tiny(10, 10, 1.0f, 1024, 768);
    tiny.fitWindow();
    EXPECT_FLOAT_EQ(tiny.zoom(), 2.0f);
}

TEST(LightingDialog, KeepsTheDepthWithinAHundredPercent) {
    LightingDialog dialog(LightingParameters{});
    EXPECT_EQ(dialog.parameters.azimuth, 240);
    EXPECT_EQ(dialog.parameters.elevation, 80);
    dialog.parameters.shadeDepth = 150;
    dialog.parameters.azimuth = -45;
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(dialog.parameters.shadeDepth, 100);
    EXPECT_EQ(dialog.parameters.azimuth, -45);
    dialog.parameters.shadeDepth = -5;
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(dialog.parameters.shadeDepth, 0);
}

}  // namespace
}  // namespace tavrok::overhead

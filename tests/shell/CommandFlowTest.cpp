#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestSupport.h"
#include "importers/RawMatrixDescription.h"
#include "shell/Dispatch.h"
#include "support/ScriptedUi.h"
#include "terrain/AreaSelectionDialog.h"
#include "terrain/FileTypeDialog.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::shell {
namespace {

// Whole command flows, headless: answers in, messages and resulting state out.
class CommandFlowTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.tempDir = folder() / "tmp";
        std::filesystem::create_directories(state.tempDir);
    }

    void loadSample() {
        state.selectedFiles = {test::sampleTerrain};
        dispatch(state, ui, CommandId::LoadMatrixFiles);
        ASSERT_TRUE(state.terrain.loaded) << ::testing::PrintToString(ui.messageTexts());
    }

    std::filesystem::path writeFloats(std::string_view name, const std::vector<float>& values) {
        return writeBinary(name, values.data(), values.size() * sizeof(float));
    }

    std::vector<std::string> temporaryFilesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(state.tempDir)) {
            if (entry.is_regular_file()) {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    AppState state;
    support::ScriptedUi ui;
};

TEST_F(CommandFlowTest, LoadsTheSampleMatrixAndShowsIt) {
    loadSample();
    const auto& header = state.terrain.header;
    EXPECT_EQ(header.rows, 799);
    EXPECT_EQ(header.columns, 1013);
    EXPECT_EQ(header.zoneText, "10N");
    EXPECT_EQ(ui.windowTitle, "Overhead View - mt_hood.bin");
    EXPECT_EQ(state.viewMode, viewOverhead);
    EXPECT_DOUBLE_EQ(state.overheadZoom, 0.96);
    EXPECT_NEAR(state.shadingScale, 1.0 / 30.0, 1e-9);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(temporaryFilesLeft().empty());

    dispatch(state, ui, CommandId::ShowDemSpecs);
    EXPECT_EQ(ui.dialogsShown.back(), "IDD_DEMSPECS");
}

TEST_F(CommandFlowTest, AFailedLoadKeepsThePreviousTerrain) {
    loadSample();
    const auto header = writeFile("bad.hdr", "number_of_rows\t= 3\n");
    writeFile("bad.bin", "1234");
    state.selectedFiles = {folder() / "bad.bin"};
    dispatch(state, ui, CommandId::LoadMatrixFiles);  // header unusable: the raw dialog follows
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Cannot Read Header"});
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_DIALOG1"});  // cancelled
    EXPECT_TRUE(state.terrain.loaded);
    EXPECT_EQ(state.terrain.header.columns, 1013);
    EXPECT_EQ(ui.windowTitle, "Overhead View - mt_hood.bin");
    EXPECT_TRUE(temporaryFilesLeft().empty());
}

TEST_F(CommandFlowTest, DescribesAHeaderlessGridInTheMatrixDialog) {
    writeFloats("grid.raw", {1, 2, 3, 4, 5, 6});
    state.selectedFiles = {folder() / "grid.raw"};
    ui.queueDialog([](support::DialogModel& dialog) {
        auto& description = dynamic_cast<importers::RawMatrixDescription&>(dialog);
        description.encoding = importers::RawSampleEncoding::Float32;
        description.rows = 2;
        description.columns = 3;
        description.coordinateSystem = terrain::ProjectionKind::XY;
        description.west = 0;
        description.east = 20;
        description.south = 0;
        description.north = 0;  // rejected: south must lie below north
        return true;
    });
    ui.queueDialog([](support::DialogModel& dialog) {
        dynamic_cast<importers::RawMatrixDescription&>(dialog).north = 10;
        return true;
    });
    dispatch(state, ui, CommandId::BuildRawMatrix);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Incorrect Corner Coordinates"});
    ASSERT_TRUE(state.terrain.loaded);
    EXPECT_EQ(state.terrain.header.gridKind, terrain::gridKindMatrix);
    EXPECT_EQ(state.terrain.grid.at(2, 1), 5.0f);  // 6 - minimum 1
    EXPECT_EQ(ui.windowTitle, "Overhead View - grid.raw");
    // The description is remembered for the next use of the dialog.
    EXPECT_EQ(state.rawMatrixDescription.columns, 3);
}

TEST_F(CommandFlowTest, APresetDescriptionSkipsTheDialogOnceAndATemporaryInputIsDeleted) {
    const auto input = writeFloats("from_importer.raw", {10, 20, 30, 40});
    auto& description = state.rawMatrixDescription;
    description.encoding = importers::RawSampleEncoding::Float32;
    description.rows = 2;
    description.columns = 2;
    description.coordinateSystem = terrain::ProjectionKind::XY;
    description.east = 10;
    description.north = 10;
    ASSERT_TRUE(description.accept().ok());
    state.rawMatrixPreset = true;
    state.rawMatrixTemporaryInput = true;
    state.selectedFiles = {input};
    dispatch(state, ui, CommandId::BuildRawMatrix);
    EXPECT_TRUE(state.terrain.loaded);
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_FALSE(std::filesystem::exists(input));
    EXPECT_FALSE(state.rawMatrixPreset);
    EXPECT_FALSE(state.rawMatrixTemporaryInput);
}

TEST_F(CommandFlowTest, AGeoTiffKeepsItsOwnNameInTheTitle) {
    state.selectedFiles = {test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif")};
    dispatch(state, ui, CommandId::LoadUsgsDem);
    ASSERT_TRUE(state.terrain.loaded) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(ui.windowTitle, "Overhead View - gdalraster_lf_elev_220_mt_hood_utm.tif");
    EXPECT_EQ(terrain::MissingCellCount(state.terrain.grid), 26820);
    EXPECT_TRUE(temporaryFilesLeft().empty());
    EXPECT_NE(state.sourceListing.find("Corner Coordinates"), std::string::npos);
    loadSample();  // the corner table belongs to the GeoTIFF only
    EXPECT_TRUE(state.sourceListing.empty());
}

TEST_F(CommandFlowTest, AMissingFileCannotBeOpened) {
    state.selectedFiles = {folder() / "absent.raw"};
    dispatch(state, ui, CommandId::BuildRawMatrix);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Cannot Open Matrix"});
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_FALSE(state.terrain.loaded);
}

TEST_F(CommandFlowTest, ASelectionOfHeadersOnlyIsRefused) {
    state.selectedFiles = {folder() / "a.hdr", folder() / "b.HDR"};
    dispatch(state, ui, CommandId::LoadMatrixFiles);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"No Valid Matrix Files"});
    state.selectedFiles = {folder() / "a.dem"};
    dispatch(state, ui, CommandId::LoadMatrixFiles);
    EXPECT_EQ(ui.messageTexts().back(), "File is not valid matrix");
}

TEST_F(CommandFlowTest, StopDuringALoadCancelsItAndCleansUp) {
    loadSample();
    ui.stopAfterPolls(0);
    state.selectedFiles = {test::sampleTerrain};
    state.terrain.header.title = "previous";
    dispatch(state, ui, CommandId::LoadMatrixFiles);
    EXPECT_EQ(state.terrain.header.title, "previous");
    EXPECT_TRUE(temporaryFilesLeft().empty());
}

TEST_F(CommandFlowTest, StartUpWithAFileChoosesTheImporterByName) {
    state.selectedFiles = {test::sampleTerrain};
    dispatch(state, ui, CommandId::LoadTerrainModel, 1);
    EXPECT_TRUE(state.terrain.loaded);  // a ".hdr" beside it: a terrain matrix
    EXPECT_TRUE(ui.dialogsShown.empty());

    // The first dot decides: "name.tar.gz" is a ".tar" file, described by hand.
    state.selectedFiles = {writeFile("name.tar.gz", "data")};
    state.fileAlreadyChosen = true;
    dispatch(state, ui, CommandId::LoadTerrainModel, 0);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_DIALOG1"});
    EXPECT_FALSE(state.fileAlreadyChosen);

    state.selectedFiles = {writeFile("X.DEM", "not really a DEM")};
    dispatch(state, ui, CommandId::LoadTerrainModel, 1);
    EXPECT_EQ(ui.dialogsShown.size(), 1u);  // went to the USGS importer, not the raw dialog
    EXPECT_EQ(state.terrain.header.columns, 1013);
}

TEST_F(CommandFlowTest, LoadsAMatrixThroughTheFileTypeDialogAndThePrompt) {
    ui.queueDialog([](support::DialogModel& dialog) {
        dynamic_cast<terrain::FileTypeDialog&>(dialog).choose(terrain::fileTypeMatrix);
        return true;
    });
    ui.queueFiles({test::sampleTerrain});
    dispatch(state, ui, CommandId::LoadTerrainModel);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_FILETYPE"});
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].title, "Open Matrix File");
    EXPECT_TRUE(ui.prompts[0].multiSelect);
    EXPECT_TRUE(state.terrain.loaded);
    EXPECT_EQ(state.settings.lastFileType, terrain::fileTypeMatrix);
    EXPECT_TRUE(state.menus.enabled(CommandId::ShowDemSpecs));
}

TEST_F(CommandFlowTest, CancelAtTheDialogOrThePromptChangesNothingButOldTemporaries) {
    loadSample();
    const auto leftOver = writeFile("tmp/tavrok_terrain/old.bin", "x");
    writeFile("tmp/tavrok_terrain/old.hdr", "x");
    state.temporaryTerrainFile = leftOver;
    state.settings.lastFileType = terrain::fileTypeSrtm;
    dispatch(state, ui, CommandId::LoadTerrainModel);  // no dialog answer: Cancel
    EXPECT_EQ(state.settings.lastFileType, terrain::fileTypeSrtm);
    EXPECT_TRUE(temporaryFilesLeft().empty());
    EXPECT_TRUE(state.temporaryTerrainFile.empty());

    ui.queueDialog([](support::DialogModel& dialog) {
        dynamic_cast<terrain::FileTypeDialog&>(dialog).choose(terrain::fileTypeGeoTiff);
        return true;
    });
    dispatch(state, ui, CommandId::LoadTerrainModel);  // no file chosen: Cancel
    EXPECT_EQ(ui.prompts.back().title, "Open GeoTiff DEM File");
    EXPECT_EQ(state.settings.lastFileType, terrain::fileTypeGeoTiff);
    EXPECT_EQ(state.terrain.header.columns, 1013);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandFlowTest, TileSetsAskForAnAreaInsteadOfAFile) {
    ui.queueDialog([](support::DialogModel& dialog) {
        dynamic_cast<terrain::FileTypeDialog&>(dialog).choose(terrain::fileTypeGtopo30);
        return true;
    });
    ui.queueDialog([](support::DialogModel& dialog) {
        auto& area = dynamic_cast<terrain::AreaSelectionDialog&>(dialog);
        area.selectAt(450, 90);  // 45 N, 45 E
        area.setWidthDegrees(25);
        return true;
    });
    dispatch(state, ui, CommandId::LoadTerrainModel);
    EXPECT_EQ(ui.dialogsShown, (std::vector<std::string>{"IDD_FILETYPE", "IDD_GEOCOORD"}));
    // No file prompt before the area; then the first tile the area needs is asked for.
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].title, "Open GOTPO30 File E020N90.DEM or e020n90.tar.gz");
    EXPECT_EQ(state.area.centreLatitude, 45);
    EXPECT_EQ(state.area.centreLongitude, 45);
    EXPECT_EQ(state.area.widthDegrees, 26);
}

TEST_F(CommandFlowTest, AboutAndHelpSpeakThroughTheUi) {
    state.documentationDir = folder() / "docs";
    dispatch(state, ui, CommandId::About);
    EXPECT_EQ(ui.messages.back().caption, "Tavrok Version 20.6");
    ui.documentsOpen = false;
    dispatch(state, ui, CommandId::HelpTopics);
    EXPECT_EQ(ui.documentsOpened.back(), (folder() / "docs/help/tavrok.html").string());
    EXPECT_EQ(ui.messages.back().text, "Adobe Reader must be installed to read Help.");
}

}  // namespace
}  // namespace tavrok::shell

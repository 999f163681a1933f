#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "TestSupport.h"
#include "importers/CloudSpecificationDialog.h"
#include "importers/MolaPolarSelection.h"
#include "importers/RawMatrixDescription.h"
#include "shell/Dispatch.h"
#include "shell/commands/Commands.h"
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
        state.shell.tempDir = folder() / "tmp";
        std::filesystem::create_directories(state.shell.tempDir);
    }

    CommandStatus load(CommandId importer, std::vector<std::filesystem::path> files,
                       int param = 0) {
        return runImport(state, ui, LoadRequest{importer, param, std::move(files)});
    }

    void loadSample() {
        ASSERT_EQ(load(CommandId::LoadMatrixFiles, {test::sampleTerrain}), CommandStatus::Done)
            << ::testing::PrintToString(ui.messageTexts());
    }

    void chooseFileType(int type) {
        ui.queueDialog([type](support::DialogModel& dialog) {
            dynamic_cast<terrain::FileTypeDialog&>(dialog).choose(type);
            return true;
        });
    }

    std::filesystem::path writeFloats(std::string_view name, const std::vector<float>& values) {
        return writeBinary(name, values.data(), values.size() * sizeof(float));
    }

    std::vector<std::string> temporaryFilesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(state.shell.tempDir)) {
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
    const auto& header = state.document.header();
    EXPECT_EQ(header.rows, 799);
    EXPECT_EQ(header.columns, 1013);
    EXPECT_EQ(header.zoneText, "10N");
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - mt_hood.bin");
    EXPECT_EQ(state.map.viewMode, viewOverhead);
    EXPECT_DOUBLE_EQ(state.map.overheadZoom, 0.96);
    EXPECT_EQ(state.document.source().files,
              std::vector<std::filesystem::path>{test::sampleTerrain});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(temporaryFilesLeft().empty());

    dispatch(state, ui, CommandId::ShowDemSpecs);
    EXPECT_EQ(ui.dialogsShown.back(), "IDD_DEMSPECS");
}

TEST_F(CommandFlowTest, AFailedLoadKeepsThePreviousTerrain) {
    loadSample();
    const auto header = writeFile("bad.hdr", "number_of_rows\t= 3\n");
    writeFile("bad.bin", "1234");
    load(CommandId::LoadMatrixFiles,
         {folder() / "bad.bin"});  // header unusable: the raw dialog follows
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Cannot Read Header"});
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_DIALOG1"});  // cancelled
    EXPECT_TRUE(state.document.loaded());
    EXPECT_EQ(state.document.header().columns, 1013);
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - mt_hood.bin");
    EXPECT_TRUE(temporaryFilesLeft().empty());
}

TEST_F(CommandFlowTest, DescribesAHeaderlessGridInTheMatrixDialog) {
    writeFloats("grid.raw", {1, 2, 3, 4, 5, 6});
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
    EXPECT_EQ(load(CommandId::BuildRawMatrix, {folder() / "grid.raw"}), CommandStatus::Done);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Incorrect Corner Coordinates"});
    ASSERT_TRUE(state.document.loaded());
    EXPECT_EQ(state.document.header().gridKind, terrain::gridKindMatrix);
    EXPECT_EQ(state.document.grid().at(2, 1), 5.0f);  // 6 - minimum 1
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - grid.raw");
    // The description is remembered for the next use of the dialog.
    EXPECT_EQ(state.loads.rawMatrixDescription.columns, 3);
}

// An importer's own description builds its grid without the dialog and leaves the one the user
// last entered for the next time the dialog opens.
TEST_F(CommandFlowTest, APresetRequestSkipsTheDialogOnlyForItselfAndDeletesItsTemporaryInput) {
    const auto input = writeFloats("from_importer.raw", {10, 20, 30, 40});
    state.loads.rawMatrixDescription.rows = 7;
    importers::RawMatrixDescription description;
    description.encoding = importers::RawSampleEncoding::Float32;
    description.rows = 2;
    description.columns = 2;
    description.coordinateSystem = terrain::ProjectionKind::XY;
    description.east = 10;
    description.north = 10;
    ASSERT_TRUE(description.accept().ok());
    RawMatrixRequest request(input);
    request.preset = description;
    request.temporaryInput = true;
    request.title = "chosen.tif";
    request.listing = "corners";
    EXPECT_EQ(commands::buildRawMatrix(state, ui, request), CommandStatus::Done);
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_FALSE(std::filesystem::exists(input));
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - chosen.tif");
    EXPECT_EQ(state.document.source().listing, "corners");
    EXPECT_EQ(state.loads.rawMatrixDescription.rows, 7);
    // Nothing of that request is left for the next load: it asks again.
    const auto plain = writeFloats("plain.raw", {1, 2, 3, 4});
    EXPECT_EQ(load(CommandId::BuildRawMatrix, {plain}), CommandStatus::Cancelled);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_DIALOG1"});
    EXPECT_EQ(state.document.source().listing, "corners");
}

TEST_F(CommandFlowTest, AGeoTiffKeepsItsOwnNameInTheTitleAndLeavesTheMatrixDialogAlone) {
    state.loads.rawMatrixDescription.rows = 7;
    load(CommandId::LoadUsgsDem,
         {test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif")});
    ASSERT_TRUE(state.document.loaded()) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - gdalraster_lf_elev_220_mt_hood_utm.tif");
    EXPECT_EQ(terrain::MissingCellCount(state.document.grid()), 26820);
    EXPECT_TRUE(temporaryFilesLeft().empty());
    EXPECT_NE(state.document.source().listing.find("Corner Coordinates"), std::string::npos);
    EXPECT_EQ(state.loads.rawMatrixDescription.rows, 7);
    loadSample();  // the corner table belongs to the GeoTIFF only
    EXPECT_TRUE(state.document.source().listing.empty());
}

TEST_F(CommandFlowTest, AMissingFileOrASelectionOfHeadersOnlyIsRefused) {
    load(CommandId::BuildRawMatrix, {folder() / "absent.raw"});
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Cannot Open Matrix"});
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_FALSE(state.document.loaded());
    load(CommandId::LoadMatrixFiles, {folder() / "a.hdr", folder() / "b.HDR"});
    EXPECT_EQ(ui.messageTexts().back(), "No Valid Matrix Files");
    load(CommandId::LoadMatrixFiles, {folder() / "a.dem"});
    EXPECT_EQ(ui.messageTexts().back(), "File is not valid matrix");
}

TEST_F(CommandFlowTest, StopDuringALoadCancelsItAndCleansUp) {
    loadSample();
    ui.stopAfterPolls(0);
    const auto revision = state.document.revision();
    EXPECT_EQ(load(CommandId::LoadMatrixFiles, {test::sampleTerrain}), CommandStatus::Cancelled);
    EXPECT_EQ(state.document.revision(), revision);
    EXPECT_TRUE(temporaryFilesLeft().empty());
}

TEST_F(CommandFlowTest, StartUpWithAFileChoosesTheImporterByName) {
    using commands::LoadStartupFile;
    EXPECT_EQ(LoadStartupFile(state, ui, test::sampleTerrain), CommandStatus::Done);
    EXPECT_TRUE(ui.dialogsShown.empty());  // a ".hdr" beside it: a terrain matrix

    // The extension decides as everywhere: "name.tar.gz" is an archive of DEMs.
    EXPECT_EQ(LoadStartupFile(state, ui, writeFile("name.tar.gz", "data")), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts().back(), "Faulty Archive File");

    EXPECT_EQ(LoadStartupFile(state, ui, writeFile("alone.bin", "1 2 3")),
              CommandStatus::Cancelled);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_DIALOG1"});

    EXPECT_EQ(LoadStartupFile(state, ui, writeFile("X.DEM", "not really a DEM")),
              CommandStatus::Failed);
    EXPECT_EQ(ui.dialogsShown.size(), 1u);  // went to the USGS importer, not the raw dialog
    EXPECT_EQ(state.document.header().columns, 1013);
}

TEST_F(CommandFlowTest, LoadsAMatrixThroughTheFileTypeDialogAndThePrompt) {
    chooseFileType(terrain::fileTypeMatrix);
    ui.queueFiles({test::sampleTerrain});
    dispatch(state, ui, CommandId::LoadTerrainModel);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_FILETYPE"});
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].title, "Open Matrix File");
    EXPECT_TRUE(ui.prompts[0].multiSelect);
    EXPECT_TRUE(state.document.loaded());
    EXPECT_EQ(state.shell.settings.lastFileType, terrain::fileTypeMatrix);
    EXPECT_TRUE(state.shell.menus.main.enabled(CommandId::ShowDemSpecs));
}

TEST_F(CommandFlowTest, CancelAtTheDialogOrThePromptChangesNothing) {
    loadSample();
    state.shell.settings.lastFileType = terrain::fileTypeSrtm;
    // No dialog answer: Cancel.
    EXPECT_EQ(dispatch(state, ui, CommandId::LoadTerrainModel), CommandStatus::Cancelled);
    EXPECT_EQ(state.shell.settings.lastFileType, terrain::fileTypeSrtm);

    chooseFileType(terrain::fileTypeGeoTiff);
    dispatch(state, ui, CommandId::LoadTerrainModel);  // no file chosen: Cancel
    EXPECT_EQ(ui.prompts.back().title, "Open GeoTiff DEM File");
    EXPECT_EQ(state.shell.settings.lastFileType, terrain::fileTypeGeoTiff);
    EXPECT_EQ(state.document.header().columns, 1013);
    EXPECT_TRUE(ui.messages.empty());
}

// XYZ points: the prompt, "Terrain Specification" without the choice of returns, and an
// X/Y terrain over the points' own extent.
TEST_F(CommandFlowTest, XyzPointsAreGriddedAsAnXyTerrain) {
    loadSample();
    chooseFileType(terrain::fileTypeXyz);
    ui.queueFiles({test::sharedData("xyz/pdal_data.xyz").string()});
    ui.queueDialog([](support::DialogModel& dialog) {
        auto& specification = dynamic_cast<importers::CloudSpecificationDialog&>(dialog);
        EXPECT_EQ(specification.title(), "Terrain Specification");
        EXPECT_FALSE(specification.bareEarthAvailable());
        specification.spacing = 30.0;
        return true;
    });
    ASSERT_EQ(dispatch(state, ui, CommandId::LoadTerrainModel), CommandStatus::Done)
        << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(ui.prompts.back().title, "Load XYZ Points");
    const auto& header = state.document.header();
    EXPECT_EQ(header.projection, terrain::ProjectionKind::XY);
    EXPECT_EQ(header.columns, 39);  // 1140 m at 30 m
    EXPECT_EQ(state.document.source().format, "xyz");
}

// A LAS cloud: the prompt, the spacing and returns dialog over the survey, and a UTM terrain read
// in metres without the latitude/longitude overlay. Cancel keeps the terrain in place.
TEST_F(CommandFlowTest, LasCloudsAreSurveyedSpecifiedAndGridded) {
    loadSample();
    const auto cloud = test::sharedData("las/pdal_autzen-utm.las").string();
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        chooseFileType(terrain::fileTypeLidar);
        ui.queueFiles({cloud});
        ui.queueDialog([accept](support::DialogModel& dialog) {
            auto& specification = dynamic_cast<importers::CloudSpecificationDialog&>(dialog);
            EXPECT_EQ(specification.title(), "LIDAR Terrain Specification");
            EXPECT_EQ(specification.densityText(), "0.0 points/sq meter");
            EXPECT_EQ(specification.spacing, 20.0);
            specification.spacing = 10.0;
            return accept;
        });
        const auto status = dispatch(state, ui, CommandId::LoadTerrainModel);
        EXPECT_EQ(ui.prompts.back().title, "Load LAS Cloud File");
        if (!accept) {
            EXPECT_NE(status, CommandStatus::Done);
            EXPECT_EQ(state.document.header().columns, 1013);
            continue;
        }
        ASSERT_EQ(status, CommandStatus::Done) << ::testing::PrintToString(ui.messageTexts());
        const auto& header = state.document.header();
        EXPECT_EQ(header.zoneText, "10N");
        EXPECT_EQ(header.spacingX, 10.0f);
        EXPECT_EQ(header.westBound, 493990);  // 493994.87 moved down to a multiple of 10
        EXPECT_EQ(header.eastBound, 495000);  // 494993.68 moved up
        EXPECT_FALSE(state.overhead.latLonGrid);
        EXPECT_EQ(state.overhead.coordinateMode, overhead::CoordinateMode::UtmMeters);
        EXPECT_EQ(state.document.source().format, "las");
    }
}

TEST_F(CommandFlowTest, TileSetsAskForAnAreaInsteadOfAFile) {
    chooseFileType(terrain::fileTypeGtopo30);
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
    EXPECT_EQ(state.loads.area.centreLatitude, 45);
    EXPECT_EQ(state.loads.area.centreLongitude, 45);
    EXPECT_EQ(state.loads.area.widthDegrees, 26);
}

// The readout turns polar grid cells back into latitudes with the window the grid was cut from,
// so the window travels with the terrain.
TEST_F(CommandFlowTest, APolarWindowIsKeptWithTheTerrainItWasCutFrom) {
    const auto image = path("megt_n_128_1.img");
    std::ofstream(image, std::ios::binary).close();
    std::filesystem::resize_file(image, std::uint64_t{10240} * 10240 * 2);  // sparse
    ui.queueDialog([](support::DialogModel& dialog) {
        auto& selection = dynamic_cast<importers::MolaPolarSelection&>(dialog);
        selection.centreX = 100;
        selection.centreY = 200;
        selection.width = 20;
        return true;
    });
    ASSERT_EQ(load(CommandId::LoadMarsPolarMola, {folder()}), CommandStatus::Done)
        << ::testing::PrintToString(ui.messageTexts());
    importers::MolaPolarSelection chosen;
    chosen.centreX = 100;
    chosen.centreY = 200;
    chosen.width = 20;
    const auto window = chosen.window();
    const auto& placed = state.document.source().marsPolarWindow;
    ASSERT_TRUE(placed.has_value());
    EXPECT_EQ(placed->firstColumn, window.firstColumn);
    EXPECT_EQ(placed->firstRow, window.firstRow);
    EXPECT_EQ(placed->resolution, 0);
    EXPECT_FALSE(placed->southPole);
    EXPECT_EQ(state.document.header().columns, window.lastColumn - window.firstColumn);
}

TEST_F(CommandFlowTest, AboutIsAnInformationBox) {
    dispatch(state, ui, CommandId::About);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages.back().caption, "Tavrok Version 20.6");
    EXPECT_TRUE(ui.messages.back().information);
}

// The first candidate that exists is opened; the viewer message only when a found file would
// not open; a document found nowhere is named.
TEST_F(CommandFlowTest, HelpAndReadmeOpenTheFirstFileFoundOrSayWhy) {
    struct Case {
        CommandId command;
        bool fileExists;
        bool viewerOpens;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {CommandId::HelpTopics, true, true, {}},
        {CommandId::HelpTopics, true, false, {"Adobe Reader must be installed to read Help."}},
        {CommandId::HelpTopics, false, true, {"Cannot Open File\ntavrok.html"}},
        {CommandId::OpenWebPage, true, true, {}},
        {CommandId::OpenWebPage, true, false, {"Cannot Open File\nREADME.md"}},
        {CommandId::OpenWebPage, false, true, {"Cannot Open File\nREADME.md"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        support::ScriptedUi scripted;
        scripted.documentsOpen = c.viewerOpens;
        const auto root = folder() / std::to_string(&c - cases);
        state.shell.helpFiles = {root / "beside/help/tavrok.html",
                                 root / "prefix/help/tavrok.html"};
        state.shell.readmeFiles = {root / "beside/README.md", root / "prefix/README.md"};
        const auto& wanted = c.command == CommandId::HelpTopics ? state.shell.helpFiles[1]
                                                                : state.shell.readmeFiles[1];
        if (c.fileExists) {
            std::filesystem::create_directories(wanted.parent_path());
            std::ofstream(wanted) << "x";
        }
        dispatch(state, scripted, c.command);
        EXPECT_EQ(scripted.messageTexts(), c.messages);
        const auto opened =
            c.fileExists ? std::vector<std::string>{wanted.string()} : std::vector<std::string>{};
        EXPECT_EQ(scripted.documentsOpened, opened);
    }
}

}  // namespace
}  // namespace tavrok::shell

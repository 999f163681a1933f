#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/Dispatch.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

// Command 1 as the user meets it: routing, archives, messages, and the terrain left in place
// after every failure.
class UsgsCommandTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.shell.tempDir = folder() / "tmp";
        std::filesystem::create_directories(state.shell.tempDir);
    }
    void load(std::vector<std::filesystem::path> files, int param = 0) {
        ui.messages.clear();
        runImport(state, ui, LoadRequest{CommandId::LoadUsgsDem, param, std::move(files)});
    }
    std::filesystem::path storml() const {
        return test::sharedData("usgsdem/gdal362_storml_elev_utm12n_nad83.dem");
    }
    std::filesystem::path modules() const { return test::sharedData("sdts/node-gdal_8821"); }
    void expectPreviousTerrainKept() {
        EXPECT_TRUE(state.document.loaded());
        EXPECT_EQ(state.document.header().columns, 143);
        EXPECT_EQ(state.document.header().rows, 107);
    }
    // Temporary files and unpacked archives are gone after every load.
    void expectTemporariesGone() {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(state.shell.tempDir)) {
            EXPECT_FALSE(entry.is_regular_file()) << entry.path();
        }
        EXPECT_FALSE(std::filesystem::exists(state.shell.tempDir / "tavrok_terrain"));
    }

    AppState state;
    support::ScriptedUi ui;
};

TEST_F(UsgsCommandTest, RefusalsKeepThePreviousTerrain) {
    load({storml()});
    ASSERT_TRUE(state.document.loaded());
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - gdal362_storml_elev_utm12n_nad83.dem");
    writeFile("x.tgz", "not an archive");
    writeFile("t.tif", "");
    const struct Case {
        std::vector<std::filesystem::path> files;
        std::string message;
        std::string caption;
    } cases[] = {
        {{storml(), path("x.tgz")}, "Cannot Mix ASCII DEMs and TGZ DEMs", "Tavrok"},
        {{path("x.tgz")}, "Faulty Archive File", "Tavrok"},
        {{path("x.tgz"), path("x.tgz")}, "Incompatible Archive  x.tgz", "Tavrok"},
        {{test::sharedData("sdts/SDTS-Browser_916286.BD.sdts.tar")},
         "Can't Open DEM Cell file",
         "SDTS2DEM"},
        {{test::sharedData("sdts/SDTS-Browser_850101.HY.sdts.tar.gz"),
          test::sharedData("sdts/SDTS-Browser_916286.BD.sdts.tar")},
         "Error Reading SDTS Files",
         "Tavrok"},
        {{path("t.tif")}, "GeoTiff File Error", "Tavrok"},
        {{writeFile("bad.dem", "nothing")}, "Not a DEM file", "Tavrok"},
    };
    for (const auto& c : cases) {
        load(c.files);
        ASSERT_EQ(ui.messages.size(), 1u) << c.message;
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].caption, c.caption);
        expectPreviousTerrainKept();
        expectTemporariesGone();
    }
}

TEST_F(UsgsCommandTest, TileNamesAskBeforeTheTileImporterRuns) {
    writeFile("e10g", "");
    load({path("e10g")});
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].find("Do you wish to load NOAA GLOBE Tile?"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
    ui.queueAnswer(true);
    load({writeFile("w180n90.dem", "")});
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_NE(ui.questions[1].find("USGS GTOPO30 Tile?"), std::string::npos);
    // The tile importer looks beside the named file, then asks for the first tile it needs.
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_FALSE(ui.prompts.empty());
    EXPECT_EQ(ui.prompts.back().title, "Open GOTPO30 File W020N40.DEM or w020n40.tar.gz");
}

TEST_F(UsgsCommandTest, ArchivesLoadAsTheirContents) {
    if (!test::haveProgram("tar")) {
        GTEST_SKIP() << "tar is not installed";
    }
    load({modules() / "8821CATD.DDF"});
    ASSERT_TRUE(state.document.loaded()) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - 8821CATD.DDF");
    const auto directCells = state.document.grid().cells();
    const std::vector<float> direct(directCells.begin(), directCells.end());
    expectTemporariesGone();

    test::runCommand("cd '" + modules().string() + "' && tar -czf '" + path("8821.tgz").string() +
                     "' *.DDF && cd '" + storml().parent_path().string() + "' && tar -cf '" +
                     path("dem.tar").string() + "' " + storml().filename().string());
    load({path("8821.tgz")});
    ASSERT_TRUE(state.document.loaded()) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(ui.mainWindow.title, "Overhead View - 8821.tgz");
    const auto cells = state.document.grid().cells();
    EXPECT_EQ(std::vector<float>(cells.begin(), cells.end()), direct);
    expectTemporariesGone();

    load({path("dem.tar")});
    ASSERT_TRUE(state.document.loaded()) << ::testing::PrintToString(ui.messageTexts());
    EXPECT_EQ(state.document.header().columns, 143);
    expectTemporariesGone();

    load({path("8821.tgz"), path("dem.tar")});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Cannot Mix 1 Degree and 7.5 Minute DEMs");
}

}  // namespace
}  // namespace tavrok::shell

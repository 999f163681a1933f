#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "exporters/FileFormatDialog.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::shell {
namespace {

using importers::MatrixEncoding;

// The File menu's writers as the user meets them: questions, dialogs, prompts and messages,
// and a terrain that a save leaves as it was.
class SaveCommandsTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.shell.tempDir = folder() / "work";
        std::filesystem::create_directories(state.shell.tempDir);
    }
    void loadSample() {
        ASSERT_EQ(runImport(state, ui, loadRequestForFiles({test::sampleTerrain})),
                  CommandStatus::Done);
    }
    // A 2 x 2 grid of the given kind and extremes.
    void install(terrain::ProjectionKind projection, double minimum, double maximum,
                 terrain::DataType dataType = terrain::DataType::Height) {
        auto grid = terrain::TerrainModel::create(2, 2, 0.0f).value();
        grid.at(1, 1) = static_cast<float>(maximum - minimum);
        terrain::TerrainHeader header;
        header.rows = header.columns = 2;
        header.projection = projection;
        header.utmZone = projection == terrain::ProjectionKind::UTM ? 10 : 0;
        header.zoneText = "10N";
        header.westBound = 500000;
        header.eastBound = 500030;
        header.southBound = 4400000;
        header.northBound = 4400030;
        header.spacingX = header.spacingY = 30;
        header.minElevation = minimum;
        header.maxElevation = maximum;
        header.dataType = dataType;
        state.document.replace(std::move(grid), header, {});
    }
    void chooseFormat(MatrixEncoding encoding, MatrixEncoding expectedStart) {
        ui.queueDialog([=](support::DialogModel& dialog) {
            auto& format = dynamic_cast<exporters::FileFormatDialog&>(dialog);
            EXPECT_EQ(format.encoding, expectedStart);
            format.encoding = encoding;
            return true;
        });
    }

    AppState state;
    support::ScriptedUi ui;
};

TEST_F(SaveCommandsTest, GeoTiffAsksItsQuestionFirstAndLeavesTheTerrainAlone) {
    loadSample();
    const auto revision = state.document.revision();
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveGeoTiffDem), CommandStatus::Cancelled);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0],
              "This action will save GeoTiff DEM and not GeoTiff graphics file\n"
              "If you wish to save GeoTiff graphics file choose 'Save Map Image'");
    EXPECT_TRUE(ui.prompts.empty());
    ui.queueAnswer(true);
    ui.queueFiles({path("hood").string()});
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveGeoTiffDem), CommandStatus::Done);
    EXPECT_EQ(ui.prompts.back().title, "Save GeoTiff DEM");
    EXPECT_TRUE(ui.prompts.back().save);
    EXPECT_TRUE(std::filesystem::exists(path("hood.tif")));  // the default extension
    EXPECT_EQ(state.document.revision(), revision);
    EXPECT_FALSE(ui.waitCursor);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SaveCommandsTest, MatrixFormatIsChosenFirstAndRemembered) {
    loadSample();
    chooseFormat(MatrixEncoding::Int16, MatrixEncoding::Float32);
    ui.queueFiles({path("hood.bin").string()});
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveTerrainMatrix), CommandStatus::Done);
    EXPECT_EQ(ui.prompts.back().filter, "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||");
    EXPECT_EQ(std::filesystem::file_size(path("hood.bin")), 799u * 1013 * 2);
    chooseFormat(MatrixEncoding::Ascii, MatrixEncoding::Int16);
    ui.queueFiles({path("hood").string()});
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveTerrainMatrix), CommandStatus::Done);
    EXPECT_EQ(ui.prompts.back().filter, "Text (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_TRUE(std::filesystem::exists(path("hood.txt")));
    EXPECT_EQ(ui.dialogsShown, (std::vector<std::string>{"IDD_FILEFORMAT", "IDD_FILEFORMAT"}));
}

TEST_F(SaveCommandsTest, MatrixWithoutZoneIsDeclaredUtmOnlyWhenTheUserGivesOne) {
    install(terrain::ProjectionKind::XY, 10, 20);
    const auto before = state.document.revision();
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveUsgsDem), CommandStatus::Cancelled);
    EXPECT_EQ(ui.dialogsShown, std::vector<std::string>{"IDD_ZONE"});
    EXPECT_EQ(state.document.header().projection, terrain::ProjectionKind::XY);
    EXPECT_EQ(state.document.revision(), before);
    ui.queueDialog([](support::DialogModel& dialog) {
        return dynamic_cast<terrain::UtmZoneDialog&>(dialog).setZoneText("13N");
    });
    ui.queueFiles({path("xy.dem").string()});
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveUsgsDem), CommandStatus::Done);
    const auto& header = state.document.header();
    EXPECT_EQ(header.projection, terrain::ProjectionKind::UTM);
    EXPECT_EQ(header.zoneText, "13N");
    EXPECT_EQ(header.ellipsoid, geodesy::EllipsoidId::Wgs84);
    std::ifstream dem(path("xy.dem"));
    std::string recordA(1024, ' ');
    dem.read(recordA.data(), 1024);
    EXPECT_EQ(recordA.substr(144, 24), "     1     1     1    13");
}

TEST_F(SaveCommandsTest, RefusalsAndFailuresAreShownOnceWithoutAPrompt) {
    const struct Case {
        terrain::ProjectionKind projection;
        double maximum;
        terrain::DataType dataType;
        CommandId command;
        const char* file;
        std::string message;
    } cases[] = {
        {terrain::ProjectionKind::UTM, 20, terrain::DataType::Depth, CommandId::SaveUsgsDem, "",
         "Cannot Save Depth Matrix as USGS DEM"},
        {terrain::ProjectionKind::Sinusoidal, 20, terrain::DataType::Height,
         CommandId::SaveGeoTiffDem, "",
         "Cannot Convert Sinusoidal Projection to GeoTiff\n"
         "       Start with Lat/Lon Projection Instead"},
        {terrain::ProjectionKind::UTM, 40000, terrain::DataType::Height,
         CommandId::SaveTerrainMatrix, "",
         "Elevations Exceed the Signed Integer Range (-32768 to 32767)\n"
         "Save as Floating Point Instead"},
        {terrain::ProjectionKind::UTM, 20, terrain::DataType::Height, CommandId::SaveUsgsDem,
         "/proc/self/x.dem", "Unable to Open DEM File"},
    };
    for (const auto& c : cases) {
        install(c.projection, 10, c.maximum, c.dataType);
        ui = support::ScriptedUi{};
        chooseFormat(MatrixEncoding::Int16, MatrixEncoding::Float32);
        ui.queueFiles({c.file});
        EXPECT_EQ(dispatch(state, ui, c.command), CommandStatus::Failed);
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(ui.prompts.size(), *c.file ? 1u : 0u) << c.message;
        state.exports = {};
    }
}

TEST_F(SaveCommandsTest, StopEndsTheSaveWithNoFile) {
    loadSample();
    ui.queueAnswer(true);
    ui.queueFiles({path("hood.tif").string()});
    ui.stopAfterPolls(0);
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveGeoTiffDem), CommandStatus::Cancelled);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Operation Cancelled"});
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
        EXPECT_EQ(entry.path().filename(), "work");  // neither the file nor its temporary
    }
}

}  // namespace
}  // namespace tavrok::shell

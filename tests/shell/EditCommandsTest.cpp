#include <gtest/gtest.h>

#include "TestSupport.h"
#include "edit/AreaLimitsDialog.h"
#include "edit/EllipsoidDialog.h"
#include "importers/CloudSpecificationDialog.h"
#include "shell/Dispatch.h"
#include "shell/commands/Commands.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

using commands::finishMapTool;

// The edits as the user drives them: F8 or F7, a rectangle, Enter, the dialogs.
class EditCommandsTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.shell.tempDir = folder();
    }

    void load(CommandId importer, const std::filesystem::path& file) {
        ASSERT_EQ(runImport(state, ui, LoadRequest{importer, 0, {file}}), CommandStatus::Done)
            << ::testing::PrintToString(ui.messageTexts());
    }

    // Answers "Adjust Limits" with these edges, or Cancel when empty.
    void answerLimits(std::optional<std::array<const char*, 4>> edges) {
        ui.queueDialog([edges](support::DialogModel& dialog) {
            if (!edges) {
                return false;
            }
            auto& limits = dynamic_cast<edit::AreaLimitsDialog&>(dialog);
            limits.west = (*edges)[0];
            limits.south = (*edges)[1];
            limits.east = (*edges)[2];
            limits.north = (*edges)[3];
            return true;
        });
    }

    void chooseEllipsoid(geodesy::EllipsoidId ellipsoid) {
        ui.queueDialog([ellipsoid](support::DialogModel& dialog) {
            dynamic_cast<edit::EllipsoidDialog&>(dialog).ellipsoid = ellipsoid;
            return true;
        });
    }

    AppState state;
    support::ScriptedUi ui;
};

// A terrain gridded from LAS files is not cut: its points are gridded afresh over the smaller
// area, with the spacing and returns dialog shown again.
TEST_F(EditCommandsTest, CroppingALasTerrainGridsItsPointsAgain) {
    const auto setSpacing = [this](double spacing) {
        ui.queueDialog([spacing](support::DialogModel& dialog) {
            dynamic_cast<importers::CloudSpecificationDialog&>(dialog).spacing = spacing;
            return true;
        });
    };
    setSpacing(10);
    load(CommandId::LoadLasCloud, test::sharedData("las/pdal_autzen-utm.las"));
    ASSERT_EQ(state.document.header().westBound, 493990);
    ASSERT_EQ(dispatch(state, ui, CommandId::SelectSmallerArea), CommandStatus::Done);
    answerLimits(std::array{"494200", "4877600", "494600", "4878200"});
    setSpacing(5);
    ASSERT_EQ(finishMapTool(state, ui, SelectedArea{{1, 1, 2, 2}, {}}), CommandStatus::Done)
        << ::testing::PrintToString(ui.messageTexts());
    const auto& header = state.document.header();
    EXPECT_EQ(header.spacingX, 5.0f);
    EXPECT_EQ(header.westBound, 494200);
    EXPECT_EQ(header.eastBound, 494600);
    EXPECT_EQ(header.columns, 81);
    EXPECT_EQ(header.rows, 121);
    EXPECT_EQ(state.document.source().format, "las");
}

TEST_F(EditCommandsTest, CropAsksForLimitsUntilTheyFormARectangle) {
    load(CommandId::LoadMatrixFiles, test::sampleTerrain);
    const auto before = state.document.header();
    ASSERT_EQ(dispatch(state, ui, CommandId::SelectSmallerArea), CommandStatus::Done);
    EXPECT_EQ(state.mapTools.current(), MapTool::SelectArea);
    EXPECT_FALSE(state.shell.menus.main.enabled(CommandId::ConvertToUtm));

    // Cancel leaves everything as it was and brings the menus back.
    answerLimits(std::nullopt);
    EXPECT_EQ(finishMapTool(state, ui, SelectedArea{{100.4, 200.2, 300.7, 400.9}, {}}),
              CommandStatus::Cancelled);
    EXPECT_EQ(state.document.header().columns, before.columns);
    EXPECT_TRUE(state.shell.menus.main.enabled(CommandId::SelectSmallerArea));

    const std::string west = std::to_string(static_cast<long>(before.originX) + 3000);
    const std::string south = std::to_string(static_cast<long>(before.originY) + 3000);
    const std::string east = std::to_string(static_cast<long>(before.originX) + 9000);
    const std::string north = std::to_string(static_cast<long>(before.originY) + 6000);
    answerLimits(std::array{east.c_str(), south.c_str(), west.c_str(), north.c_str()});
    answerLimits(std::array{west.c_str(), south.c_str(), east.c_str(), north.c_str()});
    const auto revision = state.document.revision();
    EXPECT_EQ(finishMapTool(state, ui, SelectedArea{{1, 1, 2, 2}, {}}), CommandStatus::Done);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Improper Boundaries"});
    EXPECT_GT(state.document.revision(), revision);
    const auto& header = state.document.header();
    EXPECT_EQ(header.columns, 6000 / before.spacingX + 1);
    EXPECT_EQ(header.rows, 3000 / before.spacingY + 1);
    EXPECT_EQ(state.mapTools.current(), MapTool::Readout);
}

TEST_F(EditCommandsTest, PatchReportsTheCellsItFilled) {
    load(CommandId::LoadMatrixFiles, test::sampleTerrain);
    auto& grid = state.document.edit().grid;
    grid.at(50, 60) = grid.at(51, 60) = terrain::missingCell;
    const float lowest = 0.0f;
    grid.at(52, 61) = lowest;
    ASSERT_EQ(dispatch(state, ui, CommandId::PatchMissingData), CommandStatus::Done);
    EXPECT_EQ(state.mapTools.current(), MapTool::PatchArea);
    EXPECT_EQ(finishMapTool(state, ui, PatchArea{{40.4, 50.2, 60.6, 70.4}, {}}),
              CommandStatus::Done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "2 Points Patched");
    EXPECT_GE(state.document.grid().at(50, 60), 0.0f);
    EXPECT_EQ(state.document.grid().at(52, 61), lowest);
}

TEST_F(EditCommandsTest, ConversionToUtmIsConfirmedAndCommitsOnlyAFinishedGrid) {
    const auto tile = test::sharedData("srtm/N57E011.hgt");
    if (!std::filesystem::exists(tile)) {
        GTEST_SKIP() << "tile absent";
    }
    load(CommandId::LoadSrtmFiles, tile);
    const auto revision = state.document.revision();

    // An ellipsoid the loader preset is confirmed first; No keeps the Lat/Lon terrain.
    state.edits.presetEllipsoid = geodesy::EllipsoidId::Grs1980;
    ui.queueAnswer(false);
    EXPECT_EQ(dispatch(state, ui, CommandId::ConvertToUtm, 1), CommandStatus::Cancelled);
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"DEM Must Be Converted to UTM with NAD83 Ellipsoid"});
    EXPECT_EQ(state.document.revision(), revision);
    state.edits.presetEllipsoid.reset();

    // Stop during the fill: the Lat/Lon terrain stays.
    chooseEllipsoid(geodesy::EllipsoidId::Clarke1866);
    ui.stopAfterPolls(2);
    EXPECT_EQ(dispatch(state, ui, CommandId::ConvertToUtm), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts().back(), "Conversion Cancelled");
    EXPECT_EQ(state.document.revision(), revision);
    EXPECT_EQ(state.document.header().projection, terrain::ProjectionKind::LatLon);
    EXPECT_NE(ui.progressTexts.front().find("Lines Remaining"), std::string::npos);

    ui.stopAfterPolls(-1);
    chooseEllipsoid(geodesy::EllipsoidId::Clarke1866);
    EXPECT_EQ(dispatch(state, ui, CommandId::ConvertToUtm), CommandStatus::Done);
    const auto& header = state.document.header();
    EXPECT_EQ(header.zoneText, "32N");
    EXPECT_EQ(header.ellipsoidCode, 1);
    EXPECT_EQ(state.overhead.coordinateMode, overhead::CoordinateMode::UtmMeters);
    EXPECT_EQ(state.edits.utmEllipsoid, geodesy::EllipsoidId::Clarke1866);

    // Once in UTM: refused; the ellipsoid moves to WGS84 and not twice.
    EXPECT_EQ(dispatch(state, ui, CommandId::ConvertToUtm), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts().back(), "Current Terrain Uses UTM Projection");
    EXPECT_EQ(dispatch(state, ui, CommandId::ChangeUtmEllipsoid, 2), CommandStatus::Done);
    EXPECT_EQ(state.document.header().ellipsoidCode, 3);
    EXPECT_EQ(dispatch(state, ui, CommandId::ChangeUtmEllipsoid, 2), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts().back(), "No Ellipsoid Change Required");
}

}  // namespace
}  // namespace tavrok::shell

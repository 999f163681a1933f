#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

TEST(CommandTable, ListsEveryCommandOnce) {
    std::set<CommandId> seen;
    for (const auto& entry : commandTable()) {
        EXPECT_TRUE(seen.insert(entry.id).second) << static_cast<int>(entry.id);
        EXPECT_FALSE(entry.text.empty());
        EXPECT_EQ(findCommand(entry.id), &entry);
    }
    EXPECT_EQ(seen.size(), 63u);
    EXPECT_EQ(findCommand(CommandId::ShowDemSpecs)->text, "Show DEM Specs");
    EXPECT_EQ(static_cast<int>(CommandId::UtmMeters), 40121);
}

TEST(Dispatch, SaysPlainlyWhenACommandIsNotBuiltYet) {
    AppState state;
    support::ScriptedUi ui;
    dispatch(state, ui, CommandId::SaveGeoTiffDem);
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"\"Save GeoTiff DEM\" is not available yet"});
    dispatch(state, ui, static_cast<CommandId>(12345));
    EXPECT_EQ(ui.messageTexts().back(), "Unknown command 12345");
}

TEST(Dispatch, StopAndExitOnlyRaiseFlags) {
    AppState state;
    support::ScriptedUi ui;
    dispatch(state, ui, CommandId::StopOperation);
    EXPECT_TRUE(state.stopRequested);
    state.busy = true;
    dispatch(state, ui, CommandId::Exit);
    EXPECT_FALSE(state.quitRequested);
    state.busy = false;
    dispatch(state, ui, CommandId::Exit);
    EXPECT_TRUE(state.quitRequested);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(OverheadZoom, FitsTheSmallerDirectionCappedAndTruncated) {
    EXPECT_DOUBLE_EQ(overheadZoomFor(799, 1013, 1024, 768), 0.96);  // 768 / 799 = 0.9612
    EXPECT_DOUBLE_EQ(overheadZoomFor(100, 100, 1024, 768), 2.0);
    EXPECT_DOUBLE_EQ(overheadZoomFor(300, 3000, 1000, 800), 0.33);
}

TEST(LoadRequest, FollowsTheExtensionAndTheHeaderBeside) {
    EXPECT_EQ(loadRequestForFiles({"a/b.DEM"}).command, CommandId::LoadUsgsDem);
    EXPECT_EQ(loadRequestForFiles({"x.ddf"}).param, 1);
    EXPECT_EQ(loadRequestForFiles({"N57E011.hgt"}).command, CommandId::LoadSrtmFiles);
    EXPECT_EQ(loadRequestForFiles({"grid.bin"}).command, CommandId::BuildRawMatrix);
    EXPECT_EQ(loadRequestForFiles({test::sampleTerrain}).command, CommandId::LoadMatrixFiles);
    EXPECT_EQ(loadRequestForType("raw")->command, CommandId::BuildRawMatrix);
    EXPECT_FALSE(loadRequestForType("jpeg").has_value());
}

}  // namespace
}  // namespace tavrok::shell

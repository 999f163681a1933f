#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "shell/Dispatch.h"
#include "shell/KeyBindings.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

TEST(CommandTable, ListsEveryCommandOnceAndMarksTheLongOnes) {
    std::set<CommandId> seen;
    for (const auto& entry : commandTable()) {
        EXPECT_TRUE(seen.insert(entry.id).second) << static_cast<int>(entry.id);
        EXPECT_EQ(findCommand(entry.id), &entry);
        // Every importer is long; a command is either a handler or an importer.
        if (entry.importer != nullptr) {
            EXPECT_TRUE(entry.longRunning) << entry.text;
            EXPECT_EQ(entry.handler, nullptr) << entry.text;
        }
    }
    EXPECT_TRUE(findCommand(CommandId::LoadTerrainModel)->longRunning);
    EXPECT_TRUE(findCommand(CommandId::BuildOverhead)->longRunning);
    EXPECT_FALSE(findCommand(CommandId::About)->longRunning);
}

// A failed command, a cancelled one and a good one are told apart by their status alone, not
// by whether a message was shown.
TEST(Dispatch, ReportsHowACommandEndedAndSaysPlainlyWhatIsNotBuiltYet) {
    AppState state;
    support::ScriptedUi ui;
    EXPECT_EQ(dispatch(state, ui, CommandId::SaveImage), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"\"Save Map Image\" is not available yet"});
    EXPECT_EQ(dispatch(state, ui, static_cast<CommandId>(12345)), CommandStatus::Failed);
    EXPECT_EQ(ui.messageTexts().back(), "Unknown command 12345");
    const auto load = [&](CommandId importer, std::vector<std::filesystem::path> files) {
        return runImport(state, ui, LoadRequest{importer, 0, std::move(files)});
    };
    EXPECT_EQ(load(CommandId::LoadLasCloud, {"a.las"}), CommandStatus::Failed);
    EXPECT_EQ(load(CommandId::LoadMatrixFiles, {"absent.hdr"}), CommandStatus::Failed);
    EXPECT_EQ(load(CommandId::BuildRawMatrix, {}), CommandStatus::Cancelled);
    EXPECT_EQ(load(CommandId::LoadMatrixFiles, {test::sampleTerrain}), CommandStatus::Done);
}

class JobGuardTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        state.shell.tempDir = folder();
        MenusAtStartup(state.shell.menus.main);
    }
    CommandStatus loadSample() {
        return runImport(state, ui,
                         LoadRequest{CommandId::LoadMatrixFiles, 0, {test::sampleTerrain}});
    }

    AppState state;
    support::ScriptedUi ui;
};

// The user's events arrive through the pump while a load runs: Exit, another load and another
// long command. Only the close is kept, for when the job has ended.
TEST_F(JobGuardTest, ALoadTakesOnlyStopAndADeferredExitFromThePump) {
    std::vector<CommandStatus> during;
    std::vector<bool> greyed;
    ui.onPump = [&](int) {
        if (!during.empty()) {
            return;
        }
        greyed = {state.shell.menus.main.enabled(CommandId::LoadTerrainModel),
                  state.shell.menus.main.enabled(CommandId::StopOperation),
                  state.shell.menus.scene.enabled(CommandId::StopOperation)};
        during.push_back(dispatch(state, ui, CommandId::Exit));
        during.push_back(dispatch(state, ui, CommandId::LoadTerrainModel));
        during.push_back(dispatch(state, ui, CommandId::BuildOverhead));
        during.push_back(dispatch(state, ui, CommandId::ResizeOverheadView));
    };
    EXPECT_EQ(loadSample(), CommandStatus::Done);
    ASSERT_FALSE(during.empty()) << "the load never pumped events";
    EXPECT_EQ(during, (std::vector{CommandStatus::Done, CommandStatus::Busy, CommandStatus::Busy,
                                   CommandStatus::Busy}));
    EXPECT_EQ(greyed, (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_TRUE(state.document.loaded());
    EXPECT_FALSE(state.shell.busy);
    EXPECT_TRUE(state.shell.quitRequested);
    EXPECT_FALSE(state.shell.closeDeferred);
    // The menus follow the loaded terrain again; the window was told both times.
    EXPECT_TRUE(state.shell.menus.main.enabled(CommandId::ShowDemSpecs));
    EXPECT_FALSE(state.shell.menus.main.enabled(CommandId::StopOperation));
    EXPECT_EQ(ui.mainWindow.menuRefreshes, 2);
}

TEST_F(JobGuardTest, StopFromThePumpEndsTheJobAndAFailedLoadRestoresTheStartupMenus) {
    const auto before = state.shell.menus.main.items;
    ui.onPump = [&](int) { dispatch(state, ui, CommandId::StopOperation); };
    EXPECT_EQ(loadSample(), CommandStatus::Cancelled);
    EXPECT_FALSE(state.document.loaded());
    EXPECT_FALSE(state.shell.quitRequested);
    EXPECT_EQ(state.shell.menus.main.items, before);
}

TEST_F(JobGuardTest, ExitOutsideAJobQuitsAtOnce) {
    EXPECT_EQ(dispatch(state, ui, CommandId::Exit), CommandStatus::Done);
    EXPECT_TRUE(state.shell.quitRequested);
    EXPECT_EQ(dispatch(state, ui, CommandId::StopOperation), CommandStatus::Done);
    EXPECT_TRUE(state.shell.stopRequested);
}

// Installing a terrain draws nothing; the views catch up once per revision.
TEST_F(JobGuardTest, TheMapIsBuiltOncePerRevisionAfterTheLoad) {
    ASSERT_EQ(loadSample(), CommandStatus::Done);
    EXPECT_TRUE(state.overhead.image.empty());
    EXPECT_TRUE(ui.mainWindow.growingMapRows.empty());
    EXPECT_EQ(refreshViews(state, ui), CommandStatus::Done);
    const auto bands = ui.mainWindow.growingMapRows.size();
    EXPECT_GT(bands, 0u);
    EXPECT_EQ(state.map.builtRevision, state.document.revision());
    refreshViews(state, ui);
    EXPECT_EQ(ui.mainWindow.growingMapRows.size(), bands);

    // An edit in place is a new revision: the shading is computed again for it.
    const auto shadedBefore = state.overhead.shadedRevision;
    state.document.edit().grid.at(10, 10) = 0.0f;
    refreshViews(state, ui);
    EXPECT_GT(ui.mainWindow.growingMapRows.size(), bands);
    EXPECT_NE(state.overhead.shadedRevision, shadedBefore);
    EXPECT_EQ(state.overhead.shadedRevision, state.document.revision());
}

TEST(Document, EveryChangeIsANewRevisionAndOnlyAReplacementANewIdentity) {
    terrain::Document document;
    EXPECT_FALSE(document.loaded());
    auto grid = terrain::TerrainModel::create(2, 2).value();
    terrain::SourceRecord source;
    source.title = "first";
    source.marsPolarWindow = terrain::MarsPolarWindow{1, 10, 20, true};
    document.replace(std::move(grid), {}, source);
    const auto loadedRevision = document.revision();
    const auto identity = document.identity();
    EXPECT_TRUE(document.loaded());
    EXPECT_EQ(document.source().marsPolarWindow->firstRow, 20);
    document.edit();
    EXPECT_GT(document.revision(), loadedRevision);
    EXPECT_EQ(document.identity(), identity);
    document.clear();
    EXPECT_FALSE(document.loaded());
    EXPECT_NE(document.identity(), identity);
    EXPECT_FALSE(document.source().marsPolarWindow.has_value());
}

TEST(OverheadZoom, FitsTheSmallerDirectionCappedAndTruncated) {
    EXPECT_DOUBLE_EQ(overheadZoomFor(799, 1013, 1024, 768), 0.96);  // 768 / 799 = 0.9612
    EXPECT_DOUBLE_EQ(overheadZoomFor(100, 100, 1024, 768), 2.0);
    EXPECT_DOUBLE_EQ(overheadZoomFor(300, 3000, 1000, 800), 0.33);
    // A fit below a hundredth is kept rather than truncated to 0.
    EXPECT_DOUBLE_EQ(overheadZoomFor(80000, 2, 1024, 768), 768.0 / 80000);
}

TEST(LoadRequest, FollowsTheExtensionAndTheHeaderBeside) {
    EXPECT_EQ(loadRequestForFiles({"a/b.DEM"}).importer, CommandId::LoadUsgsDem);
    EXPECT_EQ(loadRequestForFiles({"x.ddf"}).param, 1);
    EXPECT_EQ(loadRequestForFiles({"N57E011.hgt"}).importer, CommandId::LoadSrtmFiles);
    EXPECT_EQ(loadRequestForFiles({"grid.bin"}).importer, CommandId::BuildRawMatrix);
    EXPECT_EQ(loadRequestForFiles({test::sampleTerrain}).importer, CommandId::LoadMatrixFiles);
    EXPECT_EQ(loadRequestForFiles({"a.hgt", "b.hgt"}).files.size(), 2u);
    EXPECT_EQ(loadRequestForType("raw")->importer, CommandId::BuildRawMatrix);
    EXPECT_FALSE(loadRequestForType("jpeg").has_value());
}

// The key table's conditions, for each kind of terrain and view.
TEST(KeyBindings, FollowTheViewAndTheProjection) {
    AppState state;
    auto grid = terrain::TerrainModel::create(2, 2).value();
    terrain::TerrainHeader header;
    header.projection = terrain::ProjectionKind::Sinusoidal;
    state.document.replace(std::move(grid), header, {});
    state.map.viewMode = viewOverhead;
    struct Case {
        Key key;
        bool control;
        std::optional<CommandId> sinusoidal;
        std::optional<CommandId> utm;
    };
    const Case cases[] = {
        {Key::F1, false, CommandId::OverheadView, CommandId::OverheadView},
        {Key::F4, false, std::nullopt, CommandId::MapOverlay},
        {Key::F7, false, std::nullopt, CommandId::PatchMissingData},
        {Key::F8, false, std::nullopt, CommandId::SelectSmallerArea},
        {Key::F8, true, std::nullopt, std::nullopt},
        {Key::F9, false, CommandId::OpenWebPage, CommandId::OpenWebPage},
        {Key::Escape, false, CommandId::StopOperation, CommandId::StopOperation},
    };
    for (const auto projection :
         {terrain::ProjectionKind::Sinusoidal, terrain::ProjectionKind::UTM}) {
        state.document.edit().header.projection = projection;
        for (const auto& c : cases) {
            const auto context = commandForKey(state, WindowId::Main, c.key, c.control);
            const auto expected = projection == terrain::ProjectionKind::UTM ? c.utm : c.sinusoidal;
            EXPECT_EQ(context ? std::optional(context->id) : std::nullopt, expected)
                << static_cast<int>(c.key);
        }
    }
    EXPECT_EQ(commandForKey(state, WindowId::Main, Key::F3, false)->param, 0);
    state.map.viewMode = viewScene;
    EXPECT_EQ(commandForKey(state, WindowId::Scene, Key::F3, false)->param, 1);
    EXPECT_FALSE(commandForKey(state, WindowId::Main, Key::F8, false).has_value());
}

}  // namespace
}  // namespace tavrok::shell

#include <gtest/gtest.h>

#include "shell/MenuLayout.h"
#include "shell/MenuState.h"

namespace tavrok::shell {
namespace {

using enum CommandId;

MenuContext utmOverhead() {
    MenuContext context;
    context.viewMode = 1;
    return context;
}

MenuState updated(const MenuContext& context, int& display, int grid = gridOn) {
    MenuState menus;
    MenusAtStartup(menus);
    UpdateMenus(context, display, grid, menus);
    return menus;
}

TEST(MenuLayout, PutsTheRuledPopupsWhereTheRulesExpectThem) {
    const auto& menu = mainMenu();
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[0].text, "File");
    EXPECT_EQ(menu[0].entries[9].text, "SaveTerragen Terrain");
    EXPECT_EQ(menu[1].entries[1].text, "Change Projection");
    EXPECT_EQ(menu[2].entries[1].text, "Transfer GPS Points");
    EXPECT_EQ(menu[3].entries[0].text, "Show Scale");
    const auto commands = commandEntries(menu);
    EXPECT_EQ(commands.size(), 44u);
    EXPECT_EQ(commands.front()->command, LoadTerrainModel);
    EXPECT_EQ(commands.back()->command, About);
    EXPECT_EQ(commandEntries(sceneMenu()).size(), 12u);
}

TEST(MenuState, StartsWithOnlyLoadExitHelpAndAbout) {
    MenuState menus;
    MenusAtStartup(menus);
    for (const auto* entry : commandEntries(mainMenu())) {
        const bool expected = entry->command == LoadTerrainModel || entry->command == Exit ||
                              entry->command == HelpTopics || entry->command == About;
        EXPECT_EQ(menus.enabled(entry->command), expected) << entry->text;
    }
    EXPECT_FALSE(menus.popupEnabled(Popup::SaveTerragen));
    EXPECT_FALSE(menus.popupEnabled(Popup::ShowScale));
    EXPECT_TRUE(menus.popupEnabled(Popup::File));
}

TEST(MenuState, NoTerrainKeepsOnlyTheFileMenuUsable) {
    MenuState menus;
    int display = displayDegreesMinutesSeconds;
    UpdateMenus(utmOverhead(), display, gridOn, menus);
    EXPECT_TRUE(menus.checked(DegreeMinSec));
    GreyAllMenus(menus);
    EXPECT_FALSE(menus.popupEnabled(Popup::File));
    EXPECT_FALSE(menus.enabled(LoadTerrainModel));
    EXPECT_FALSE(menus.checked(DegreeMinSec));
    EXPECT_FALSE(menus.checked(OverheadView));
    MenusNoTerrain(menus);
    EXPECT_TRUE(menus.popupEnabled(Popup::File));
    EXPECT_TRUE(menus.enabled(LoadTerrainModel));
    EXPECT_TRUE(menus.enabled(Exit));
    EXPECT_FALSE(menus.enabled(ShowDemSpecs));
}

TEST(UpdateMenus, EnablesTheUsualCommandsForAUtmTerrain) {
    int display = displayUtmMetres;
    const auto menus = updated(utmOverhead(), display);
    for (const CommandId id : {ShowDemSpecs, SaveTerrainMatrix, ModifyColors, UtmMeters,
                               ChangeUtmEllipsoid, EnterGpsPointsByMouse, Scene3d}) {
        EXPECT_TRUE(menus.enabled(id)) << static_cast<int>(id);
    }
    EXPECT_FALSE(menus.enabled(StopOperation));
    EXPECT_FALSE(menus.enabled(AnimateFlyby));
    EXPECT_TRUE(menus.checked(UtmMeters));
    EXPECT_TRUE(menus.checked(OverheadView));
    EXPECT_TRUE(menus.checked(LatLonGridOn));
    EXPECT_FALSE(menus.checked(LatLonGridOff));
}

TEST(UpdateMenus, MovesAGeographicTerrainFromUtmMetresToDecimalDegrees) {
    MenuContext context = utmOverhead();
    context.coordinateType = terrain::coordinateTypeGeographic;
    context.projection = terrain::ProjectionKind::LatLon;
    int display = displayUtmMetres;
    const auto menus = updated(context, display);
    EXPECT_EQ(display, displayDecimalDegrees);
    EXPECT_TRUE(menus.checked(DecimalDegree));
    EXPECT_FALSE(menus.enabled(UtmMeters));
    EXPECT_FALSE(menus.enabled(ChangeUtmEllipsoid));
}

TEST(UpdateMenus, GreysGpsCoordinatesAndGridForAnXYMatrix) {
    MenuContext context = utmOverhead();
    context.gridKind = terrain::gridKindMatrix;
    context.projection = terrain::ProjectionKind::XY;
    int display = displayUtmMetres;
    const auto menus = updated(context, display, gridOff);
    for (const CommandId id :
         {EnterGpsPointsByMouse, ReceiverToScreen, ProfileGpsTrack, DegreeMinSec, DecimalDegree,
          UtmMeters, LatLonGridOn, LatLonGridOff}) {
        EXPECT_FALSE(menus.enabled(id)) << static_cast<int>(id);
        EXPECT_FALSE(menus.checked(id)) << static_cast<int>(id);
    }
    EXPECT_FALSE(menus.popupEnabled(Popup::TransferGpsPoints));
}

TEST(UpdateMenus, LocksProjectionChangesForMarsAndSinusoidalTerrains) {
    MenuContext polar = utmOverhead();
    polar.gridKind = terrain::gridKindMarsPolar;
    polar.projection = terrain::ProjectionKind::LatLon;
    int display = displayDecimalDegrees;
    auto menus = updated(polar, display);
    EXPECT_FALSE(menus.popupEnabled(Popup::ChangeProjection));
    EXPECT_FALSE(menus.enabled(SaveUsgsDem));

    MenuContext sinusoidal = utmOverhead();
    sinusoidal.gridKind = terrain::gridKindSinusoidal;
    sinusoidal.projection = terrain::ProjectionKind::Sinusoidal;
    menus = updated(sinusoidal, display);
    EXPECT_FALSE(menus.popupEnabled(Popup::ChangeProjection));
    for (const CommandId id : {MapOverlay, AdjustMapOverlay, PatchMissingData, SelectSmallerArea}) {
        EXPECT_FALSE(menus.enabled(id)) << static_cast<int>(id);
    }
    EXPECT_TRUE(menus.enabled(EnterGpsPointsByMouse));
}

TEST(UpdateMenus, FollowsTheViewModeAndTheOverlay) {
    MenuContext context = utmOverhead();
    context.viewMode = 3;
    int display = displayUtmMetres;
    auto menus = updated(context, display);
    EXPECT_FALSE(menus.checked(OverheadView));
    EXPECT_FALSE(menus.enabled(ModifyColors));
    context.colorSceneRendered = true;
    context.flightPathDefined = true;
    menus = updated(context, display);
    EXPECT_TRUE(menus.enabled(ModifyColors));
    EXPECT_TRUE(menus.enabled(AnimateFlyby));

    context.viewMode = 1;
    context.overlayExists = true;
    menus = updated(context, display);
    EXPECT_FALSE(menus.popupEnabled(Popup::ShowScale));
    EXPECT_TRUE(menus.enabled(SaveTerrainMatrix));
    context.overlayMapShown = true;
    menus = updated(context, display);
    for (const CommandId id : {SaveTerrainMatrix, Scene3d, ResizeOverheadView, LatLonGridOn}) {
        EXPECT_FALSE(menus.enabled(id)) << static_cast<int>(id);
    }
    EXPECT_FALSE(menus.checked(OverheadView));
    EXPECT_FALSE(menus.popupEnabled(Popup::SaveTerragen));
    EXPECT_TRUE(menus.enabled(ShadedRelief));
}

}  // namespace
}  // namespace tavrok::shell

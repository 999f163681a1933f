#include "shell/MenuState.h"

#include <initializer_list>

namespace tavrok::shell {

namespace {

using enum CommandId;

void setEnabled(MenuState& menus, std::initializer_list<CommandId> ids, bool enabled) {
    for (const CommandId id : ids) {
        menus[id].enabled = enabled;
    }
}

void setChecked(MenuState& menus, std::initializer_list<CommandId> ids, bool checked) {
    for (const CommandId id : ids) {
        menus[id].checked = checked;
    }
}

void setAllCommands(MenuState& menus, bool enabled) {
    for (const auto* entry : commandEntries(mainMenu())) {
        menus[entry->command].enabled = enabled;
    }
}

bool showsCoordinates(int gridKind) {
    return gridKind == terrain::gridKindDem || gridKind == terrain::gridKindSinusoidal;
}

void updateCoordinateDisplay(const MenuContext& context, int& coordinateDisplay, MenuState& menus) {
    if (!showsCoordinates(context.gridKind)) {
        setEnabled(menus, {DegreeMinSec, DecimalDegree, UtmMeters}, false);
        setChecked(menus, {DegreeMinSec, DecimalDegree, UtmMeters}, false);
        return;
    }
    setEnabled(menus, {DegreeMinSec, DecimalDegree, UtmMeters}, true);
    const bool utmAvailable = context.gridKind == terrain::gridKindDem &&
                              context.coordinateType == terrain::coordinateTypeUtm;
    if (!utmAvailable) {
        if (coordinateDisplay == displayUtmMetres) {
            coordinateDisplay = displayDecimalDegrees;
        }
        menus[UtmMeters].enabled = false;
    }
    menus[DegreeMinSec].checked = coordinateDisplay == displayDegreesMinutesSeconds;
    menus[DecimalDegree].checked = coordinateDisplay == displayDecimalDegrees;
    menus[UtmMeters].checked = coordinateDisplay == displayUtmMetres;
}

void updateLatLonGrid(const MenuContext& context, int latLonGrid, MenuState& menus) {
    const bool shown = showsCoordinates(context.gridKind);
    setEnabled(menus, {LatLonGridOn, LatLonGridOff}, shown);
    menus[LatLonGridOn].checked = shown && latLonGrid == gridOn;
    menus[LatLonGridOff].checked = shown && latLonGrid == gridOff;
}

void updateViewChecks(const MenuContext& context, MenuState& menus) {
    menus[OverheadView].checked = context.viewMode == 1;
    menus[Scene3d].checked = context.viewMode == 2;
}

void updateOverlayRules(const MenuContext& context, MenuState& menus) {
    if (!context.overlayExists) {
        return;
    }
    menus.popupsEnabled[Popup::ShowScale] = false;
    setEnabled(menus, {ModifyScale, ShadedRelief}, true);
    if (!context.overlayMapShown) {
        return;
    }
    setEnabled(menus,
               {SaveUsgsDem, SaveGeoTiffDem, SaveTerrainMatrix, ResizeOverheadView, Scene3d,
                ViewFlyby, AnimateFlyby, MapOverlay, AdjustMapOverlay, ModifyColors},
               false);
    menus.popupsEnabled[Popup::SaveTerragen] = false;
    setEnabled(menus, {LatLonGridOn, LatLonGridOff}, false);
    setChecked(menus, {LatLonGridOn, LatLonGridOff, OverheadView, Scene3d}, false);
}

}  // namespace

bool MenuState::enabled(CommandId id) const {
    const auto found = items.find(id);
    return found == items.end() || found->second.enabled;
}

bool MenuState::checked(CommandId id) const {
    const auto found = items.find(id);
    return found != items.end() && found->second.checked;
}

bool MenuState::popupEnabled(Popup popup) const {
    const auto found = popupsEnabled.find(popup);
    return found == popupsEnabled.end() || found->second;
}

void MenusAtStartup(MenuState& menus) {
    setAllCommands(menus, false);
    setEnabled(menus, {LoadTerrainModel, Exit, HelpTopics, About}, true);
    for (const Popup popup : {Popup::SaveTerragen, Popup::ChangeProjection,
                              Popup::TransferGpsPoints, Popup::ShowScale}) {
        menus.popupsEnabled[popup] = false;
    }
}

void GreyAllMenus(MenuState& menus) {
    setAllCommands(menus, false);
    menus.popupsEnabled[Popup::File] = false;
    setChecked(menus,
               {OverheadView, Scene3d, LatLonGridOn, LatLonGridOff, DegreeMinSec, DecimalDegree},
               false);
}

void MenusNoTerrain(MenuState& menus) {
    GreyAllMenus(menus);
    menus.popupsEnabled[Popup::File] = true;
    setEnabled(menus, {LoadTerrainModel, Exit}, true);
}

void UpdateMenus(const MenuContext& context, int& coordinateDisplay, int latLonGrid,
                 MenuState& menus) {
    menus.popupsEnabled[Popup::File] = true;
    setEnabled(menus,
               {LoadTerrainModel, ShowDemSpecs, SelectSmallerArea, PatchMissingData, ConvertToUtm},
               true);
    const bool marsProjectionLocked = context.gridKind == terrain::gridKindMarsPolar ||
                                      (context.gridKind == terrain::gridKindSinusoidal &&
                                       context.planet == terrain::Planet::Mars);
    menus.popupsEnabled[Popup::ChangeProjection] = !marsProjectionLocked;
    menus[ChangeUtmEllipsoid].enabled = context.projection == terrain::ProjectionKind::UTM;
    setEnabled(menus, {SaveTerrainMatrix, SaveUsgsDem, SaveGeoTiffDem},
               context.gridKind != terrain::gridKindMarsPolar);
    menus.popupsEnabled[Popup::SaveTerragen] = true;
    setEnabled(menus, {SaveImage, PrintImage, Exit, OverheadView, ResizeOverheadView, ShadedRelief},
               true);
    menus[StopOperation].enabled = false;
    const bool gps = showsCoordinates(context.gridKind);
    setEnabled(menus,
               {EnterGpsPointsByMouse, ReceiverToScreen, ReceiverToFile, ScreenToReceiver,
                ScreenToFile, FileToScreen, FileToReceiver, ProfileGpsTrack, ClearScreenGpsPoints},
               gps);
    menus.popupsEnabled[Popup::TransferGpsPoints] = gps;
    // The legend's items follow their popup: a popup that opens onto grey items is a dead end.
    menus.popupsEnabled[Popup::ShowScale] = true;
    setEnabled(menus, {ShowScaleMeters, ShowScaleFeet, ShowScaleCancel}, true);
    setEnabled(menus, {Scene3d, ViewFlyby}, true);
    menus[AnimateFlyby].enabled = context.flightPathDefined;
    setEnabled(menus, {ModifyColors, ModifyScale, MapOverlay, AdjustMapOverlay},
               context.viewMode == 1 || context.colorSceneRendered);
    updateCoordinateDisplay(context, coordinateDisplay, menus);
    updateLatLonGrid(context, latLonGrid, menus);
    updateViewChecks(context, menus);
    updateOverlayRules(context, menus);
    if (context.projection == terrain::ProjectionKind::Sinusoidal) {
        menus.popupsEnabled[Popup::ChangeProjection] = false;
        setEnabled(menus, {MapOverlay, AdjustMapOverlay, PatchMissingData, SelectSmallerArea},
                   false);
    }
}

void MenusWhileScene(MenuState& menus) {
    setEnabled(menus,
               {LoadTerrainModel, ShowDemSpecs, SelectSmallerArea, PatchMissingData, ConvertToUtm,
                ChangeUtmEllipsoid, SaveUsgsDem, SaveGeoTiffDem, SaveTerrainMatrix,
                EnterGpsPointsByMouse, ReceiverToScreen, ReceiverToFile, ScreenToReceiver,
                ScreenToFile, FileToScreen, FileToReceiver, ModifyColors, ModifyScale, MapOverlay,
                AdjustMapOverlay, ResizeOverheadView},
               false);
    for (const Popup popup : {Popup::SaveTerragen, Popup::ChangeProjection,
                              Popup::TransferGpsPoints}) {
        menus.popupsEnabled[popup] = false;
    }
}

}  // namespace tavrok::shell

#include "overhead/LightingDialog.h"
#include "overhead/MapScaleDialog.h"
#include "overhead/OverheadView.h"
#include "overhead/TerrainColorsDialog.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

constexpr const char* shadingText = "     Shading Surface ...  ";

CommandStatus rebuild(AppState& state, support::Ui& ui) {
    if (!state.document.loaded()) {
        return CommandStatus::Done;
    }
    return dispatch(state, ui, CommandId::BuildOverhead, 1);
}

}  // namespace

// Command 21: the overhead image of the current terrain, shaded, coloured and gridded. A stop
// during the shading falls back to the zoom that fits the window and shades once more.
CommandStatus BuildOverhead(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto& document = state.document;
    if (!document.loaded()) {
        return CommandStatus::Cancelled;
    }
    auto& overhead = state.overhead;
    auto& map = state.map;
    overhead::applyTerrainDefaults(overhead, document.terrain(), document.identity());
    ui.setWaitCursor(true);
    const support::ProgressCallback growing = [&ui, &overhead](long done, long) {
        ui.output().showGrowingMap(overhead.image, static_cast<int>(done));
        ui.pump();
        return true;
    };
    auto zoom = static_cast<float>(map.overheadZoom);
    auto status = overhead::buildOverheadView(overhead, document.terrain(), document.revision(),
                                              zoom, map.clientWidth, map.clientHeight,
                                              keepAlive(state, ui, shadingText), growing);
    if (!status.ok() && status.error().code == support::ErrorCode::MapResizingCancelled) {
        showError(ui, status.error());
        const auto& grid = document.grid();
        zoom =
            overhead::fitWindowZoom(grid.rows(), grid.columns(), map.clientWidth, map.clientHeight);
        map.overheadZoom = zoom;
        state.shell.stopRequested = false;
        // The second pass is the small fit-to-window one and runs to its end.
        const support::ProgressCallback shading = [&ui](long, long) {
            ui.showProgress(shadingText);
            ui.pump();
            return true;
        };
        status =
            overhead::buildOverheadView(overhead, document.terrain(), document.revision(), zoom,
                                        map.clientWidth, map.clientHeight, shading, growing);
    }
    ui.setWaitCursor(false);
    // Built or failed, this revision has had its try; the next command does not repeat it.
    map.builtRevision = document.revision();
    if (!overhead.image.empty()) {
        map.viewMode = viewOverhead;
    }
    if (status.ok()) {
        placeSceneMarker(state);
        return CommandStatus::Done;
    }
    if (status.error().code == support::ErrorCode::NotEnoughMemory) {
        ui.output().clear();
    }
    return showError(ui, status.error());
}

// 7 "F1  Overhead View": the overhead map is brought back, rebuilt when the terrain changed
// since it was drawn, otherwise shown as it is.
CommandStatus OverheadView(AppState& state, support::Ui& ui, const CommandContext&) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    closeScene(state, ui);
    state.map.viewMode = viewOverhead;
    if (state.overhead.image.empty() || state.map.builtRevision != state.document.revision()) {
        return rebuild(state, ui);
    }
    return CommandStatus::Done;
}

// 40017 and 40067: "Terrain Colors" on the overhead table, or on the scene table when the 3D
// scene sends it with param 1. A confirmed dialog redraws the overhead map.
CommandStatus ModifyColors(AppState& state, support::Ui& ui, const CommandContext& context) {
    const bool sceneMode = context.param == 1;
    const auto& header = state.document.header();
    overhead::TerrainColorsDialog dialog(state.overhead, sceneMode,
                                         state.document.loaded() && colour::isMarsTerrain(header),
                                         header.minElevation, header.maxElevation);
    if (!ui.runDialog(dialog)) {
        dialog.restore();
        return CommandStatus::Cancelled;
    }
    if (sceneMode) {
        // The open scene takes the new colours at once.
        return state.map.viewMode == viewScene
                   ? dispatch(state, ui, CommandId::Scene3d, sceneRedrawOnly)
                   : CommandStatus::Done;
    }
    return rebuild(state, ui);
}

// 40084 "F6  Resize Overhead View": a new zoom, new shading.
CommandStatus ResizeOverheadView(AppState& state, support::Ui& ui, const CommandContext&) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    const auto& grid = state.document.grid();
    auto& map = state.map;
    overhead::MapScaleDialog dialog(grid.rows(), grid.columns(),
                                    static_cast<float>(map.overheadZoom), map.clientWidth,
                                    map.clientHeight);
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    map.overheadZoom = dialog.zoom();
    return rebuild(state, ui);
}

// 40110 "Shaded Relief": new light, new shading.
CommandStatus ShadedRelief(AppState& state, support::Ui& ui, const CommandContext&) {
    overhead::LightingDialog dialog(state.overhead.lighting);
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    state.overhead.lighting = dialog.parameters;
    return rebuild(state, ui);
}

CommandStatus DegreeMinSec(AppState& state, support::Ui& ui, const CommandContext&) {
    state.overhead.coordinateMode = overhead::CoordinateMode::DegreeMinSec;
    return rebuild(state, ui);
}

CommandStatus DecimalDegree(AppState& state, support::Ui& ui, const CommandContext&) {
    state.overhead.coordinateMode = overhead::CoordinateMode::DecimalDegree;
    return rebuild(state, ui);
}

CommandStatus UtmMeters(AppState& state, support::Ui& ui, const CommandContext&) {
    state.overhead.coordinateMode = overhead::CoordinateMode::UtmMeters;
    return rebuild(state, ui);
}

CommandStatus LatLonGridOn(AppState& state, support::Ui& ui, const CommandContext&) {
    state.overhead.latLonGrid = true;
    return rebuild(state, ui);
}

CommandStatus LatLonGridOff(AppState& state, support::Ui& ui, const CommandContext&) {
    state.overhead.latLonGrid = false;
    return rebuild(state, ui);
}

// 19 "Meters" and 40061 "Feet": open the "Scale" legend (or relabel it when open).
CommandStatus ShowScaleMeters(AppState& state, support::Ui&, const CommandContext&) {
    state.map.scaleWindow = {true, false};
    return CommandStatus::Done;
}

CommandStatus ShowScaleFeet(AppState& state, support::Ui&, const CommandContext&) {
    state.map.scaleWindow = {true, true};
    return CommandStatus::Done;
}

// 20 "Cancel": closes the legend.
CommandStatus ShowScaleCancel(AppState& state, support::Ui&, const CommandContext&) {
    state.map.scaleWindow.shown = false;
    return CommandStatus::Done;
}

}  // namespace tavrok::shell::commands

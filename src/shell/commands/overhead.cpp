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

void rebuild(AppState& state, support::Ui& ui) {
    if (state.terrain.loaded) {
        dispatch(state, ui, CommandId::BuildOverhead, 1);
    }
}

}  // namespace

// Command 21: the overhead image of the current terrain, shaded, coloured and gridded. A stop
// during the shading falls back to the zoom that fits the window and shades once more.
void BuildOverhead(AppState& state, support::Ui& ui, int) {
    if (!state.terrain.loaded) {
        return;
    }
    auto& overhead = state.overhead;
    overhead::applyTerrainDefaults(overhead, state.terrain);
    state.busy = true;
    ui.setWaitCursor(true);
    const support::ProgressCallback growing = [&ui, &overhead](long done, long) {
        ui.showGrowingMap(overhead.image, static_cast<int>(done));
        ui.pump();
        return true;
    };
    auto zoom = static_cast<float>(state.overheadZoom);
    auto status =
        overhead::buildOverheadView(overhead, state.terrain, zoom, state.clientWidth,
                                    state.clientHeight, keepAlive(state, ui, shadingText), growing);
    if (!status.ok() && status.error().code == support::ErrorCode::MapResizingCancelled) {
        showError(ui, status.error());
        const auto& grid = state.terrain.grid;
        zoom = overhead::fitWindowZoom(grid.rows(), grid.columns(), state.clientWidth,
                                       state.clientHeight);
        state.overheadZoom = zoom;
        state.stopRequested = false;
        // The second pass is the small fit-to-window one and runs to its end.
        const support::ProgressCallback shading = [&ui](long, long) {
            ui.showProgress(shadingText);
            ui.pump();
            return true;
        };
        status = overhead::buildOverheadView(overhead, state.terrain, zoom, state.clientWidth,
                                             state.clientHeight, shading, growing);
    }
    state.busy = false;
    ui.setWaitCursor(false);
    if (!status.ok()) {
        if (status.error().code == support::ErrorCode::NotEnoughMemory) {
            ui.clearWindow();
        }
        showError(ui, status.error());
    }
    if (!overhead.image.empty()) {
        state.viewMode = viewOverhead;
    }
}

// 40017 and 40067: "Terrain Colors" on the overhead table, or on the scene table when the 3D
// scene sends it with param 1. A confirmed dialog redraws the overhead map.
void ModifyColors(AppState& state, support::Ui& ui, int param) {
    const bool sceneMode = param == 1;
    const auto& header = state.terrain.header;
    overhead::TerrainColorsDialog dialog(state.overhead, sceneMode,
                                         state.terrain.loaded && colour::isMarsTerrain(header),
                                         header.minElevation, header.maxElevation);
    if (!ui.runDialog(dialog)) {
        dialog.restore();
        return;
    }
    if (!sceneMode) {
        rebuild(state, ui);
    }
}

// 40084 "F6  Resize Overhead View": a new zoom, new shading.
void ResizeOverheadView(AppState& state, support::Ui& ui, int) {
    if (!state.terrain.loaded) {
        return;
    }
    const auto& grid = state.terrain.grid;
    overhead::MapScaleDialog dialog(grid.rows(), grid.columns(),
                                    static_cast<float>(state.overheadZoom), state.clientWidth,
                                    state.clientHeight);
    if (!ui.runDialog(dialog)) {
        return;
    }
    state.overheadZoom = dialog.zoom();
    state.overhead.geometryRebuildRequested = true;
    rebuild(state, ui);
}

// 40110 "Shaded Relief": new light, new shading.
void ShadedRelief(AppState& state, support::Ui& ui, int) {
    overhead::LightingDialog dialog(state.overhead.lighting);
    if (!ui.runDialog(dialog)) {
        return;
    }
    state.overhead.lighting = dialog.parameters;
    state.overhead.geometryRebuildRequested = true;
    rebuild(state, ui);
}

void DegreeMinSec(AppState& state, support::Ui& ui, int) {
    state.overhead.coordinateMode = overhead::CoordinateMode::DegreeMinSec;
    rebuild(state, ui);
}

void DecimalDegree(AppState& state, support::Ui& ui, int) {
    state.overhead.coordinateMode = overhead::CoordinateMode::DecimalDegree;
    rebuild(state, ui);
}

void UtmMeters(AppState& state, support::Ui& ui, int) {
    state.overhead.coordinateMode = overhead::CoordinateMode::UtmMeters;
    rebuild(state, ui);
}

void LatLonGridOn(AppState& state, support::Ui& ui, int) {
    state.overhead.latLonGrid = true;
    rebuild(state, ui);
}

void LatLonGridOff(AppState& state, support::Ui& ui, int) {
    state.overhead.latLonGrid = false;
    rebuild(state, ui);
}

// 19 "Meters" and 40061 "Feet": open the "Scale" legend (or relabel it when open).
void ShowScaleMeters(AppState& state, support::Ui&, int) {
    state.scaleWindow = {true, false};
}

void ShowScaleFeet(AppState& state, support::Ui&, int) {
    state.scaleWindow = {true, true};
}

// 20 "Cancel": closes the legend.
void ShowScaleCancel(AppState& state, support::Ui&, int) {
    state.scaleWindow.shown = false;
}

}  // namespace tavrok::shell::commands

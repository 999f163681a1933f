#include <algorithm>
#include <cstdio>
#include <string>

#include "edit/AreaLimitsDialog.h"
#include "edit/Crop.h"
#include "edit/EllipsoidDialog.h"
#include "edit/Patch.h"
#include "edit/UtmConversion.h"
#include "importers/MolaImporter.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "terrain/TerrainHelpers.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::shell::commands {

namespace {

using support::ErrorCode;

CommandStatus startSelection(AppState& state, support::Ui& ui, MapTool tool) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    if (state.document.header().projection == terrain::ProjectionKind::Sinusoidal) {
        return showError(ui, support::Error{ErrorCode::CannotSelectAreaSinusoidal, ""});
    }
    if (tool == MapTool::SelectArea) {
        state.overlay.exists = false;
        state.overlay.mapShown = false;
    }
    state.mapTools.start(tool);
    return CommandStatus::Done;
}

// Replaces the terrain with an edited one and fits the overhead view to it.
void install(AppState& state, terrain::Terrain edited) {
    edited.header.title.clear();
    state.document.replace(std::move(edited.grid), std::move(edited.header),
                           state.document.source());
    const auto& header = state.document.header();
    auto& map = state.map;
    map.overheadZoom =
        overheadZoomFor(header.rows, header.columns, map.clientWidth, map.clientHeight);
    map.viewMode = viewOverhead;
}

// A Mars polar terrain is cut again from its image: the rectangle becomes a window of samples.
CommandStatus cropMarsPolar(AppState& state, support::Ui& ui, const edit::CellRectangle& cells) {
    const auto& header = state.document.header();
    const auto& polar = state.document.source().marsPolarWindow;
    auto& mola = state.loads.mola;
    if (!polar || mola.polarDirectory.empty()) {
        return CommandStatus::Cancelled;
    }
    const int side = importers::MolaPolarSide(mola.polar.samplesPerDegree);
    const double step = header.spacingX;
    // Image rows run north to south, grid rows south to north.
    const auto sample = [side](double at, double first) {
        return std::clamp(static_cast<int>(at + first), 0, side);
    };
    const importers::MolaPolarWindow window{
        sample(cells.west * step, polar->firstColumn),
        sample(cells.east * step, polar->firstColumn),
        sample((header.rows - 1 - cells.north) * step, polar->firstRow),
        sample((header.rows - 1 - cells.south) * step, polar->firstRow)};
    if (window.lastColumn <= window.firstColumn || window.lastRow <= window.firstRow) {
        return CommandStatus::Cancelled;
    }
    mola.window = window;
    return runImport(state, ui, LoadRequest{CommandId::LoadMarsPolarMola, 1, {}});
}

CommandStatus crop(AppState& state, support::Ui& ui, const edit::CellRectangle& cells) {
    const auto& header = state.document.header();
    const edit::CropKind kind = edit::cropKindOf(header);
    if (kind == edit::CropKind::MarsPolar) {
        return cropMarsPolar(state, ui, cells);
    }
    edit::AreaLimitsDialog dialog(header, edit::limitsUnderSelection(header, cells));
    if (!ui.runDialog(dialog)) {
        endSelection(state);
        return CommandStatus::Cancelled;
    }
    if (state.document.source().format == "las") {
        // The points are gridded afresh over the smaller area.
        const auto& limits = dialog.limits();
        state.loads.cloudArea =
            importers::CloudArea{limits.west, limits.east, limits.south, limits.north};
        return runImport(state, ui, LoadRequest{CommandId::LoadLasCloud, 1, {}});
    }
    ui.setWaitCursor(true);
    auto cropped = edit::cropTerrain(state.document.terrain(), dialog.limits());
    ui.setWaitCursor(false);
    if (!cropped) {
        // The selection stays on for another try.
        state.mapTools.start(MapTool::SelectArea);
        return showError(ui, cropped.error());
    }
    install(state, std::move(cropped.value()));
    return CommandStatus::Done;
}

CommandStatus patch(AppState& state, support::Ui& ui, const edit::CellRectangle& cells) {
    const edit::PatchRectangle rectangle{
        terrain::RoundToInt(cells.west), terrain::RoundToInt(cells.south),
        terrain::RoundToInt(cells.east), terrain::RoundToInt(cells.north)};
    ui.setWaitCursor(true);
    const long patched = edit::patchMissingData(state.document.edit().grid, rectangle);
    ui.setWaitCursor(false);
    // The count follows the rebuilt map.
    refreshViews(state, ui);
    char text[64];
    std::snprintf(text, sizeof text, "%-ld Points Patched", patched);
    ui.showInformation(text);
    return CommandStatus::Done;
}

edit::CellRectangle cellsOf(const GridRectangle& area) {
    return {area.west, area.south, area.east, area.north};
}

std::optional<geodesy::EllipsoidId> chosenEllipsoid(AppState& state, support::Ui& ui, int param) {
    auto& edits = state.edits;
    if (param == 1 && edits.presetEllipsoid) {
        const std::string question = "DEM Must Be Converted to UTM with " +
                                     std::string(geodesy::datumNameFor(*edits.presetEllipsoid)) +
                                     " Ellipsoid";
        if (!ui.askOkCancel(question)) {
            return std::nullopt;
        }
        return edits.presetEllipsoid;
    }
    edit::EllipsoidDialog dialog(edit::EllipsoidDialog::Purpose::Choose, edits.utmEllipsoid);
    if (!ui.runDialog(dialog)) {
        return std::nullopt;
    }
    edits.utmEllipsoid = dialog.ellipsoid;
    return dialog.ellipsoid;
}

CommandStatus declareMatrixUtm(AppState& state, support::Ui& ui) {
    terrain::UtmZoneDialog dialog;
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    terrain::declareUtm(state.document.edit().header, dialog.zone, dialog.hemisphere);
    state.overhead.coordinateMode = overhead::CoordinateMode::UtmMeters;
    return CommandStatus::Done;
}

CommandStatus layOutSinusoidally(AppState& state, support::Ui& ui) {
    auto laidOut = edit::sinusoidalLayout(state.document.terrain(),
                                          keepAlive(state, ui, "Latitude Correction ..."));
    if (!laidOut) {
        return showError(ui, laidOut.error());
    }
    install(state, std::move(laidOut.value()));
    state.overhead.coordinateMode = overhead::CoordinateMode::DecimalDegree;
    return CommandStatus::Done;
}

}  // namespace

CommandStatus SelectSmallerArea(AppState& state, support::Ui& ui, const CommandContext&) {
    return startSelection(state, ui, MapTool::SelectArea);
}

CommandStatus PatchMissingData(AppState& state, support::Ui& ui, const CommandContext&) {
    return startSelection(state, ui, MapTool::PatchArea);
}

void endSelection(AppState& state) {
    state.mapTools.cancel();
    if (state.document.loaded()) {
        updateMenus(state);
        placeSceneMarker(state);
    }
}

CommandStatus finishMapTool(AppState& state, support::Ui& ui, const MapToolResult& result) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    CommandStatus status = CommandStatus::Cancelled;
    if (const auto* selected = std::get_if<SelectedArea>(&result)) {
        status = crop(state, ui, cellsOf(selected->area));
    } else if (const auto* patched = std::get_if<PatchArea>(&result)) {
        status = patch(state, ui, cellsOf(patched->area));
    }
    updateMenus(state);
    return status;
}

CommandStatus ConvertToUtm(AppState& state, support::Ui& ui, const CommandContext& context) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    const auto& header = state.document.header();
    if (auto allowed = edit::checkUtmConversion(header); !allowed) {
        return showError(ui, allowed.error());
    }
    if (edit::isPlanarMatrix(header)) {
        return declareMatrixUtm(state, ui);
    }
    const auto ellipsoid = chosenEllipsoid(state, ui, context.param);
    if (!ellipsoid) {
        return CommandStatus::Cancelled;
    }
    const auto plan = edit::planUtmConversion(header, *ellipsoid);
    if (!plan && plan.error().code == ErrorCode::AreaTooWideForUtm) {
        if (!ui.askOkCancel(plan.error().message())) {
            return CommandStatus::Cancelled;
        }
        return layOutSinusoidally(state, ui);
    }
    if (!plan) {
        return showError(ui, plan.error());
    }
    auto converted = edit::convertToUtm(state.document.terrain(), plan.value(),
                                        keepAlive(state, ui, "Lines Remaining %-ld"));
    if (!converted) {
        return showError(ui, converted.error());
    }
    install(state, std::move(converted.value()));
    state.overhead.coordinateMode = overhead::CoordinateMode::UtmMeters;
    return CommandStatus::Done;
}

CommandStatus ChangeUtmEllipsoid(AppState& state, support::Ui& ui, const CommandContext& context) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    const auto& header = state.document.header();
    if (auto allowed = edit::checkEllipsoidChange(header); !allowed) {
        return showError(ui, allowed.error());
    }
    geodesy::EllipsoidId target = geodesy::EllipsoidId::Wgs84;
    if (context.param == 1 && state.edits.presetEllipsoid) {
        target = *state.edits.presetEllipsoid;
    } else if (context.param != 2) {
        edit::EllipsoidDialog dialog(edit::EllipsoidDialog::Purpose::Change,
                                     state.edits.utmEllipsoid, header.ellipsoid);
        if (!ui.runDialog(dialog)) {
            return CommandStatus::Cancelled;
        }
        state.edits.utmEllipsoid = target = dialog.ellipsoid;
    }
    auto changed = edit::changeUtmEllipsoid(header, target);
    if (!changed) {
        return showError(ui, changed.error());
    }
    state.document.edit().header = std::move(changed.value());
    state.overlay.mapShown = false;
    return CommandStatus::Done;
}

}  // namespace tavrok::shell::commands

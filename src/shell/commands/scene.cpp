#include <unistd.h>
#include <algorithm>

#include "overhead/TerrainColorsDialog.h"
#include "scene/MeshGeometry.h"
#include "scene/MovementDialog.h"
#include "scene/SceneRenderer.h"
#include "scene/TerrainProjectionDialog.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

using scene::SceneParameters;

overhead::MapMapping currentMapping(const AppState& state) {
    const auto& grid = state.document.grid();
    return overhead::MapMapping::of(state.overhead.geometry, grid.rows(), grid.columns());
}

scene::MeshGeometry currentGeometry(const AppState& state) {
    const SceneParameters& parameters = state.scene.parameters;
    const scene::PixelSize eye =
        scene::eyeImageSize(parameters.projectionSize, parameters.colorMode);
    return scene::sizeSceneMesh(parameters,
                                {state.overhead.geometry.zoom, eye.width, state.scene.lowMemory},
                                state.document.header());
}

// The marker as the overhead map shows it: square, handles and the cells it covers.
void startMarkerTool(AppState& state) {
    const SceneParameters& parameters = state.scene.parameters;
    state.mapTools.startSceneMarker({parameters.observerPosition, parameters.areaFactor,
                                     parameters.heading, currentGeometry(state).meshStep});
}

// One eye's image: the chosen size, or the size batch use asked for.
scene::PixelSize eyeSize(const AppState& state) {
    const SceneParameters& parameters = state.scene.parameters;
    return state.scene.eyeSize && parameters.colorMode != scene::ColorMode::SideBySide
               ? *state.scene.eyeSize
               : scene::eyeImageSize(parameters.projectionSize, parameters.colorMode);
}

// Draws one frame into the scene window, making the rendering context first when the scene
// opens. A context that cannot be made closes the scene; the overhead map stays.
CommandStatus drawFrame(AppState& state, support::Ui& ui) {
    auto& sceneState = state.scene;
    if (sceneState.rendering) {
        return CommandStatus::Done;
    }
    const scene::PixelSize eye = eyeSize(state);
    if (!sceneState.renderer) {
        auto made = scene::SceneRenderer::create(eye);
        if (!made) {
            closeScene(state, ui);
            return showError(ui, made.error());
        }
        sceneState.renderer = std::make_shared<scene::SceneRenderer>(std::move(made).value());
    }
    return renderSceneFrame(state, ui, eye);
}

// Physical memory below this marks the machine low on memory, as the scene sizes its mesh.
bool machineLowOnMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 &&
           static_cast<double>(pages) * static_cast<double>(pageSize) < scene::lowMemoryBytes;
}

// IDD_TERRAIN and, unless red/blue, the scene colours; false when either was cancelled.
bool askSceneSettings(AppState& state, support::Ui& ui, CommandStatus& status);

}  // namespace

void closeScene(AppState& state, support::Ui& ui) {
    if (state.scene.renderer || state.map.viewMode == viewScene) {
        ui.output(WindowId::Scene).closeWindow();
    }
    state.scene.renderer.reset();
    if (state.map.viewMode == viewScene) {
        state.map.viewMode = viewOverhead;
    }
}

CommandStatus renderSceneFrame(AppState& state, support::Ui& ui, scene::PixelSize eyeSize) {
    auto& sceneState = state.scene;
    sceneState.rendering = true;
    scene::SceneView view;
    view.terrain = &state.document.terrain();
    view.parameters = &sceneState.parameters;
    view.scale = &state.overhead.scale;
    view.colors = &state.overhead.sceneScale;
    view.mapping = currentMapping(state);
    view.eyeSize = eyeSize;
    view.lowMemory = sceneState.lowMemory;
    view.painterFactory = state.overhead.painterFactory;
    auto frame = sceneState.renderer->render(view);
    sceneState.rendering = false;
    if (!frame) {
        closeScene(state, ui);
        return showError(ui, frame.error());
    }
    sceneState.image = std::move(frame).value();
    sceneState.parameters.newScene = false;
    sceneState.colorSceneRendered = sceneState.parameters.colorMode != scene::ColorMode::RedBlue;
    state.map.viewMode = viewScene;
    ui.output(WindowId::Scene).showPicture(sceneState.image);
    return CommandStatus::Done;
}

void placeSceneMarker(AppState& state) {
    auto& sceneState = state.scene;
    const auto& document = state.document;
    const auto& image = state.overhead.image;
    if (!document.loaded() || image.empty()) {
        return;
    }
    SceneParameters& parameters = sceneState.parameters;
    const double zoom = state.overhead.geometry.zoom;
    if (sceneState.placedRevision != document.revision()) {
        // A new or edited terrain: the observer goes back to the middle, a quarter up from the
        // bottom of the map, facing north.
        parameters.observerPosition = {image.width() / 2.0, image.height() * 3.0 / 4.0};
        parameters.heading = 0;
        parameters.newScene = true;
        parameters.title = document.header().title.substr(0, terrain::TerrainHeader::titleLength);
    } else if (sceneState.placedZoom > 0 && sceneState.placedZoom != zoom) {
        const double ratio = zoom / sceneState.placedZoom;
        parameters.observerPosition = {parameters.observerPosition.x * ratio,
                                       parameters.observerPosition.y * ratio};
    }
    sceneState.placedRevision = document.revision();
    sceneState.placedZoom = zoom;
    if (state.mapTools.current() == MapTool::Readout ||
        state.mapTools.current() == MapTool::SceneMarker) {
        startMarkerTool(state);
    }
}

void takeScenePlacement(AppState& state, const ScenePlacement& placement) {
    SceneParameters& parameters = state.scene.parameters;
    parameters.observerPosition = placement.observerPixel;
    parameters.areaFactor = placement.areaFactor;
    parameters.heading =
        state.mapTools.current() == MapTool::SelectArea ? 0.0 : placement.headingDegrees;
    parameters.newScene = true;
}

// 10 "F2  3D Scene": the settings, the scene colours, then the scene window with the first
// frame. With sceneRedrawOnly the dialogs are skipped and the open scene is drawn again.
CommandStatus Scene3d(AppState& state, support::Ui& ui, const CommandContext& context) {
    if (!state.document.loaded() || state.overhead.image.empty()) {
        return CommandStatus::Cancelled;
    }
    state.scene.lowMemory = machineLowOnMemory();
    SceneParameters& parameters = state.scene.parameters;
    if (parameters.newScene) {
        scene::resetAdjustments(parameters);
    }
    if (context.param != sceneRedrawOnly) {
        CommandStatus status = CommandStatus::Done;
        if (!askSceneSettings(state, ui, status)) {
            return status;
        }
    }
    state.map.viewMode = viewScene;
    return drawFrame(state, ui);
}

// 40043 "F6  Change Position": "Rotate or Shift Scene" or "Reposition Observer" over the
// open scene; every button redraws it at once, Cancel goes back to the values of the opening.
CommandStatus ChangePosition(AppState& state, support::Ui& ui, const CommandContext&) {
    auto& sceneState = state.scene;
    if (state.map.viewMode != viewScene || !sceneState.renderer || sceneState.movementOpen) {
        return CommandStatus::Cancelled;
    }
    const scene::MeshGeometry geometry = sceneState.renderer->geometry();
    const scene::PixelSize eye = eyeSize(state);
    scene::MovementDialog dialog(sceneState.parameters, geometry, state.document.header(),
                                 [&state, &ui, eye] {
                                     if (state.scene.renderer) {
                                         renderSceneFrame(state, ui, eye);
                                     }
                                 });
    sceneState.movementOpen = true;
    const bool confirmed = ui.runDialog(dialog);
    sceneState.movementOpen = false;
    if (!confirmed) {
        dialog.restoreRemembered();
        return CommandStatus::Cancelled;
    }
    return CommandStatus::Done;
}

// 40013 "Exit" of the scene window, and Escape there: back to the overhead map.
CommandStatus CloseWindow(AppState& state, support::Ui& ui, const CommandContext& context) {
    if (context.source != WindowId::Scene) {
        return CommandStatus::Cancelled;
    }
    closeScene(state, ui);
    return CommandStatus::Done;
}

namespace {

bool askSceneSettings(AppState& state, support::Ui& ui, CommandStatus& status) {
    SceneParameters& parameters = state.scene.parameters;
    const scene::MeshGeometry geometry = currentGeometry(state);
    scene::TerrainProjectionDialog dialog(
        parameters, state.overhead.scale,
        scene::altitudeLimits(geometry, state.document.header(), 0.9), state.scene.lowMemory);
    if (!ui.runDialog(dialog)) {
        status = CommandStatus::Cancelled;
        return false;
    }
    parameters = dialog.parameters;
    state.overhead.scale = dialog.scale;
    if (parameters.colorMode == scene::ColorMode::RedBlue) {
        return true;
    }
    const auto& header = state.document.header();
    overhead::TerrainColorsDialog colours(state.overhead, true, colour::isMarsTerrain(header),
                                          header.minElevation, header.maxElevation);
    if (!ui.runDialog(colours)) {
        colours.restore();
        closeScene(state, ui);
        status = CommandStatus::Cancelled;
        return false;
    }
    return true;
}

}  // namespace

}  // namespace tavrok::shell::commands

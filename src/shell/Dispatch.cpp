#include "shell/Dispatch.h"
#include "support/Text.h"

#include <array>
#include <string>

#include "shell/JobGuard.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell {

namespace {

using enum CommandId;
namespace c = commands;

constexpr std::array table{
    CommandEntry{LoadTerrainModel, "Load Terrain Model", "terrain", c::LoadTerrainModel, true},
    CommandEntry{SaveUsgsDem, "Save USGS ASCII DEM", "exporters", c::SaveUsgsDem, true},
    CommandEntry{SaveGeoTiffDem, "Save GeoTiff DEM", "exporters", c::SaveGeoTiffDem, true},
    CommandEntry{SaveTerrainMatrix, "Save Terrain Matrix", "exporters", c::SaveTerrainMatrix, true},
    CommandEntry{SaveImage, "Save Map Image", "media", nullptr},
    CommandEntry{PrintImage, "Print Map Image", "media", nullptr},
    CommandEntry{SaveTerragenEntire, "Entire Terrain", "exporters", nullptr},
    CommandEntry{SaveTerragenSelected, "Selected Area", "exporters", nullptr},
    CommandEntry{Exit, "Exit", "shell", c::Exit},
    CommandEntry{ShowDemSpecs, "Show DEM Specs", "terrain", c::ShowDemSpecs},
    CommandEntry{ConvertToUtm, "Convert to UTM Projection", "geodesy", c::ConvertToUtm, true},
    CommandEntry{ChangeUtmEllipsoid, "Change UTM Ellipsoid", "geodesy", c::ChangeUtmEllipsoid},
    CommandEntry{OverheadView, "F1  Overhead View", "overhead", c::OverheadView},
    CommandEntry{Scene3d, "F2  3D Scene", "scene", c::Scene3d},
    CommandEntry{ModifyColors, "F3  Modify Colors", "overhead", c::ModifyColors},
    CommandEntry{MapOverlay, "F4  Apply/Remove Map Overlay", "overlay", nullptr},
    CommandEntry{AdjustMapOverlay, "F5  Adjust Map Overlay", "overlay", nullptr},
    CommandEntry{ResizeOverheadView, "F6  Resize Overhead View", "overhead", c::ResizeOverheadView},
    CommandEntry{PatchMissingData, "F7  Patch Missing Data", "terrain", c::PatchMissingData},
    CommandEntry{SelectSmallerArea, "F8  Select Smaller Area", "terrain", c::SelectSmallerArea},
    CommandEntry{ViewFlyby, "View Flyby", "flyby", nullptr},
    CommandEntry{AnimateFlyby, "Animate Flyby", "flyby", nullptr},
    CommandEntry{StopOperation, "Stop Operation", "shell", c::StopOperation},
    CommandEntry{EnterGpsPointsByMouse, "Enter GPS Points by Mouse", "gps", nullptr},
    CommandEntry{ReceiverToScreen, "Receiver To Screen", "gps", nullptr},
    CommandEntry{ReceiverToFile, "Receiver To File", "gps", nullptr},
    CommandEntry{ScreenToReceiver, "Screen To Receiver", "gps", nullptr},
    CommandEntry{ScreenToFile, "ScreenTo File", "gps", nullptr},
    CommandEntry{FileToScreen, "File To Screen", "gps", nullptr},
    CommandEntry{FileToReceiver, "File To Receiver", "gps", nullptr},
    CommandEntry{ProfileGpsTrack, "Profile GPS Track", "gps", nullptr},
    CommandEntry{ClearScreenGpsPoints, "Clear Screen GPS Points", "gps", nullptr},
    CommandEntry{ShowScaleMeters, "Meters", "overhead", c::ShowScaleMeters},
    CommandEntry{ShowScaleFeet, "Feet", "overhead", c::ShowScaleFeet},
    CommandEntry{ShowScaleCancel, "Cancel", "overhead", c::ShowScaleCancel},
    CommandEntry{ModifyScale, "Modify Scale", "overhead", c::ModifyColors},
    CommandEntry{ShadedRelief, "Shaded Relief", "overhead", c::ShadedRelief},
    CommandEntry{DegreeMinSec, "Degree Min Sec", "shell", c::DegreeMinSec},
    CommandEntry{DecimalDegree, "Decimal Degree", "shell", c::DecimalDegree},
    CommandEntry{UtmMeters, "UTM Meters", "shell", c::UtmMeters},
    CommandEntry{LatLonGridOn, "Lat-Lon Grid On", "shell", c::LatLonGridOn},
    CommandEntry{LatLonGridOff, "Lat-Lon Grid Off", "shell", c::LatLonGridOff},
    CommandEntry{HelpTopics, "Help Topics", "shell", c::HelpTopics},
    CommandEntry{About, "About Tavrok", "shell", c::About},
    // Scene, plot and colour-dialog windows.
    CommandEntry{SaveLargeFormatImage, "Save Large Format Image", "media", nullptr},
    CommandEntry{SaveVrmlWorld, "Save VRML World", "exporters", nullptr},
    CommandEntry{SaveRotationAnimation, "Save Rotation Animation", "flyby", nullptr},
    CommandEntry{CloseWindow, "Exit", "scene", c::CloseWindow},
    CommandEntry{ChangePosition, "F6  Change Position", "scene", c::ChangePosition},
    CommandEntry{SaveColors, "Save Colors", "overhead", nullptr},
    CommandEntry{RecallColors, "Recall Colors", "overhead", nullptr},
    // Internal requests.
    CommandEntry{LoadUsgsDem, "USGS DEM, SDTS and GeoTIFF import", "importers", nullptr, true,
                 c::LoadUsgsDem},
    CommandEntry{BuildOverhead, "Overhead rebuild", "overhead", c::BuildOverhead, true},
    CommandEntry{BuildRawMatrix, "Raw matrix import", "importers", nullptr, true,
                 c::BuildRawMatrix},
    CommandEntry{LoadGlobeTiles, "GLOBE tile import", "importers", nullptr, true,
                 c::LoadGlobeTiles},
    CommandEntry{LoadMatrixFiles, "Terrain matrix import", "importers", nullptr, true,
                 c::LoadMatrixFiles},
    CommandEntry{LoadGtopo30Tiles, "GTOPO30 tile import", "importers", nullptr, true,
                 c::LoadGtopo30Tiles},
    CommandEntry{LoadMarsMola, "Mars MOLA import", "importers", nullptr, true, c::LoadMarsMola},
    CommandEntry{LoadSrtmFiles, "SRTM import", "importers", nullptr, true, c::LoadSrtmFiles},
    CommandEntry{LoadLasCloud, "LIDAR point cloud import", "importers", nullptr, true,
                 c::LoadLasClouds},
    CommandEntry{LoadXyzPoints, "XYZ point cloud import", "importers", nullptr, true,
                 c::LoadXyzPoints},
    CommandEntry{LoadMarsPolarMola, "Mars polar MOLA import", "importers", nullptr, true,
                 c::LoadMarsPolarMola},
    CommandEntry{OpenWebPage, "Product web page", "shell", c::OpenWebPage},
    CommandEntry{OverlayCropAndGeoreference, "Overlay crop and georeference", "overlay", nullptr},
};

}  // namespace

std::span<const CommandEntry> commandTable() {
    return table;
}

const CommandEntry* findCommand(CommandId id) {
    for (const auto& entry : table) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

namespace {

// While a job runs, the pumped events may still stop it, or ask to close the program when it
// has ended.
bool acceptedWhileBusy(CommandId id) {
    return id == StopOperation || id == Exit;
}

}  // namespace

CommandStatus dispatch(AppState& state, support::Ui& ui, const CommandContext& context) {
    const CommandEntry* entry = findCommand(context.id);
    if (entry == nullptr) {
        ui.showMessage("Unknown command " + std::to_string(static_cast<int>(context.id)));
        return CommandStatus::Failed;
    }
    if (state.shell.busy && !acceptedWhileBusy(context.id)) {
        return CommandStatus::Busy;
    }
    if (entry->handler == nullptr) {
        if (entry->importer != nullptr) {
            return CommandStatus::Cancelled;  // an importer needs its request: runImport
        }
        ui.showMessage(support::quotedThen(entry->text, " is not available yet"));
        return CommandStatus::Failed;
    }
    CommandStatus status;
    if (entry->longRunning) {
        JobGuard guard(state, ui);
        status = entry->handler(state, ui, context);
    } else {
        status = entry->handler(state, ui, context);
    }
    if (!state.shell.busy && state.document.loaded()) {
        updateMenus(state);
    }
    return status;
}

CommandStatus runImport(AppState& state, support::Ui& ui, const LoadRequest& request) {
    const CommandEntry* entry = findCommand(request.importer);
    if (entry == nullptr || entry->importer == nullptr) {
        const std::string text = entry ? std::string(entry->text) : "this import";
        ui.showMessage(support::quotedThen(text, " is not available yet"));
        return CommandStatus::Failed;
    }
    JobGuard guard(state, ui);
    return entry->importer(state, ui, request);
}

void updateMenus(AppState& state) {
    // A selection on the map greys everything until Enter or Escape ends it.
    const MapTool tool = state.mapTools.current();
    if (tool == MapTool::SelectArea || tool == MapTool::PatchArea) {
        GreyAllMenus(state.shell.menus.main);
        return;
    }
    const auto& header = state.document.header();
    MenuContext context;
    context.gridKind = header.gridKind;
    context.planet = header.planet;
    context.projection = header.projection;
    context.coordinateType = header.coordinateType;
    context.viewMode = state.map.viewMode;
    context.overlayExists = state.overlay.exists;
    context.overlayMapShown = state.overlay.mapShown;
    context.flightPathDefined = state.flyby.flightPathDefined;
    context.colorSceneRendered = state.scene.colorSceneRendered;
    // The readout format and the grid switch live with the overhead view; the menus only
    // show them (and move a geographic terrain off UTM metres).
    int display = static_cast<int>(state.overhead.coordinateMode);
    UpdateMenus(context, display, state.overhead.latLonGrid ? gridOn : gridOff,
                state.shell.menus.main);
    state.overhead.coordinateMode = static_cast<overhead::CoordinateMode>(display);
    if (state.map.viewMode == viewScene) {
        MenusWhileScene(state.shell.menus.main);
    }
}

CommandStatus refreshViews(AppState& state, support::Ui& ui) {
    if (state.shell.busy || !state.document.loaded() ||
        state.map.builtRevision == state.document.revision()) {
        return CommandStatus::Done;
    }
    return dispatch(state, ui, BuildOverhead, 0);
}

}  // namespace tavrok::shell

#include "shell/Dispatch.h"

#include <array>
#include <string>

#include "shell/commands/Commands.h"

namespace tavrok::shell {

namespace {

using enum CommandId;
namespace c = commands;

constexpr std::array table{
    CommandEntry{LoadTerrainModel, "Load Terrain Model", "terrain", c::LoadTerrainModel},
    CommandEntry{SaveUsgsDem, "Save USGS ASCII DEM", "exporters", nullptr},
    CommandEntry{SaveGeoTiffDem, "Save GeoTiff DEM", "exporters", nullptr},
    CommandEntry{SaveTerrainMatrix, "Save Terrain Matrix", "exporters", nullptr},
    CommandEntry{SaveImage, "Save Map Image", "media", nullptr},
    CommandEntry{PrintImage, "Print Map Image", "media", nullptr},
    CommandEntry{SaveTerragenEntire, "Entire Terrain", "exporters", nullptr},
    CommandEntry{SaveTerragenSelected, "Selected Area", "exporters", nullptr},
    CommandEntry{Exit, "Exit", "shell", c::Exit},
    CommandEntry{ShowDemSpecs, "Show DEM Specs", "terrain", c::ShowDemSpecs},
    CommandEntry{ConvertToUtm, "Convert to UTM Projection", "geodesy", nullptr},
    CommandEntry{ChangeUtmEllipsoid, "Change UTM Ellipsoid", "geodesy", nullptr},
    CommandEntry{OverheadView, "F1  Overhead View", "overhead", nullptr},
    CommandEntry{Scene3d, "F2  3D Scene", "scene", nullptr},
    CommandEntry{ModifyColors, "F3  Modify Colors", "overhead", c::ModifyColors},
    CommandEntry{MapOverlay, "F4  Apply/Remove Map Overlay", "overlay", nullptr},
    CommandEntry{AdjustMapOverlay, "F5  Adjust Map Overlay", "overlay", nullptr},
    CommandEntry{ResizeOverheadView, "F6  Resize Overhead View", "overhead", c::ResizeOverheadView},
    CommandEntry{PatchMissingData, "F7  Patch Missing Data", "terrain", nullptr},
    CommandEntry{SelectSmallerArea, "F8  Select Smaller Area", "terrain", nullptr},
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
    CommandEntry{CloseWindow, "Exit", "scene", nullptr},
    CommandEntry{ChangePosition, "F6  Change Position", "scene", nullptr},
    CommandEntry{SaveColors, "Save Colors", "overhead", nullptr},
    CommandEntry{RecallColors, "Recall Colors", "overhead", nullptr},
    // Internal requests.
    CommandEntry{LoadUsgsDem, "USGS DEM, SDTS and GeoTIFF import", "importers", c::LoadUsgsDem},
    CommandEntry{BuildOverhead, "Overhead rebuild", "overhead", c::BuildOverhead},
    CommandEntry{BuildRawMatrix, "Raw matrix import", "importers", c::BuildRawMatrix},
    CommandEntry{LoadGlobeTiles, "GLOBE tile import", "importers", c::LoadGlobeTiles},
    CommandEntry{LoadMatrixFiles, "Terrain matrix import", "importers", c::LoadMatrixFiles},
    CommandEntry{LoadGtopo30Tiles, "GTOPO30 tile import", "importers", c::LoadGtopo30Tiles},
    CommandEntry{LoadMarsMola, "Mars MOLA import", "importers", c::LoadMarsMola},
    CommandEntry{LoadSrtmFiles, "SRTM import", "importers", c::LoadSrtmFiles},
    CommandEntry{LoadLasCloud, "LIDAR point cloud import", "importers", nullptr},
    CommandEntry{LoadXyzPoints, "XYZ point cloud import", "importers", nullptr},
    CommandEntry{LoadMarsPolarMola, "Mars polar MOLA import", "importers", c::LoadMarsPolarMola},
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

void dispatch(AppState& state, support::Ui& ui, CommandId id, int param) {
    const CommandEntry* entry = findCommand(id);
    if (entry == nullptr) {
        ui.showMessage("Unknown command " + std::to_string(static_cast<int>(id)));
        return;
    }
    if (entry->handler == nullptr) {
        ui.showMessage("\"" + std::string(entry->text) + "\" is not available yet");
        return;
    }
    entry->handler(state, ui, param);
    if (state.terrain.loaded) {
        updateMenus(state);
    }
}

void updateMenus(AppState& state) {
    const auto& header = state.terrain.header;
    MenuContext context;
    context.gridKind = header.gridKind;
    context.planet = header.planet;
    context.projection = header.projection;
    context.coordinateType = header.coordinateType;
    context.viewMode = state.viewMode;
    context.overlayExists = state.overlayExists;
    context.overlayMapShown = state.overlayMapShown;
    context.flightPathDefined = state.flightPathDefined;
    context.colorSceneRendered = state.colorSceneRendered;
    // The readout format and the grid switch live with the overhead view; the menus only
    // show them (and move a geographic terrain off UTM metres).
    int display = static_cast<int>(state.overhead.coordinateMode);
    UpdateMenus(context, display, state.overhead.latLonGrid ? gridOn : gridOff, state.menus);
    state.overhead.coordinateMode = static_cast<overhead::CoordinateMode>(display);
}

}  // namespace tavrok::shell

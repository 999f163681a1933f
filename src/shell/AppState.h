#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geodesy/Ellipsoid.h"
#include "importers/CloudGridding.h"
#include "importers/MatrixHeader.h"
#include "importers/MolaPolarSelection.h"
#include "importers/RawMatrixDescription.h"
#include "overhead/OverheadState.h"
#include "scene/SceneParameters.h"
#include "scene/SceneRenderer.h"
#include "shell/MapTools.h"
#include "shell/MenuState.h"
#include "shell/SettingsFile.h"
#include "support/Ui.h"
#include "terrain/Document.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::shell {

// viewMode values.
inline constexpr int viewNothing = 0;
inline constexpr int viewOverhead = 1;
inline constexpr int viewScene = 2;
inline constexpr int viewOverlayMap = 3;
inline constexpr int viewProfilePlot = 4;

// What the loaders remember between loads of one run.
struct LoadMemory {
    // The area picked for tile sets: centre in whole degrees, width, projection.
    struct AreaChoice {
        int centreLatitude = 0;
        int centreLongitude = 0;
        int widthDegrees = 24;
        terrain::ProjectionKind projection = terrain::ProjectionKind::Sinusoidal;
    } area;
    // Where the GLOBE or GTOPO30 tiles were found, and the extension they had.
    struct TileMemory {
        std::filesystem::path directory;
        std::string extension;
    } tiles;
    // The MOLA folders and the last polar choice.
    struct MolaMemory {
        std::filesystem::path megDirectory;
        std::filesystem::path polarDirectory;
        importers::MolaPolarSelection polar;
        // A smaller window of the same image chosen on the map, read instead of the square.
        std::optional<importers::MolaPolarWindow> window;
    } mola;
    // The raw matrix description persists between uses of its dialog.
    importers::RawMatrixDescription rawMatrixDescription;
    // The area cut from a terrain gridded from LAS files, gridded afresh from their points.
    std::optional<importers::CloudArea> cloudArea;
};

// What the writers remember between saves of one run.
struct ExportMemory {
    // The last "File Format" choice of "Save Terrain Matrix".
    importers::MatrixEncoding matrixEncoding = importers::MatrixEncoding::Float32;
};

// The overhead map window: what is shown, at which zoom, in how large a client area.
struct MapWindowState {
    int viewMode = viewNothing;
    double overheadZoom = 1.0;
    int clientWidth = 1024;
    int clientHeight = 768;
    // The document revision the overhead map was last built for.
    std::uint64_t builtRevision = 0;
    // The "Scale" legend window (commands 19, 40061, 20): whether it is open and whether it
    // labels in feet and miles instead of km. The desktop program opens, repaints or closes
    // the window after each command; closing it by hand clears `shown`.
    struct ScaleWindow {
        bool shown = false;
        bool feet = false;
    } scaleWindow;
};

// The subsystems of the second half keep their state here as they are built.
struct SceneState {
    bool colorSceneRendered = false;  // a 3D scene of type "Color" or "S/S" was rendered
    scene::SceneParameters parameters;
    // The rendering context and mesh: made when the scene opens, gone when it closes.
    std::shared_ptr<scene::SceneRenderer> renderer;
    // The last frame, as the scene window shows it; saving and printing take it from here.
    support::RgbImage image;
    // The document revision and overhead zoom the scene marker was placed for.
    std::uint64_t placedRevision = 0;
    double placedZoom = 0;
    // Max resolution is refused below 128,000,000 bytes of physical memory.
    bool lowMemory = false;
    // Set while a frame is drawn: a nested redraw returns at once.
    bool rendering = false;
    // A movement dialog is open: another is not opened over it.
    bool movementOpen = false;
    // Batch use may ask for any eye size (benchmarks); the window uses the chosen size.
    std::optional<scene::PixelSize> eyeSize;
};
struct OverlayState {
    bool exists = false;    // a map overlay image is loaded
    bool mapShown = false;  // the overhead view shows the overlay map itself
};
struct FlybyState {
    bool flightPathDefined = false;
};
struct GpsState {};
// What the terrain edits remember: the ellipsoid last chosen for UTM, and the one a loader
// requires for the conversion it asks for.
struct EditMemory {
    geodesy::EllipsoidId utmEllipsoid = geodesy::EllipsoidId::Wgs84;
    std::optional<geodesy::EllipsoidId> presetEllipsoid;
};
struct ProfileState {};

// One menu state per window; the scene and plot menus reuse command ids of the main menu.
struct WindowMenus {
    MenuState main;
    MenuState scene;
    MenuState plot;

    MenuState& of(support::WindowId window) {
        return window == support::WindowId::Scene  ? scene
               : window == support::WindowId::Plot ? plot
                                                   : main;
    }
};

// The shell's own state: flags of the running job, settings, menus, folders.
struct ShellState {
    // The last confirmed choice of "Select DEM File Type", the user colour tables, the
    // remembered directories and window rectangle; written back at exit.
    SettingsFile settings;
    WindowMenus menus;
    // The temporary directory; empty when no candidate was writable.
    std::filesystem::path tempDir;
    // Where the help document and the README may lie, most specific first (beside the
    // program, the install prefix, the source tree); the first that exists is opened.
    std::vector<std::filesystem::path> helpFiles;
    std::vector<std::filesystem::path> readmeFiles;

    // Set while a long command runs; then only Stop and Escape are taken.
    bool busy = false;
    bool stopRequested = false;
    // Exit or a window close arrived during a long job: honoured when the job ends.
    bool closeDeferred = false;
    // The program should close now (Exit, or a deferred close whose job ended).
    bool quitRequested = false;
};

// The one application state of a process. Commands receive it by reference; nothing else is
// global.
struct AppState {
    terrain::Document document;
    overhead::OverheadState overhead;
    MapWindowState map;
    // The mouse tool working on the overhead map (the readout when none).
    MapTools mapTools;
    LoadMemory loads;
    ExportMemory exports;
    SceneState scene;
    OverlayState overlay;
    FlybyState flyby;
    GpsState gps;
    EditMemory edits;
    ProfileState profile;
    ShellState shell;
};

}  // namespace tavrok::shell

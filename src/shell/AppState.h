#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "importers/MolaPolarSelection.h"
#include "importers/RawMatrixDescription.h"
#include "overhead/OverheadState.h"
#include "shell/MapTools.h"
#include "shell/MenuState.h"
#include "shell/SettingsFile.h"
#include "terrain/Terrain.h"

namespace tavrok::shell {

// viewMode values.
inline constexpr int viewNothing = 0;
inline constexpr int viewOverhead = 1;
inline constexpr int viewScene = 2;
inline constexpr int viewOverlayMap = 3;
inline constexpr int viewProfilePlot = 4;

// The one application state of a process: the terrain and everything the commands share.
// Commands receive it by reference; nothing else is global.
struct AppState {
    terrain::Terrain terrain;

    // The files the last prompt (or the command line) chose; importer commands read them.
    std::vector<std::filesystem::path> selectedFiles;
    // Set when the command line named the terrain: command 39 then skips its dialogs.
    bool fileAlreadyChosen = false;
    // The last confirmed choice of "Select DEM File Type", the user colour tables, the
    // remembered directories and window rectangle; written back at exit.
    SettingsFile settings;
    // The area picked for tile sets: centre in whole degrees, width, projection.
    struct AreaChoice {
        int centreLatitude = 0;
        int centreLongitude = 0;
        int widthDegrees = 24;
        terrain::ProjectionKind projection = terrain::ProjectionKind::Sinusoidal;
    } area;
    // Where the tile sets were found, for the rest of the run: the GLOBE or GTOPO30 tile
    // folder and extension, the MOLA folders and the last polar choice.
    struct TileMemory {
        std::filesystem::path directory;
        std::string extension;
    } rememberedTile;
    struct MolaMemory {
        std::filesystem::path megDirectory;
        std::filesystem::path polarDirectory;
        importers::MolaPolarSelection polar;
    } rememberedMola;
    // What the importer of the terrain shown could tell about its source beyond the header
    // (a GeoTIFF's corner table); empty when nothing. An importer leaves it in
    // pendingSourceListing, and installing the terrain makes it current.
    std::string sourceListing;
    std::string pendingSourceListing;
    // A temporary terrain matrix an importer left for this terrain; deleted, with its ".hdr",
    // at the next load and at exit.
    std::filesystem::path temporaryTerrainFile;
    // Name and extension of the file being loaded, for window titles.
    std::string fileTitle;

    // The raw matrix description persists between uses of its dialog. A caller that has
    // filled it sets rawMatrixPreset to skip the dialog once; rawMatrixTemporaryInput makes
    // the builder delete its input afterwards.
    importers::RawMatrixDescription rawMatrixDescription;
    bool rawMatrixPreset = false;
    bool rawMatrixTemporaryInput = false;

    int viewMode = viewNothing;
    double overheadZoom = 1.0;
    // Vertical exaggeration of the shading, recomputed after every load.
    double shadingScale = 1.0;
    int clientWidth = 1024;
    int clientHeight = 768;
    // The colour scales, lighting, display switches and the current overhead image.
    overhead::OverheadState overhead;
    MapTools mapTools;
    // The "Scale" legend window (commands 19, 40061, 20): whether it is open and whether it
    // labels in feet and miles instead of km. The desktop program opens, repaints or closes
    // the window after each command; closing it by hand clears `shown`.
    struct ScaleWindow {
        bool shown = false;
        bool feet = false;
    };
    ScaleWindow scaleWindow;

    // Where the help document and the README are found.
    std::filesystem::path documentationDir;

    // The temporary directory; empty when no candidate was writable.
    std::filesystem::path tempDir;

    MenuState menus;
    bool overlayExists = false;
    bool overlayMapShown = false;
    bool flightPathDefined = false;
    bool colorSceneRendered = false;

    bool busy = false;
    bool stopRequested = false;
    bool quitRequested = false;
};

}  // namespace tavrok::shell

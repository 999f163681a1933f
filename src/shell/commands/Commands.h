#pragma once
#include "shell/AppState.h"
#include "shell/Command.h"
#include "shell/LoadRequest.h"
#include "support/Ui.h"

// The built command handlers, grouped by the subsystem that owns them.
namespace tavrok::shell::commands {

// shell.cpp
CommandStatus Exit(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus StopOperation(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus About(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus HelpTopics(AppState& state, support::Ui& ui, const CommandContext& context);
// F9: the product's web page.
CommandStatus OpenWebPage(AppState& state, support::Ui& ui, const CommandContext& context);

// terrain.cpp
CommandStatus LoadTerrainModel(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ShowDemSpecs(AppState& state, support::Ui& ui, const CommandContext& context);
// Command 39 for a file named at start-up: its name picks the importer, no dialog is shown.
CommandStatus LoadStartupFile(AppState& state, support::Ui& ui, const std::filesystem::path& file);

// edits.cpp
// F8 and F7 start the selection of an area on the map; finishMapTool crops or patches it.
CommandStatus SelectSmallerArea(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus PatchMissingData(AppState& state, support::Ui& ui, const CommandContext& context);
// 40106: parameter 1 converts with the ellipsoid a loader preset, after asking.
CommandStatus ConvertToUtm(AppState& state, support::Ui& ui, const CommandContext& context);
// 40113: parameter 0 asks, 1 takes the preset ellipsoid, 2 converts to WGS84.
CommandStatus ChangeUtmEllipsoid(AppState& state, support::Ui& ui, const CommandContext& context);
// What the command layer does when a map tool hands over its result: a selected area is
// cropped to (after "Adjust Limits") or patched. Other results are left to their owners.
CommandStatus finishMapTool(AppState& state, support::Ui& ui, const MapToolResult& result);
// Escape or a cancelled dialog ended the selection: the menus come back.
void endSelection(AppState& state);

// importers.cpp
CommandStatus LoadMatrixFiles(AppState& state, support::Ui& ui, const LoadRequest& request);
CommandStatus BuildRawMatrix(AppState& state, support::Ui& ui, const LoadRequest& request);
// The raw matrix builder for a grid another importer prepared or could not read.
CommandStatus buildRawMatrix(AppState& state, support::Ui& ui, const RawMatrixRequest& request);

// usgs.cpp
CommandStatus LoadUsgsDem(AppState& state, support::Ui& ui, const LoadRequest& request);

// srtm.cpp
CommandStatus LoadSrtmFiles(AppState& state, support::Ui& ui, const LoadRequest& request);

// clouds.cpp: LAS point clouds (46; parameter 1 re-grids the terrain's files over its area)
CommandStatus LoadLasClouds(AppState& state, support::Ui& ui, const LoadRequest& request);
// XYZ points (47): one text or binary file gridded as an X/Y terrain.
CommandStatus LoadXyzPoints(AppState& state, support::Ui& ui, const LoadRequest& request);

// tiles.cpp: GLOBE (40) and GTOPO30 (42) areas cut from tiles
CommandStatus LoadGlobeTiles(AppState& state, support::Ui& ui, const LoadRequest& request);
CommandStatus LoadGtopo30Tiles(AppState& state, support::Ui& ui, const LoadRequest& request);

// mola.cpp: Mars MEG areas (43) and polar windows (48, param 1 re-reads the last window)
CommandStatus LoadMarsMola(AppState& state, support::Ui& ui, const LoadRequest& request);
CommandStatus LoadMarsPolarMola(AppState& state, support::Ui& ui, const LoadRequest& request);

// exporters.cpp: the File menu's terrain writers
CommandStatus SaveTerrainMatrix(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus SaveUsgsDem(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus SaveGeoTiffDem(AppState& state, support::Ui& ui, const CommandContext& context);

// overhead.cpp
CommandStatus BuildOverhead(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ModifyColors(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus OverheadView(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ResizeOverheadView(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ShadedRelief(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus DegreeMinSec(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus DecimalDegree(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus UtmMeters(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus LatLonGridOn(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus LatLonGridOff(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ShowScaleMeters(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ShowScaleFeet(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ShowScaleCancel(AppState& state, support::Ui& ui, const CommandContext& context);

// scene.cpp
// Command 10 with this parameter draws the open scene again without its dialogs.
inline constexpr int sceneRedrawOnly = 2;
CommandStatus Scene3d(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus CloseWindow(AppState& state, support::Ui& ui, const CommandContext& context);
CommandStatus ChangePosition(AppState& state, support::Ui& ui, const CommandContext& context);
// Closes the scene window and its rendering context; the overhead map is shown again.
void closeScene(AppState& state, support::Ui& ui);
// Draws one frame of the open scene at one eye's size and shows it in the scene window.
CommandStatus renderSceneFrame(AppState& state, support::Ui& ui, scene::PixelSize eyeSize);
// After the overhead map is built: a new or edited terrain puts the observer back in the
// middle of the map, a new zoom scales its position, and the marker tool takes the mouse.
void placeSceneMarker(AppState& state);
// The marker was moved, sized or turned on the map: a new scene.
void takeScenePlacement(AppState& state, const ScenePlacement& placement);

}  // namespace tavrok::shell::commands

#pragma once
#include "shell/AppState.h"
#include "support/Ui.h"

// The built command handlers, grouped by the subsystem that owns them.
namespace tavrok::shell::commands {

// shell.cpp
void Exit(AppState& state, support::Ui& ui, int param);
void StopOperation(AppState& state, support::Ui& ui, int param);
void About(AppState& state, support::Ui& ui, int param);
void HelpTopics(AppState& state, support::Ui& ui, int param);
// F9: the product's web page.
void OpenWebPage(AppState& state, support::Ui& ui, int param);

// terrain.cpp
void LoadTerrainModel(AppState& state, support::Ui& ui, int param);
void ShowDemSpecs(AppState& state, support::Ui& ui, int param);

// importers.cpp
void LoadMatrixFiles(AppState& state, support::Ui& ui, int param);
void BuildRawMatrix(AppState& state, support::Ui& ui, int param);

// usgs.cpp
void LoadUsgsDem(AppState& state, support::Ui& ui, int param);

// srtm.cpp
void LoadSrtmFiles(AppState& state, support::Ui& ui, int param);

// tiles.cpp: GLOBE (40) and GTOPO30 (42) areas cut from tiles
void LoadGlobeTiles(AppState& state, support::Ui& ui, int param);
void LoadGtopo30Tiles(AppState& state, support::Ui& ui, int param);

// mola.cpp: Mars MEG areas (43) and polar windows (48)
void LoadMarsMola(AppState& state, support::Ui& ui, int param);
void LoadMarsPolarMola(AppState& state, support::Ui& ui, int param);

// overhead.cpp
void BuildOverhead(AppState& state, support::Ui& ui, int param);
void ModifyColors(AppState& state, support::Ui& ui, int param);
void ResizeOverheadView(AppState& state, support::Ui& ui, int param);
void ShadedRelief(AppState& state, support::Ui& ui, int param);
void DegreeMinSec(AppState& state, support::Ui& ui, int param);
void DecimalDegree(AppState& state, support::Ui& ui, int param);
void UtmMeters(AppState& state, support::Ui& ui, int param);
void LatLonGridOn(AppState& state, support::Ui& ui, int param);
void LatLonGridOff(AppState& state, support::Ui& ui, int param);
void ShowScaleMeters(AppState& state, support::Ui& ui, int param);
void ShowScaleFeet(AppState& state, support::Ui& ui, int param);
void ShowScaleCancel(AppState& state, support::Ui& ui, int param);

}  // namespace tavrok::shell::commands

#pragma once
#include "shell/AppState.h"
#include "support/Ui.h"

// The built command handlers, grouped by the subsystem that owns them.
namespace tavrok::shell::commands {

// shell.cpp
void Exit(AppState& state, support::Ui& ui, int param);
void StopOperation(AppState& state, support::Ui& ui, int param);
void BuildOverhead(AppState& state, support::Ui& ui, int param);

// terrain.cpp
void LoadTerrainModel(AppState& state, support::Ui& ui, int param);
void ShowDemSpecs(AppState& state, support::Ui& ui, int param);

// importers.cpp
void LoadMatrixFiles(AppState& state, support::Ui& ui, int param);
void BuildRawMatrix(AppState& state, support::Ui& ui, int param);

}  // namespace tavrok::shell::commands

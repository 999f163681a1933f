#include "importers/SrtmImporter.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

// SRTM ".hgt" tiles and ".bil" grids: one file, or several merged into one Lat/Lon grid. A single
// file the reader cannot use goes to the raw matrix builder so that the user can describe it.
void LoadSrtmFiles(AppState& state, support::Ui& ui, int) {
    const auto files = state.selectedFiles;
    if (files.empty()) {
        return;
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadSrtmFiles(files, keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        showError(ui, outcome.terrain.error());
        if (outcome.fallback) {
            ui.clearWindow();
            state.selectedFiles = {files.front()};
            dispatch(state, ui, CommandId::BuildRawMatrix, 0);
        }
        return;
    }
    installLoadedTerrain(state, ui, std::move(outcome.terrain).value(),
                         files.front().filename().string());
}

}  // namespace tavrok::shell::commands

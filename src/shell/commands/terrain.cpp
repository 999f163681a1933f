#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "terrain/DemSpecsDialog.h"

namespace tavrok::shell::commands {

// With param 1 the files are already chosen (the command line): the importer follows from
// their names. The file-type dialog of an interactive start belongs to the desktop program.
void LoadTerrainModel(AppState& state, support::Ui& ui, int param) {
    if (param != 1) {
        ui.showMessage("\"Load Terrain Model\" is not available yet");
        return;
    }
    if (state.selectedFiles.empty()) {
        return;
    }
    const LoadRequest request = loadRequestForFiles(state.selectedFiles);
    dispatch(state, ui, request.command, request.param);
}

void ShowDemSpecs(AppState& state, support::Ui& ui, int) {
    if (!state.terrain.loaded) {
        return;
    }
    terrain::DemSpecsDialog dialog(state.terrain.header);
    ui.runDialog(dialog);
}

}  // namespace tavrok::shell::commands

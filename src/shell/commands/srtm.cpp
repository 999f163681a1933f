#include "importers/SrtmImporter.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

// SRTM ".hgt" tiles and ".bil" grids: one file, or several merged into one Lat/Lon grid. A single
// file the reader cannot use goes to the raw matrix builder so that the user can describe it.
CommandStatus LoadSrtmFiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    const auto& files = request.files;
    if (files.empty()) {
        return CommandStatus::Cancelled;
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadSrtmFiles(files, keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        const CommandStatus failed = showError(ui, outcome.terrain.error());
        if (!outcome.offerRawBuilder) {
            return failed;
        }
        ui.output().clear();
        return buildRawMatrix(state, ui, RawMatrixRequest{files.front()});
    }
    terrain::SourceRecord source;
    source.format = "srtm";
    source.files = files;
    source.title = files.front().filename().string();
    return installLoadedTerrain(state, ui, std::move(outcome.terrain).value(), std::move(source));
}

}  // namespace tavrok::shell::commands

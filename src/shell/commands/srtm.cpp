#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

// SRTM ".hgt" tiles and ".bil" grids: one file, or several merged into one Lat/Lon grid. A single
// file the reader cannot use goes to the raw matrix builder so that the user can describe it.
CommandStatus LoadSrtmFiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    return loadWithImporter(state, ui, "srtm", request.files);
}

}  // namespace tavrok::shell::commands

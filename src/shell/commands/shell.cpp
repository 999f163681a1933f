#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

void Exit(AppState& state, support::Ui&, int) {
    if (!state.busy) {
        state.quitRequested = true;
    }
}

// Only raises the flag; the running loop sees it at its next progress report.
void StopOperation(AppState& state, support::Ui&, int) {
    state.stopRequested = true;
}

// The overhead map is drawn by the overhead subsystem; until then a loaded terrain is simply
// marked as shown.
void BuildOverhead(AppState& state, support::Ui&, int) {
    if (state.terrain.loaded) {
        state.viewMode = viewOverhead;
    }
}

}  // namespace tavrok::shell::commands

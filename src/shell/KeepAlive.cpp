#include "shell/KeepAlive.h"

#include <cstdio>

namespace tavrok::shell {

support::ProgressCallback keepAlive(AppState& state, support::Ui& ui, std::string text) {
    state.shell.stopRequested = false;
    return [&state, &ui, text = std::move(text)](long done, long total) {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, text.c_str(), total - done);
        ui.showProgress(buffer);
        ui.pump();
        if (ui.stopRequested()) {
            state.shell.stopRequested = true;
        }
        return !state.shell.stopRequested;
    };
}

}  // namespace tavrok::shell

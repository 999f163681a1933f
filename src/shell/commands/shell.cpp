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

}  // namespace tavrok::shell::commands

namespace tavrok::shell::commands {

void About(AppState&, support::Ui& ui, int) {
    ui.showMessage(
        "Tavrok terrain visualization, made by the Tavrok developers.\n"
        "Updates are published with the source at the project's repository.",
        "Tavrok Version 20.6");
}

void HelpTopics(AppState& state, support::Ui& ui, int) {
    const auto help = state.documentationDir / "help" / "tavrok.html";
    if (!ui.openDocument(help.string())) {
        ui.showMessage("Adobe Reader must be installed to read Help.");
    }
}

// There is no product web page; the README is the next best thing.
void OpenWebPage(AppState& state, support::Ui& ui, int) {
    ui.openDocument((state.documentationDir.parent_path() / "README.md").string());
}

}  // namespace tavrok::shell::commands

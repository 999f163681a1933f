#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

// During a long job the close waits for the job to end.
CommandStatus Exit(AppState& state, support::Ui&, const CommandContext&) {
    if (state.shell.busy) {
        state.shell.closeDeferred = true;
    } else {
        state.shell.quitRequested = true;
    }
    return CommandStatus::Done;
}

// Only raises the flag; the running loop sees it at its next progress report.
CommandStatus StopOperation(AppState& state, support::Ui&, const CommandContext&) {
    state.shell.stopRequested = true;
    return CommandStatus::Done;
}

CommandStatus About(AppState&, support::Ui& ui, const CommandContext&) {
    ui.showMessage(
        "Tavrok terrain visualization, made by the Tavrok developers.\n"
        "Updates are published with the source at the project's repository.",
        "Tavrok Version 20.6");
    return CommandStatus::Done;
}

CommandStatus HelpTopics(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto help = state.shell.documentationDir / "help" / "tavrok.html";
    if (!ui.openDocument(help.string())) {
        ui.showMessage("Adobe Reader must be installed to read Help.");
        return CommandStatus::Failed;
    }
    return CommandStatus::Done;
}

// There is no product web page; the README is the next best thing.
CommandStatus OpenWebPage(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto readme = state.shell.documentationDir.parent_path() / "README.md";
    return ui.openDocument(readme.string()) ? CommandStatus::Done : CommandStatus::Failed;
}

}  // namespace tavrok::shell::commands

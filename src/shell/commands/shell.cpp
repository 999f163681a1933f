#include <optional>
#include <system_error>

#include "shell/commands/Commands.h"
#include "support/ErrorCode.h"

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
    ui.showInformation(
        "Tavrok terrain visualization, made by the Tavrok developers.\n"
        "Updates are published with the source at the project's repository.",
        "Tavrok Version 20.6");
    return CommandStatus::Done;
}

namespace {

std::optional<std::filesystem::path> firstExisting(
    const std::vector<std::filesystem::path>& candidates) {
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

// A document that is nowhere to be found is reported by name, so the user knows what is missing.
CommandStatus reportMissing(support::Ui& ui, const std::vector<std::filesystem::path>& candidates,
                            std::string_view fallbackName) {
    const std::string name =
        candidates.empty() ? std::string(fallbackName) : candidates.front().filename().string();
    ui.showMessage(std::string(support::messageText(support::ErrorCode::CannotOpenFile)) + "\n" +
                   name);
    return CommandStatus::Failed;
}

}  // namespace

// The viewer message is kept for the one case it describes: the file is there and nothing
// would open it.
CommandStatus HelpTopics(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto help = firstExisting(state.shell.helpFiles);
    if (!help) {
        return reportMissing(ui, state.shell.helpFiles, "tavrok.html");
    }
    if (!ui.openDocument(help->string())) {
        ui.showMessage("Adobe Reader must be installed to read Help.");
        return CommandStatus::Failed;
    }
    return CommandStatus::Done;
}

// There is no product web page; the README is the next best thing.
CommandStatus OpenWebPage(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto readme = firstExisting(state.shell.readmeFiles);
    if (!readme || !ui.openDocument(readme->string())) {
        return reportMissing(ui, state.shell.readmeFiles, "README.md");
    }
    return CommandStatus::Done;
}

}  // namespace tavrok::shell::commands

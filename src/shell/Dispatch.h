#pragma once
#include <span>
#include <string_view>

#include "shell/AppState.h"
#include "shell/Command.h"
#include "shell/LoadRequest.h"
#include "support/Ui.h"

namespace tavrok::shell {

// A command handler: one small function per command.
using CommandHandler = CommandStatus (*)(AppState& state, support::Ui& ui,
                                         const CommandContext& context);
// An importer command: the files or folder it reads come with the request.
using ImportHandler = CommandStatus (*)(AppState& state, support::Ui& ui,
                                        const LoadRequest& request);

struct CommandEntry {
    CommandId id;
    std::string_view text;       // the menu text, or a short name for internal commands
    std::string_view subsystem;  // the owner: "shell", "terrain", "importers", "overhead" ...
    CommandHandler handler;      // null until the command is built (or for importers)
    // Long commands run inside the job guard: busy set, every menu greyed but Stop, other
    // commands refused, a close deferred until the job ends.
    bool longRunning = false;
    ImportHandler importer = nullptr;  // set for the internal importer commands
};

// Every command, in menu order, then the internal ones.
std::span<const CommandEntry> commandTable();
const CommandEntry* findCommand(CommandId id);

// Runs a command synchronously and says how it ended. A command that is not built yet says so
// through the Ui. While a long job runs, only Stop and Exit (deferred) are taken; anything else
// answers Busy without running. After a command, while a terrain is loaded, the menus follow
// the new state.
CommandStatus dispatch(AppState& state, support::Ui& ui, const CommandContext& context);
inline CommandStatus dispatch(AppState& state, support::Ui& ui, CommandId id, int param = 0) {
    return dispatch(state, ui, CommandContext{id, param, WindowId::Main});
}

// Runs an importer with its request inside the job guard.
CommandStatus runImport(AppState& state, support::Ui& ui, const LoadRequest& request);

// Applies the menu rules to the current state (menus only; nothing is redrawn).
void updateMenus(AppState& state);

// Brings the views up to date with the document: the overhead map is rebuilt when the terrain's
// revision differs from the one it was built for. The desktop program calls this after every
// command; the command line calls it only where it renders.
CommandStatus refreshViews(AppState& state, support::Ui& ui);

}  // namespace tavrok::shell

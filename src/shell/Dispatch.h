#pragma once
#include <span>
#include <string_view>

#include "shell/AppState.h"
#include "shell/CommandId.h"
#include "support/Ui.h"

namespace tavrok::shell {

// A command handler: one small function per command. param carries the small flag a caller
// may pass (1 = the input is already chosen, where a command supports it).
using CommandHandler = void (*)(AppState& state, support::Ui& ui, int param);

struct CommandEntry {
    CommandId id;
    std::string_view text;       // the menu text, or a short name for internal commands
    std::string_view subsystem;  // the owner: "shell", "terrain", "importers", "overhead" ...
    CommandHandler handler;      // null until the command is built
};

// Every command, in menu order, then the internal ones.
std::span<const CommandEntry> commandTable();
const CommandEntry* findCommand(CommandId id);

// Runs a command synchronously. A command that is not built yet says so through the Ui.
// After a command, while a terrain is loaded, the menus follow the new state.
void dispatch(AppState& state, support::Ui& ui, CommandId id, int param = 0);

// Applies the menu rules to the current state (menus only; nothing is redrawn).
void updateMenus(AppState& state);

}  // namespace tavrok::shell

#pragma once
#include "shell/CommandId.h"
#include "support/Ui.h"

namespace tavrok::shell {

using support::WindowId;

// What a command is asked to do: its id, the small flag a caller may pass (1 = the input is
// already chosen, 1 = sent from the 3D scene, where a command defines it), and the window whose
// menu or key sent it.
struct CommandContext {
    CommandId id = CommandId::Exit;
    int param = 0;
    WindowId source = WindowId::Main;
};

// How a command ended. Failed means the user has already been told why.
enum class CommandStatus {
    Done,
    Cancelled,
    Failed,
    // Refused without a word: a long job is running and only Stop is taken.
    Busy,
};

}  // namespace tavrok::shell

#pragma once
#include <optional>

#include "shell/AppState.h"
#include "shell/Command.h"

namespace tavrok::shell {

// The keys that send commands. Arrow keys and Enter belong to the map tools.
enum class Key { F1, F2, F3, F4, F5, F6, F7, F8, F9, Escape };

// The command a key sends in a window, by the key table's conditions (a sinusoidal terrain
// has no overlay, patching or cropping; F8 needs the overhead view and no Ctrl; F3 edits the
// scene's colours from the 3D scene). Empty when the key does nothing there and then.
std::optional<CommandContext> commandForKey(const AppState& state, WindowId window, Key key,
                                            bool controlHeld);

}  // namespace tavrok::shell

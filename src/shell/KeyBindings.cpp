#include "shell/KeyBindings.h"

#include <array>

namespace tavrok::shell {

namespace {

enum class Condition { Always, NotSinusoidal, OverheadNotSinusoidalNoControl };

struct KeyBinding {
    Key key;
    CommandId command;
    Condition condition;
};

constexpr std::array bindings{
    KeyBinding{Key::F1, CommandId::OverheadView, Condition::Always},
    KeyBinding{Key::F2, CommandId::Scene3d, Condition::Always},
    KeyBinding{Key::F3, CommandId::ModifyColors, Condition::Always},
    KeyBinding{Key::F4, CommandId::MapOverlay, Condition::NotSinusoidal},
    KeyBinding{Key::F5, CommandId::AdjustMapOverlay, Condition::NotSinusoidal},
    KeyBinding{Key::F6, CommandId::ResizeOverheadView, Condition::Always},
    KeyBinding{Key::F7, CommandId::PatchMissingData, Condition::NotSinusoidal},
    KeyBinding{Key::F8, CommandId::SelectSmallerArea, Condition::OverheadNotSinusoidalNoControl},
    KeyBinding{Key::F9, CommandId::OpenWebPage, Condition::Always},
    KeyBinding{Key::Escape, CommandId::StopOperation, Condition::Always},
};

bool holds(Condition condition, const AppState& state, bool controlHeld) {
    const bool sinusoidal = state.document.loaded() && state.document.header().projection ==
                                                           terrain::ProjectionKind::Sinusoidal;
    switch (condition) {
        case Condition::Always:
            return true;
        case Condition::NotSinusoidal:
            return !sinusoidal;
        case Condition::OverheadNotSinusoidalNoControl:
            return !sinusoidal && !controlHeld && state.map.viewMode == viewOverhead;
    }
    return false;
}

// The scene window's own keys: F6 moves the camera or the observer, Escape closes the scene
// (unless a long job is running, which it stops).
std::optional<CommandContext> sceneWindowKey(const AppState& state, Key key) {
    if (key == Key::F6) {
        return CommandContext{CommandId::ChangePosition, 0, WindowId::Scene};
    }
    if (key == Key::Escape && !state.shell.busy) {
        return CommandContext{CommandId::CloseWindow, 0, WindowId::Scene};
    }
    return std::nullopt;
}

}  // namespace

std::optional<CommandContext> commandForKey(const AppState& state, WindowId window, Key key,
                                            bool controlHeld) {
    if (window == WindowId::Scene) {
        if (auto own = sceneWindowKey(state, key)) {
            return own;
        }
    }
    for (const auto& binding : bindings) {
        if (binding.key != key) {
            continue;
        }
        if (!holds(binding.condition, state, controlHeld)) {
            return std::nullopt;
        }
        CommandContext context{binding.command, 0, window};
        // F3 from the 3D scene edits the scene's table.
        if (key == Key::F3 && state.map.viewMode != viewOverhead) {
            context.param = 1;
        }
        return context;
    }
    return std::nullopt;
}

}  // namespace tavrok::shell

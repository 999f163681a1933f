#pragma once
#include <QMenuBar>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "shell/KeyBindings.h"
#include "shell/MenuLayout.h"

namespace tavrok::app {

// The actions and popups a menu bar was built with, for mirroring a menu state onto them.
struct BuiltMenus {
    std::map<shell::CommandId, QAction*> actions;
    std::map<shell::Popup, QMenu*> popups;

    // Enables, greys and checks the actions and popups as the state says.
    void apply(const shell::MenuState& menus) const;
};

// Builds the entries into the bar (parent null) or a popup; each item calls choose(id).
void buildMenuEntries(QMenuBar* bar, QMenu* parent, const std::vector<shell::MenuEntry>& entries,
                      const std::function<void(shell::CommandId)>& choose, BuiltMenus& built);

// The shell's name for a Qt key code; empty for keys no window binds.
std::optional<shell::Key> shellKey(int qtKey);

}  // namespace tavrok::app

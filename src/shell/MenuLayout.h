#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "shell/CommandId.h"

namespace tavrok::shell {

// Popups that are greyed or enabled as a whole.
enum class Popup { File, SaveTerragen, ChangeProjection, TransferGpsPoints, ShowScale };

// One entry of a menu: a command, a separator, or a popup with its own entries.
struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    std::string_view text;  // the item's text; the popup's title
    CommandId command{};
    Popup popup{};  // for popups that have rules of their own
    bool hasPopupRules = false;
    std::vector<MenuEntry> entries;  // a popup's entries
};

// The main window's menu bar, top-level popups in order, each item as the user reads it.
const std::vector<MenuEntry>& mainMenu();
// The 3D scene window's, the profile plot window's and the colour dialog's menu bars.
const std::vector<MenuEntry>& sceneMenu();
const std::vector<MenuEntry>& plotMenu();
const std::vector<MenuEntry>& colorDialogMenu();

// Every command entry of a menu tree, depth first.
std::vector<const MenuEntry*> commandEntries(const std::vector<MenuEntry>& menu);

}  // namespace tavrok::shell

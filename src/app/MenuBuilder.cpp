#include "app/MenuBuilder.h"

namespace tavrok::app {

namespace {

using shell::CommandId;

bool isCheckable(CommandId id) {
    switch (id) {
        case CommandId::OverheadView:
        case CommandId::Scene3d:
        case CommandId::DegreeMinSec:
        case CommandId::DecimalDegree:
        case CommandId::UtmMeters:
        case CommandId::LatLonGridOn:
        case CommandId::LatLonGridOff:
            return true;
        default:
            return false;
    }
}

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

void BuiltMenus::apply(const shell::MenuState& menus) const {
    for (const auto& [id, action] : actions) {
        action->setEnabled(menus.enabled(id));
        if (action->isCheckable()) {
            action->setChecked(menus.checked(id));
        }
    }
    for (const auto& [which, menu] : popups) {
        menu->setEnabled(menus.popupEnabled(which));
    }
}

void buildMenuEntries(QMenuBar* bar, QMenu* parent, const std::vector<shell::MenuEntry>& entries,
                      const std::function<void(CommandId)>& choose, BuiltMenus& built) {
    for (const auto& entry : entries) {
        if (entry.kind == shell::MenuEntry::Kind::Separator) {
            parent->addSeparator();
        } else if (entry.kind == shell::MenuEntry::Kind::Popup) {
            QMenu* menu =
                parent ? parent->addMenu(text(entry.text)) : bar->addMenu(text(entry.text));
            menu->setObjectName(text(entry.text));
            if (entry.hasPopupRules) {
                built.popups[entry.popup] = menu;
            }
            buildMenuEntries(bar, menu, entry.entries, choose, built);
        } else {
            QAction* action = parent->addAction(text(entry.text));
            action->setData(static_cast<int>(entry.command));
            action->setCheckable(isCheckable(entry.command));
            const CommandId id = entry.command;
            QObject::connect(action, &QAction::triggered, action, [choose, id] { choose(id); });
            built.actions[id] = action;
        }
    }
}

std::optional<shell::Key> shellKey(int qtKey) {
    static const std::map<int, shell::Key> keys{
        {Qt::Key_F1, shell::Key::F1}, {Qt::Key_F2, shell::Key::F2},
        {Qt::Key_F3, shell::Key::F3}, {Qt::Key_F4, shell::Key::F4},
        {Qt::Key_F5, shell::Key::F5}, {Qt::Key_F6, shell::Key::F6},
        {Qt::Key_F7, shell::Key::F7}, {Qt::Key_F8, shell::Key::F8},
        {Qt::Key_F9, shell::Key::F9}, {Qt::Key_Escape, shell::Key::Escape},
    };
    const auto found = keys.find(qtKey);
    return found == keys.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace tavrok::app

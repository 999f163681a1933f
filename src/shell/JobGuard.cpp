#include "shell/JobGuard.h"

#include "shell/Dispatch.h"

namespace tavrok::shell {

JobGuard::JobGuard(AppState& state, support::Ui& ui)
    : m_state(state), m_ui(ui), m_outermost(!state.shell.busy) {
    if (!m_outermost) {
        return;
    }
    auto& shell = m_state.shell;
    shell.busy = true;
    shell.stopRequested = false;
    m_savedMenus = shell.menus;
    for (MenuState* menus : {&shell.menus.main, &shell.menus.scene, &shell.menus.plot}) {
        GreyAllMenus(*menus);
        (*menus)[CommandId::StopOperation].enabled = true;
    }
    refreshAllMenus();
}

JobGuard::~JobGuard() {
    if (!m_outermost) {
        return;
    }
    auto& shell = m_state.shell;
    shell.busy = false;
    shell.menus = m_savedMenus;
    if (m_state.document.loaded()) {
        updateMenus(m_state);
    }
    refreshAllMenus();
    if (shell.closeDeferred) {
        shell.closeDeferred = false;
        shell.quitRequested = true;
    }
}

void JobGuard::refreshAllMenus() {
    for (const auto window : {WindowId::Main, WindowId::Scene, WindowId::Plot}) {
        m_ui.output(window).refreshMenus();
    }
}

}  // namespace tavrok::shell

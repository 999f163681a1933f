#pragma once
#include "shell/AppState.h"
#include "support/Ui.h"

namespace tavrok::shell {

// Holds the program in its busy state while a long job runs: every window's menus greyed but
// Stop, other commands refused by dispatch, a close request deferred. When the outermost guard
// ends, the menus come back (by the rules when a terrain is loaded, else as they were) and a
// deferred close becomes a quit request. Guards nest: only the outermost one acts.
class JobGuard {
  public:
    JobGuard(AppState& state, support::Ui& ui);
    ~JobGuard();
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;

  private:
    void refreshAllMenus();

    AppState& m_state;
    support::Ui& m_ui;
    bool m_outermost;
    WindowMenus m_savedMenus;
};

}  // namespace tavrok::shell

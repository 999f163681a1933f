#pragma once
#include <string>

#include "shell/AppState.h"
#include "support/Progress.h"
#include "support/Ui.h"

namespace tavrok::shell {

// Turns a core loop's progress reports into the keep-alive idiom: a progress text, pending
// events handled, and Stop or Escape honoured. The text may hold one "%ld" for the count of
// work remaining.
support::ProgressCallback keepAlive(AppState& state, support::Ui& ui, std::string text);

}  // namespace tavrok::shell

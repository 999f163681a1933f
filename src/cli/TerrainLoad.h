#pragma once
#include <filesystem>

#include "cli/Arguments.h"
#include "cli/CliUi.h"
#include "shell/AppState.h"

namespace tavrok::cli {

// This run's private folder (made on first use, removed at exit); null when no writable
// temporary directory exists.
const std::filesystem::path* runDirectory();

// Loads the files named on the command line through the same commands the desktop program
// uses (the importer chosen by name or --type, dialogs filled from the options). False after a
// failure, whose message has already been printed.
bool loadTerrain(const Arguments& arguments, shell::AppState& state, CliUi& ui);

}  // namespace tavrok::cli

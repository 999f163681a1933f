#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "shell/AppState.h"
#include "shell/RunDirectory.h"

namespace tavrok::shell {

// 0 when a file of a fresh name of our own can be created exclusively in the folder and
// written (it is deleted again), -1 otherwise.
int ProbeWritableDirectory(const std::filesystem::path& folder);

// Deletes the plain files of one folder (not its subfolders). Refuses system folders and the
// user's home; returns 1 when it ran, 0 when it refused or the folder cannot be listed.
int ClearDirectory(const std::filesystem::path& folder);

// The first writable candidate of $TMPDIR and /tmp; empty when neither is. Never the current
// directory, which is the user's own.
std::optional<std::filesystem::path> chooseTemporaryDirectory();

// This run's private folder under the chosen temporary directory, after removing what crashed
// runs of this user left there; empty when none can be made.
std::optional<RunDirectory> makeRunDirectory();

// "tavrok_temp" inside the run's private folder, created on demand: where importers put their
// intermediate files. Without a run folder in the state, one private folder for the process is
// made; empty when not even that can be made (never a shared, guessable name).
std::filesystem::path temporaryWorkDirectory(const AppState& state);

}  // namespace tavrok::shell

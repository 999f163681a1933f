#pragma once
#include <optional>
#include <set>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliUi.h"
#include "shell/AppState.h"
#include "support/DialogModel.h"

namespace tavrok::cli {

// The edit options of the commands that load a terrain: --crop, --patch, --to-utm,
// --allow-sinusoidal (a switch), --change-ellipsoid, and --utm-zone, which answers "UTM
// Global Coordinates" for an X/Y matrix.
std::set<std::string> editOptionNames();
inline constexpr const char* allowSinusoidalSwitch = "allow-sinusoidal";
const char* editOptionsHelp();

// Edits the loaded terrain as the options ask, each at most once and always in the order crop,
// patch, conversion to UTM, ellipsoid change. Returns 0 when every edit was made, 1 after a
// refusal (the program's message printed; the terrain may hold the edits made before it), 2
// for a usage mistake.
int applyEditOptions(const Arguments& arguments, shell::AppState& state, CliUi& ui);

// Fills the ellipsoid dialogs of the edits from the options: "Choose UTM Ellipsoid" from
// --to-utm and "Change UTM Ellipsoid" from --change-ellipsoid.
// Empty for any other dialog; an error naming the option when it is missing or wrong.
std::optional<support::Status> fillEditDialog(const Arguments& arguments,
                                              support::DialogModel& dialog);

}  // namespace tavrok::cli

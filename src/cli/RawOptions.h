#pragma once
#include <set>
#include <string>

#include "cli/Arguments.h"
#include "support/DialogModel.h"

namespace tavrok::cli {

// The options that describe a headerless grid, mirroring the "Matrix Data Format" dialog.
std::set<std::string> rawOptionNames();
const char* rawOptionsHelp();

// Fills a dialog the program opens from the command-line options. Only the raw matrix
// description can be filled; any other dialog fails with a detail naming what is missing.
support::Status fillDialogFromOptions(const Arguments& arguments, support::DialogModel& dialog);

}  // namespace tavrok::cli

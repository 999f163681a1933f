#pragma once
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "importers/Registry.h"
#include "shell/AppState.h"
#include "shell/Command.h"
#include "shell/LoadRequest.h"
#include "support/Result.h"
#include "support/Ui.h"

namespace tavrok::shell {

// The steps every importer performs on success: the new terrain replaces the document's whole
// (the old one is released only now), and the overhead zoom and window title are chosen. The
// map itself is rebuilt by refreshViews, where something shows it.
CommandStatus installLoadedTerrain(AppState& state, support::Ui& ui,
                                   importers::LoadedTerrain loaded, terrain::SourceRecord source);

// Overhead zoom for a grid in the client area: the smaller fit, at most 2.0, truncated to
// hundredths; never 0: a fit below 0.01 is kept as it is.
double overheadZoomFor(int rows, int columns, int clientWidth, int clientHeight);

// The importer command for a registry key ("matrix", "usgs", "globe", ...). Empty for an
// unknown key.
std::optional<LoadRequest> loadRequestForType(std::string_view type);
// The importer command for files chosen by name, as the registry identifies them: the
// extension decides, a data file with a ".hdr" beside it is a terrain matrix, anything else
// goes to the raw matrix builder.
LoadRequest loadRequestForFiles(const std::vector<std::filesystem::path>& files);

// What every importer is given: the files, the run's work folder, the raw matrix description
// in use, and stage texts shown as progress.
importers::ImportRequest importRequestFor(AppState& state, support::Ui& ui,
                                          std::vector<std::filesystem::path> files);
// Runs the registry's importer for key with the wait cursor and the Stop check.
importers::ImportOutcome runImporter(AppState& state, support::Ui& ui, std::string_view key,
                                     const importers::ImportRequest& request);
// What the shell does with any importer's outcome: installs the terrain, or shows the error
// once and, when the importer handed its file on, continues with the raw matrix builder.
CommandStatus finishImport(AppState& state, support::Ui& ui, importers::ImportOutcome outcome);
// importRequestFor, runImporter and finishImport in a row; Cancelled for no files.
CommandStatus loadWithImporter(AppState& state, support::Ui& ui, std::string_view key,
                               std::vector<std::filesystem::path> files);
// showError, with the SDTS converter's failures under its caption "SDTS2DEM" and an
// incompatible archive followed by its name.
CommandStatus showImportError(support::Ui& ui, const support::Error& error);

// Shows a failure once with its cause (a silent one shows no message box, only its cause where
// there is room for it) and says how the command ended.
CommandStatus showError(support::Ui& ui, const support::Error& error);

}  // namespace tavrok::shell

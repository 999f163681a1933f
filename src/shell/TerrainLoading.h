#pragma once
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "importers/LoadedTerrain.h"
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
// hundredths.
double overheadZoomFor(int rows, int columns, int clientWidth, int clientHeight);

// The importer for a named type: "matrix", "raw", "usgs", "sdts", "srtm", "geotiff", "las",
// "xyz". Empty for an unknown name.
std::optional<LoadRequest> loadRequestForType(std::string_view type);
// The importer for files chosen by name: the extension decides, and a data file with a ".hdr"
// beside it is a terrain matrix. Anything unrecognised goes to the raw matrix builder.
LoadRequest loadRequestForFiles(const std::vector<std::filesystem::path>& files);

// Shows a failure once (nothing for a silent one) and says how the command ended.
CommandStatus showError(support::Ui& ui, const support::Error& error);

}  // namespace tavrok::shell

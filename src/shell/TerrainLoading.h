#pragma once
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "importers/LoadedTerrain.h"
#include "shell/AppState.h"
#include "shell/CommandId.h"
#include "support/Ui.h"

namespace tavrok::shell {

// The steps every importer performs on success: install the new terrain whole (the old one is
// released only now), choose the overhead zoom, the shading scale and the window title, and
// rebuild the overhead view.
void installLoadedTerrain(AppState& state, support::Ui& ui, importers::LoadedTerrain loaded,
                          std::string_view windowTitleName);

// Overhead zoom for a grid in the client area: the smaller fit, at most 2.0, truncated to
// hundredths.
double overheadZoomFor(int rows, int columns, int clientWidth, int clientHeight);

// An importer command and its parameter.
struct LoadRequest {
    CommandId command = CommandId::BuildRawMatrix;
    int param = 0;
};

// The importer for a named type: "matrix", "raw", "usgs", "sdts", "srtm", "geotiff", "las",
// "xyz". Empty for an unknown name.
std::optional<LoadRequest> loadRequestForType(std::string_view type);
// The importer for files chosen by name: the extension decides, and a data file with a ".hdr"
// beside it is a terrain matrix. Anything unrecognised goes to the raw matrix builder.
LoadRequest loadRequestForFiles(const std::vector<std::filesystem::path>& files);

// Shows a failure once: nothing for a silent one.
void showError(support::Ui& ui, const support::Error& error);

}  // namespace tavrok::shell

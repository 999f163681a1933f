#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

constexpr std::string_view globeQuestion =
    "          This file must be loaded as a GLOBE Tile.\n  See 'NOAA GLOBE DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load NOAA GLOBE Tile?";
constexpr std::string_view gtopo30Question =
    "          This file must be loaded as a GTOPO30 Tile.\n  See 'USGS GTOPO30 DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load USGS GTOPO30 Tile?";

}  // namespace

// USGS ASCII DEMs (single or merged), archives of DEMs or SDTS transfers, and SDTS modules
// chosen directly (param 1 or ".ddf"); GeoTIFF files go on to the raw matrix builder, and
// files named like GLOBE or GTOPO30 tiles are offered to those importers.
CommandStatus LoadUsgsDem(AppState& state, support::Ui& ui, const LoadRequest& request) {
    if (request.files.empty()) {
        return CommandStatus::Cancelled;
    }
    const auto load = importRequestFor(state, ui, request.files);
    auto outcome = runImporter(state, ui, request.param == 1 ? "sdts" : "usgs", load);
    if (outcome.handOverTo == "globe") {
        return ui.askYesNo(globeQuestion) ? LoadGlobeTiles(state, ui, request)
                                          : CommandStatus::Cancelled;
    }
    if (outcome.handOverTo == "gtopo30") {
        return ui.askYesNo(gtopo30Question) ? LoadGtopo30Tiles(state, ui, request)
                                            : CommandStatus::Cancelled;
    }
    return finishImport(state, ui, std::move(outcome));
}

}  // namespace tavrok::shell::commands

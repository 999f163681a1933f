#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "importers/ArchiveLoad.h"
#include "importers/GeoTiffDemImporter.h"
#include "importers/TileNames.h"
#include "importers/UsgsDemImporter.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

using support::ErrorCode;
namespace fs = std::filesystem;

constexpr std::string_view globeQuestion =
    "          This file must be loaded as a GLOBE Tile.\n  See 'NOAA GLOBE DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load NOAA GLOBE Tile?";
constexpr std::string_view gtopo30Question =
    "          This file must be loaded as a GTOPO30 Tile.\n  See 'USGS GTOPO30 DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load USGS GTOPO30 Tile?";
constexpr std::string_view sdtsCaption = "SDTS2DEM";

std::string lowerExtension(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The SDTS converter's own failures carry its caption.
void showSdtsError(support::Ui& ui, const support::Error& error) {
    if (error.code == ErrorCode::CannotOpenDemCellFile ||
        error.code == ErrorCode::ErrorReadingSdts) {
        ui.showMessage(error.message(), sdtsCaption);
    } else {
        showError(ui, error);
    }
}

// Shows what an archive or SDTS load refused: the converter's failures under its caption,
// an incompatible archive followed by its name, anything else once.
void showLoadError(support::Ui& ui, const support::Error& error) {
    if (error.code == ErrorCode::IncompatibleArchive) {
        ui.showMessage(std::string(error.message()) + error.detail);
    } else {
        showSdtsError(ui, error);
    }
}

// Every stage text is shown at once and lets pending events run.
importers::ImportRequest requestFor(AppState& state, support::Ui& ui,
                                    const std::vector<fs::path>& files) {
    importers::ImportRequest request;
    request.files = files;
    request.temporaryDirectory = temporaryWorkDirectory(state);
    request.announce = [&ui](std::string_view text) {
        ui.showProgress(std::string(text));
        ui.pump();
    };
    return request;
}

void install(AppState& state, support::Ui& ui, importers::ImportOutcome outcome) {
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        showLoadError(ui, outcome.terrain.error());
        return;
    }
    const std::string title = outcome.terrain->source.title;
    installLoadedTerrain(state, ui, std::move(outcome.terrain).value(), title);
}

void loadDemFiles(AppState& state, support::Ui& ui, const std::vector<fs::path>& files) {
    auto request = requestFor(state, ui, files);
    ui.setWaitCursor(true);
    install(state, ui,
            importers::LoadAsciiDems(files, request, keepAlive(state, ui, "Please Wait ...")));
}

void loadSdtsModules(AppState& state, support::Ui& ui, const std::vector<fs::path>& modules) {
    auto request = requestFor(state, ui, modules);
    auto outcome =
        importers::LoadSdtsModules(modules, request, keepAlive(state, ui, "Please Wait ..."));
    install(state, ui, std::move(outcome));
}

void loadArchives(AppState& state, support::Ui& ui, const std::vector<fs::path>& archives) {
    auto request = requestFor(state, ui, archives);
    ui.setWaitCursor(true);
    install(state, ui,
            importers::LoadDemArchives(archives, request, keepAlive(state, ui, "Please Wait ...")));
}

}  // namespace

namespace {

// A GeoTIFF elevation raster: its first band becomes a temporary grid that the raw matrix
// builder loads as described, without showing its dialog. The temporary grid is deleted by the
// builder; the flags serve that one build only.
void loadGeoTiffDem(AppState& state, support::Ui& ui, const std::filesystem::path& file) {
    auto converted = importers::ConvertGeoTiffDem(file, temporaryWorkDirectory(state),
                                                  state.rawMatrixDescription);
    if (!converted) {
        showError(ui, converted.error());
        return;
    }
    const bool projected = converted->description.coordinateSystem == terrain::ProjectionKind::UTM;
    state.overhead.latLonGrid = !projected;
    state.overhead.coordinateMode =
        projected ? overhead::CoordinateMode::UtmMeters : overhead::CoordinateMode::DecimalDegree;
    state.rawMatrixDescription = std::move(converted->description);
    state.rawMatrixPreset = true;
    state.rawMatrixTemporaryInput = true;
    state.selectedFiles = {converted->gridFile};
    state.fileTitle = file.filename().string();
    state.pendingSourceListing = std::move(converted->listing);
    dispatch(state, ui, CommandId::BuildRawMatrix, 0);
}

}  // namespace

// USGS ASCII DEMs (single or merged), archives of DEMs or SDTS transfers, and SDTS modules
// chosen directly (param 1 or ".ddf"); GeoTIFF files and GLOBE or GTOPO30 tiles are passed on.
void LoadUsgsDem(AppState& state, support::Ui& ui, int param) {
    const auto files = state.selectedFiles;
    if (files.empty()) {
        return;
    }
    const bool plainDems = lowerExtension(files.front()) == ".dem";
    for (const auto& file : files) {
        if ((lowerExtension(file) == ".dem") != plainDems) {
            ui.showMessage(support::messageText(ErrorCode::CannotMixAsciiAndArchiveDems));
            return;
        }
    }
    const auto& first = files.front();
    const std::string extension = lowerExtension(first);
    if (param == 1 || extension == ".ddf") {
        loadSdtsModules(state, ui, files);
        return;
    }
    if (extension == ".tif" || extension == ".tiff") {
        loadGeoTiffDem(state, ui, first);
        return;
    }
    const std::string baseName = first.stem().string();
    if (importers::IsGlobeTileName(baseName)) {
        if (ui.askYesNo(globeQuestion)) {
            dispatch(state, ui, CommandId::LoadGlobeTiles, 0);
        }
        return;
    }
    if (importers::IsGtopo30TileName(baseName)) {
        if (ui.askYesNo(gtopo30Question)) {
            dispatch(state, ui, CommandId::LoadGtopo30Tiles, 0);
        }
        return;
    }
    if (plainDems) {
        loadDemFiles(state, ui, files);
    } else {
        loadArchives(state, ui, files);
    }
}

}  // namespace tavrok::shell::commands

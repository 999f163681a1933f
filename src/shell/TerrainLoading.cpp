#include "shell/TerrainLoading.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/commands/Commands.h"
#include "support/Text.h"

namespace tavrok::shell {

double overheadZoomFor(int rows, int columns, int clientWidth, int clientHeight) {
    if (rows < 1 || columns < 1) {
        return 1.0;
    }
    const double heightRatio = static_cast<double>(clientHeight) / clientWidth;
    double zoom = heightRatio < static_cast<double>(rows) / columns
                      ? static_cast<double>(clientHeight) / rows
                      : static_cast<double>(clientWidth) / columns;
    zoom = std::min(zoom, 2.0);
    // Hundredths as the zoom is shown; a grid so long that its fit rounds to 0.00 keeps the
    // exact fit, which still gives the window's height or width in pixels.
    const double hundredths = std::floor(zoom * 100) / 100;
    return hundredths > 0 ? hundredths : zoom;
}

CommandStatus installLoadedTerrain(AppState& state, support::Ui& ui,
                                   importers::LoadedTerrain loaded, terrain::SourceRecord source) {
    const std::string title = "Overhead View - " + source.title;
    state.document.replace(std::move(loaded.grid), std::move(loaded.header), std::move(source));
    const auto& header = state.document.header();
    auto& map = state.map;
    map.overheadZoom =
        overheadZoomFor(header.rows, header.columns, map.clientWidth, map.clientHeight);
    map.viewMode = viewOverhead;
    ui.setWaitCursor(false);
    ui.output().setTitle(title);
    return CommandStatus::Done;
}

namespace {

LoadRequest requestFor(const importers::ImporterRecord& importer,
                       std::vector<std::filesystem::path> files) {
    return LoadRequest{static_cast<CommandId>(importer.command), importer.commandParameter,
                       std::move(files)};
}

constexpr std::string_view sdtsCaption = "SDTS2DEM";
constexpr std::string_view cloudCaption = "Cloud Tools";

}  // namespace

std::optional<LoadRequest> loadRequestForType(std::string_view type) {
    const auto* importer = importers::importerFor(type);
    if (importer == nullptr) {
        return std::nullopt;
    }
    return requestFor(*importer, {});
}

LoadRequest loadRequestForFiles(const std::vector<std::filesystem::path>& files) {
    return requestFor(importers::identifyFiles(files), files);
}

importers::ImportRequest importRequestFor(AppState& state, support::Ui& ui,
                                          std::vector<std::filesystem::path> files) {
    importers::ImportRequest request;
    request.files = std::move(files);
    request.temporaryDirectory = temporaryWorkDirectory(state);
    request.rawDescription = state.loads.rawMatrixDescription;
    request.announce = [&ui](std::string_view text) {
        ui.showProgress(std::string(text));
        ui.pump();
    };
    return request;
}

importers::ImportOutcome runImporter(AppState& state, support::Ui& ui, std::string_view key,
                                     const importers::ImportRequest& request) {
    if (request.temporaryDirectory.empty()) {
        return {support::Error{support::ErrorCode::PathForTemporaryStorageCannotBeFound, {}}};
    }
    ui.setWaitCursor(true);
    auto outcome =
        importers::importerFor(key)->load(request, keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    return outcome;
}

CommandStatus showImportError(support::Ui& ui, const support::Error& error) {
    using support::ErrorCode;
    if (error.code == ErrorCode::CannotOpenDemCellFile ||
        error.code == ErrorCode::ErrorReadingSdts) {
        ui.showFailure(error.message(), error.cause, sdtsCaption);
        return CommandStatus::Failed;
    }
    if (error.code == ErrorCode::NoLasPointsInArea) {
        ui.showFailure(error.message(), error.cause, cloudCaption);
        return CommandStatus::Failed;
    }
    if (error.code == ErrorCode::IncompatibleArchive) {
        ui.showFailure(std::string(error.message()) + error.detail, error.cause);
        return CommandStatus::Failed;
    }
    return showError(ui, error);
}

CommandStatus finishImport(AppState& state, support::Ui& ui, importers::ImportOutcome outcome) {
    if (outcome.terrain) {
        auto loaded = std::move(outcome.terrain).value();
        auto source = std::move(loaded.source);
        return installLoadedTerrain(state, ui, std::move(loaded), std::move(source));
    }
    if (!outcome.fallback) {
        return showImportError(ui, outcome.terrain.error());
    }
    auto& fallback = *outcome.fallback;
    RawMatrixRequest raw(fallback.file);
    if (!fallback.preset) {
        // The header could not be used: say why, then let the user describe the file.
        showImportError(ui, outcome.terrain.error());
        ui.output().clear();
        return commands::buildRawMatrix(state, ui, raw);
    }
    // Described by the importer (a GeoTIFF's first band): built without the dialog.
    const bool projected = fallback.preset->coordinateSystem == terrain::ProjectionKind::UTM;
    state.overhead.latLonGrid = !projected;
    state.overhead.coordinateMode =
        projected ? overhead::CoordinateMode::UtmMeters : overhead::CoordinateMode::DecimalDegree;
    raw.preset = std::move(fallback.preset);
    raw.temporaryInput = fallback.temporaryInput;
    raw.title = std::move(fallback.title);
    raw.listing = std::move(fallback.listing);
    return commands::buildRawMatrix(state, ui, raw);
}

CommandStatus loadWithImporter(AppState& state, support::Ui& ui, std::string_view key,
                               std::vector<std::filesystem::path> files) {
    if (files.empty()) {
        return CommandStatus::Cancelled;
    }
    const auto request = importRequestFor(state, ui, std::move(files));
    return finishImport(state, ui, runImporter(state, ui, key, request));
}

CommandStatus showError(support::Ui& ui, const support::Error& error) {
    ui.showFailure(error.shownText(), error.cause);
    return error.code == support::ErrorCode::OperationCancelled ? CommandStatus::Cancelled
                                                                : CommandStatus::Failed;
}

}  // namespace tavrok::shell

#include "importers/CloudSpecificationDialog.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

// The dialog over the survey; OK stores the spacing and the returns in it.
importers::CloudGridChooser cloudDialog(support::Ui& ui) {
    return [&ui](importers::CloudSurvey& survey, bool lidar) {
        importers::CloudSpecificationDialog dialog(survey, lidar);
        if (!ui.runDialog(dialog)) {
            return false;
        }
        dialog.applyTo(survey);
        return true;
    };
}

// A gridded cloud is read in metres on a plain grid: the readout shows metres and the
// latitude/longitude overlay is off.
CommandStatus showCloudTerrain(AppState& state, CommandStatus status) {
    if (status == CommandStatus::Done) {
        state.overhead.latLonGrid = false;
        state.overhead.coordinateMode = overhead::CoordinateMode::UtmMeters;
    }
    return status;
}

}  // namespace

CommandStatus LoadLasClouds(AppState& state, support::Ui& ui, const LoadRequest& request) {
    auto files = request.files;
    std::optional<importers::CloudArea> area;
    if (request.param == 1) {
        // The smaller area of a terrain gridded from LAS files, gridded afresh from its points.
        // The area chosen on the map, or the whole of the current terrain.
        const auto& source = state.document.source();
        const auto& header = state.document.header();
        if (source.format != "las" || source.files.empty()) {
            return CommandStatus::Cancelled;
        }
        files = source.files;
        area = state.loads.cloudArea.value_or(
            importers::CloudArea{header.originX, header.maxX, header.originY, header.maxY});
        state.loads.cloudArea.reset();
    }
    if (files.empty()) {
        return CommandStatus::Cancelled;
    }
    auto importRequest = importRequestFor(state, ui, std::move(files));
    importRequest.cloudArea = area;
    importRequest.chooseCloudGrid = cloudDialog(ui);
    auto outcome = runImporter(state, ui, "las", importRequest);
    return showCloudTerrain(state, finishImport(state, ui, std::move(outcome)));
}

CommandStatus LoadXyzPoints(AppState& state, support::Ui& ui, const LoadRequest& request) {
    if (request.files.empty()) {
        return CommandStatus::Cancelled;
    }
    auto importRequest = importRequestFor(state, ui, request.files);
    importRequest.chooseCloudGrid = cloudDialog(ui);
    auto outcome = runImporter(state, ui, "xyz", importRequest);
    return showCloudTerrain(state, finishImport(state, ui, std::move(outcome)));
}

}  // namespace tavrok::shell::commands

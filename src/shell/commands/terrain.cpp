#include <algorithm>
#include <array>

#include "importers/Registry.h"
#include "shell/Dispatch.h"
#include "shell/FilePrompts.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "support/Text.h"
#include "terrain/AreaSelectionDialog.h"
#include "terrain/DemSpecsDialog.h"
#include "terrain/FileTypeDialog.h"

namespace tavrok::shell::commands {

namespace {

using namespace terrain;

// What one file type asks before its importer (found in the registry) runs: a file prompt,
// or the area on the world map.
struct FileTypeRoute {
    int fileType;
    const support::FilePrompt* prompt;  // null: no prompt here
    bool areaDialog;  // GLOBE and GTOPO30 pick an area on the world map instead of a file
};

const std::array routes{
    FileTypeRoute{fileTypeUsgsDem, &prompts::openUsgsDem, false},
    FileTypeRoute{fileTypeSrtm, &prompts::openSrtm, false},
    FileTypeRoute{fileTypeGeoTiff, &prompts::openGeoTiff, false},
    FileTypeRoute{fileTypeGlobe, nullptr, true},
    FileTypeRoute{fileTypeMatrix, &prompts::openMatrix, false},
    FileTypeRoute{fileTypeGtopo30, nullptr, true},
    FileTypeRoute{fileTypeLidar, &prompts::openLas, false},
    FileTypeRoute{fileTypeXyz, &prompts::openXyz, false},
    FileTypeRoute{fileTypeMarsMola, nullptr, false},
    FileTypeRoute{fileTypeMarsPolar, nullptr, false},
};

// Repaints after a dialog closed and lets pending events run before a long import.
void refreshAfterDialog(AppState& state, support::Ui& ui) {
    if (state.map.viewMode == viewNothing) {
        ui.output().clear();
    }
    ui.pump();
}

bool chooseArea(AppState& state, support::Ui& ui) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Earth, 24, 720, 360);
    if (!ui.runDialog(dialog)) {
        return false;
    }
    state.loads.area = {dialog.centreLatitude(), dialog.centreLongitude(), dialog.widthDegrees(),
                        dialog.projection};
    return true;
}

CommandStatus loadChosenType(AppState& state, support::Ui& ui, const FileTypeRoute& route) {
    const auto* importer = importers::importerForFileType(route.fileType);
    if (importer == nullptr) {
        return CommandStatus::Cancelled;
    }
    LoadRequest request{static_cast<CommandId>(importer->command), importer->commandParameter, {}};
    if (!importer->available()) {
        // Asking for a file nobody can read would waste the user's choice: the import says
        // it is not available before any prompt.
        return runImport(state, ui, request);
    }
    if (route.prompt != nullptr) {
        const auto files = ui.promptForFiles(*route.prompt);
        if (files.empty()) {
            return CommandStatus::Cancelled;
        }
        request.files.assign(files.begin(), files.end());
    } else if (route.areaDialog && !chooseArea(state, ui)) {
        return CommandStatus::Cancelled;
    }
    if (route.prompt != nullptr || route.areaDialog) {
        refreshAfterDialog(state, ui);
    }
    return runImport(state, ui, request);
}

}  // namespace

CommandStatus LoadTerrainModel(AppState& state, support::Ui& ui, const CommandContext&) {
    if (state.map.viewMode == viewNothing) {
        ui.output().clear();
    }
    FileTypeDialog dialog(state.shell.settings.lastFileType);
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    state.shell.settings.lastFileType = dialog.choice();
    const auto route = std::find_if(routes.begin(), routes.end(), [&](const FileTypeRoute& r) {
        return r.fileType == dialog.choice();
    });
    return route == routes.end() ? CommandStatus::Cancelled : loadChosenType(state, ui, *route);
}

CommandStatus LoadStartupFile(AppState& state, support::Ui& ui, const std::filesystem::path& file) {
    if (state.map.viewMode == viewNothing) {
        ui.output().clear();
    }
    return runImport(state, ui, loadRequestForFiles({file}));
}

CommandStatus ShowDemSpecs(AppState& state, support::Ui& ui, const CommandContext&) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    DemSpecsDialog dialog(state.document.header());
    dialog.sourceListing = state.document.source().listing;
    ui.runDialog(dialog);
    return CommandStatus::Done;
}

}  // namespace tavrok::shell::commands

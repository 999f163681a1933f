#include <algorithm>
#include <array>

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

// What one file type does after the dialog: an optional prompt, then an importer command.
struct FileTypeRoute {
    int fileType;
    const support::FilePrompt* prompt;  // null: no prompt here
    CommandId command;
    int param;
    bool areaDialog;  // GLOBE and GTOPO30 pick an area on the world map instead of a file
};

const std::array routes{
    FileTypeRoute{fileTypeUsgsDem, &prompts::openUsgsDem, CommandId::LoadUsgsDem, 0, false},
    FileTypeRoute{fileTypeSrtm, &prompts::openSrtm, CommandId::LoadSrtmFiles, 0, false},
    FileTypeRoute{fileTypeGeoTiff, &prompts::openGeoTiff, CommandId::LoadUsgsDem, 0, false},
    FileTypeRoute{fileTypeGlobe, nullptr, CommandId::LoadGlobeTiles, 0, true},
    FileTypeRoute{fileTypeMatrix, &prompts::openMatrix, CommandId::LoadMatrixFiles, 0, false},
    FileTypeRoute{fileTypeGtopo30, nullptr, CommandId::LoadGtopo30Tiles, 0, true},
    FileTypeRoute{fileTypeLidar, &prompts::openLas, CommandId::LoadLasCloud, 0, false},
    FileTypeRoute{fileTypeXyz, &prompts::openXyz, CommandId::LoadXyzPoints, 0, false},
    FileTypeRoute{fileTypeMarsMola, nullptr, CommandId::LoadMarsMola, 0, false},
    FileTypeRoute{fileTypeMarsPolar, nullptr, CommandId::LoadMarsPolarMola, 0, false},
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
    LoadRequest request{route.command, route.param, {}};
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

// A file named at start-up: the four characters from the first dot of its name decide.
// A data file with a ".hdr" header beside it is a terrain matrix and loads without asking.
LoadRequest startupRequestFor(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    const auto dot = name.find('.');
    const std::string extension =
        dot == std::string::npos ? "" : support::lowerCase(name.substr(dot, 4));
    if (extension == ".dem") {
        return {CommandId::LoadUsgsDem, 0, {file}};
    }
    if (extension == ".ddf") {
        return {CommandId::LoadUsgsDem, 1, {file}};
    }
    std::error_code ignored;
    auto header = file;
    if (extension != ".hdr" && std::filesystem::exists(header.replace_extension(".hdr"), ignored)) {
        return {CommandId::LoadMatrixFiles, 0, {file}};
    }
    return {CommandId::BuildRawMatrix, 0, {file}};
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
    return runImport(state, ui, startupRequestFor(file));
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

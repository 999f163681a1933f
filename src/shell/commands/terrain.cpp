#include <algorithm>
#include <array>
#include <cctype>

#include "shell/Dispatch.h"
#include "shell/FilePrompts.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "terrain/AreaSelectionDialog.h"
#include "terrain/DemSpecsDialog.h"
#include "terrain/FileTypeDialog.h"

namespace tavrok::shell::commands {

namespace {

using namespace terrain;

// The previous load's temporary terrain matrix goes before anything else happens.
void removeTemporaryTerrain(AppState& state) {
    if (state.temporaryTerrainFile.empty()) {
        return;
    }
    std::error_code ignored;
    auto header = state.temporaryTerrainFile;
    std::filesystem::remove(state.temporaryTerrainFile, ignored);
    std::filesystem::remove(header.replace_extension(".hdr"), ignored);
    state.temporaryTerrainFile.clear();
}

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
    if (state.viewMode == 0) {
        ui.clearWindow();
    }
    ui.pump();
}

bool chooseArea(AppState& state, support::Ui& ui) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Earth, 24, 720, 360);
    if (!ui.runDialog(dialog)) {
        return false;
    }
    state.area = {dialog.centreLatitude(), dialog.centreLongitude(), dialog.widthDegrees(),
                  dialog.projection};
    return true;
}

void loadChosenType(AppState& state, support::Ui& ui, const FileTypeRoute& route) {
    if (route.prompt != nullptr) {
        const auto files = ui.promptForFiles(*route.prompt);
        if (files.empty()) {
            return;
        }
        state.selectedFiles.assign(files.begin(), files.end());
    } else if (route.areaDialog && !chooseArea(state, ui)) {
        return;
    }
    if (route.prompt != nullptr || route.areaDialog) {
        refreshAfterDialog(state, ui);
    }
    dispatch(state, ui, route.command, route.param);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A file named at start-up: the four characters from the first dot of its name decide.
// A data file with a ".hdr" header beside it is a terrain matrix and loads without asking.
LoadRequest startupRequestFor(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    const auto dot = name.find('.');
    const std::string extension = dot == std::string::npos ? "" : lowerCase(name.substr(dot, 4));
    if (extension == ".dem") {
        return {CommandId::LoadUsgsDem, 0};
    }
    if (extension == ".ddf") {
        return {CommandId::LoadUsgsDem, 1};
    }
    std::error_code ignored;
    auto header = file;
    if (extension != ".hdr" && std::filesystem::exists(header.replace_extension(".hdr"), ignored)) {
        return {CommandId::LoadMatrixFiles, 0};
    }
    return {CommandId::BuildRawMatrix, 0};
}

}  // namespace

void LoadTerrainModel(AppState& state, support::Ui& ui, int param) {
    if (state.viewMode == 0) {
        ui.clearWindow();
    }
    removeTemporaryTerrain(state);
    if (param == 1 || state.fileAlreadyChosen) {
        state.fileAlreadyChosen = false;
        if (state.selectedFiles.empty()) {
            return;
        }
        const LoadRequest request = startupRequestFor(state.selectedFiles.front());
        dispatch(state, ui, request.command, request.param);
        return;
    }
    FileTypeDialog dialog(state.settings.lastFileType);
    if (!ui.runDialog(dialog)) {
        return;
    }
    state.settings.lastFileType = dialog.choice();
    const auto route = std::find_if(routes.begin(), routes.end(), [&](const FileTypeRoute& r) {
        return r.fileType == dialog.choice();
    });
    if (route != routes.end()) {
        loadChosenType(state, ui, *route);
    }
}

void ShowDemSpecs(AppState& state, support::Ui& ui, int) {
    if (!state.terrain.loaded) {
        return;
    }
    DemSpecsDialog dialog(state.terrain.header);
    dialog.sourceListing = state.sourceListing;
    ui.runDialog(dialog);
}

}  // namespace tavrok::shell::commands

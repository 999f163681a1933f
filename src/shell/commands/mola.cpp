#include <string>

#include "importers/MolaImporter.h"
#include "importers/MolaPolarSelection.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "terrain/AreaSelectionDialog.h"

namespace tavrok::shell::commands {

namespace {

using importers::MolaMegSet;

const std::string molaFilter = "MOLA Topography (*.img)|*.img||";

// A directory named beforehand (the command line's tile folder) answers the prompt.
std::optional<std::filesystem::path> chosenDirectory(const LoadRequest& request) {
    if (request.files.empty()) {
        return std::nullopt;
    }
    const auto& chosen = request.files.front();
    std::error_code ignored;
    return std::filesystem::is_directory(chosen, ignored) ? chosen : chosen.parent_path();
}

std::optional<std::filesystem::path> promptForDirectory(support::Ui& ui, const std::string& title) {
    const auto files = ui.promptForFiles(
        support::FilePrompt{title, molaFilter, support::DirectoryFamily::Terrain, false, false});
    if (files.empty()) {
        return std::nullopt;
    }
    return std::filesystem::path(files.front()).parent_path();
}

}  // namespace

// Command 43: a square area of Mars cut from the MEG 064 (60 degrees) or MEG 128 (30 degrees)
// tiles found in one folder.
CommandStatus LoadMarsMola(AppState& state, support::Ui& ui, const LoadRequest& request) {
    terrain::AreaSelectionDialog dialog(terrain::AreaSelectionDialog::Planet::Mars, 30, 720, 360);
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    const MolaMegSet set = dialog.widthDegrees() >= 60 ? MolaMegSet::Meg064 : MolaMegSet::Meg128;
    const auto area =
        importers::ComputeMolaArea(set, dialog.centreLatitude(), dialog.centreLongitude());
    const auto tiles = importers::MolaTilesForArea(set, area);
    if (tiles.empty()) {
        return CommandStatus::Cancelled;
    }
    auto directory = chosenDirectory(request);
    if (!directory) {
        directory = promptForDirectory(
            ui, std::string(set == MolaMegSet::Meg064 ? "Locate MOLA MEG 064 File "
                                                      : "Locate MOLA MEG 128 File ") +
                    std::string(tiles.front()->name));
        if (!directory) {
            return CommandStatus::Cancelled;
        }
    }
    state.loads.mola.megDirectory = *directory;
    auto load = importRequestFor(state, ui, {});
    load.centreLatitude = dialog.centreLatitude();
    load.centreLongitude = dialog.centreLongitude();
    load.widthDegrees = dialog.widthDegrees();
    load.projection = dialog.projection;
    load.tileFolder = *directory;
    ui.showProgress("    Reading MOLA File ... ");
    return finishImport(state, ui, runImporter(state, ui, "mola", load));
}

// Command 48: a window of a polar image. Parameter 1 reads the image found before again with
// the last choice, without asking.
CommandStatus LoadMarsPolarMola(AppState& state, support::Ui& ui, const LoadRequest& request) {
    auto& mola = state.loads.mola;
    const bool again = request.param == 1 && !mola.polarDirectory.empty();
    if (!again) {
        importers::MolaPolarSelection dialog = mola.polar;
        if (!ui.runDialog(dialog)) {
            return CommandStatus::Cancelled;
        }
        mola.polar = dialog;
        mola.window.reset();
    }
    const std::string expected =
        importers::MolaPolarFileName(mola.polar.pole, mola.polar.samplesPerDegree);
    std::optional<std::filesystem::path> directory;
    if (again) {
        directory = mola.polarDirectory;
    } else {
        directory = chosenDirectory(request);
    }
    constexpr int maxPrompts = 10;
    for (int attempt = 0; attempt < maxPrompts; ++attempt) {
        if (!directory) {
            directory = promptForDirectory(ui, "Locate MOLA POLAR File " + expected);
            if (!directory) {
                return CommandStatus::Cancelled;
            }
        }
        std::error_code ignored;
        if (std::filesystem::is_regular_file(*directory / expected, ignored)) {
            break;
        }
        ui.showMessage(support::messageText(support::ErrorCode::CannotFindMolaPolarFile));
        directory.reset();
    }
    if (!directory) {
        return CommandStatus::Cancelled;
    }
    mola.polarDirectory = *directory;
    auto load = importRequestFor(state, ui, {});
    load.tileFolder = *directory;
    load.pole = mola.polar.pole;
    load.polarSamplesPerDegree = mola.polar.samplesPerDegree;
    load.polarWindow = again && mola.window ? *mola.window : mola.polar.window();
    ui.showProgress(" Reading MOLA File ");
    return finishImport(state, ui, runImporter(state, ui, "mola-polar", load));
}

}  // namespace tavrok::shell::commands

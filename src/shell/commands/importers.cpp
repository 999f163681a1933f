#include <cstdio>
#include <memory>

#include "importers/MatrixImporter.h"
#include "importers/RawMatrixBuilder.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

std::string fileTitleOf(const std::filesystem::path& file) {
    return file.filename().string();
}

}  // namespace

// Terrain matrices with ".hdr" headers: one file, or several merged into one grid. A single
// file whose header cannot be used goes to the raw matrix builder so that the user can
// describe it by hand.
void LoadMatrixFiles(AppState& state, support::Ui& ui, int) {
    auto files = importers::MatrixFilesFromSelection(state.selectedFiles);
    if (!files) {
        showError(ui, files.error());
        return;
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadMatrixFiles(*files, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        showError(ui, outcome.terrain.error());
        if (outcome.fallback) {
            ui.clearWindow();
            state.selectedFiles = {files->front()};
            dispatch(state, ui, CommandId::BuildRawMatrix, 0);
        }
        return;
    }
    const std::string title = files->size() == 1 ? fileTitleOf(files->front()) : "Merged Matrices";
    installLoadedTerrain(state, ui, std::move(outcome.terrain).value(), title);
}

namespace {

bool canOpen(const std::filesystem::path& file) {
    std::unique_ptr<FILE, int (*)(FILE*)> handle(std::fopen(file.c_str(), "rb"), std::fclose);
    return handle != nullptr;
}

// The preset and temporary-input flags serve one build only.
struct RawMatrixFlags {
    bool preset;
    bool temporaryInput;
};

RawMatrixFlags takeRawMatrixFlags(AppState& state) {
    const RawMatrixFlags flags{state.rawMatrixPreset, state.rawMatrixTemporaryInput};
    state.rawMatrixPreset = false;
    state.rawMatrixTemporaryInput = false;
    return flags;
}

}  // namespace

// A headerless binary or ASCII grid described in the "Matrix Data Format" dialog.
void BuildRawMatrix(AppState& state, support::Ui& ui, int) {
    const RawMatrixFlags flags = takeRawMatrixFlags(state);
    if (state.selectedFiles.empty()) {
        return;
    }
    const auto file = state.selectedFiles.front();
    if (!canOpen(file)) {
        ui.showMessage(support::messageText(support::ErrorCode::CannotOpenMatrix));
        return;
    }
    if (!flags.preset) {
        importers::ApplyNetCdfPreset(file, state.rawMatrixDescription);
        if (!ui.runDialog(state.rawMatrixDescription)) {
            return;
        }
    }
    ui.showProgress("      Building Matrix ... ");
    ui.setWaitCursor(true);
    auto loaded = importers::BuildRawMatrix(file, state.rawMatrixDescription, flags.temporaryInput,
                                            keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!loaded) {
        state.pendingSourceListing.clear();
        showError(ui, loaded.error());
        return;
    }
    // A temporary input stands for the file the user chose, whose name the window shows.
    const bool namedElsewhere = flags.temporaryInput && !state.fileTitle.empty();
    const std::string title = namedElsewhere ? state.fileTitle : fileTitleOf(file);
    state.fileTitle.clear();
    installLoadedTerrain(state, ui, std::move(loaded).value(), title);
}

}  // namespace tavrok::shell::commands

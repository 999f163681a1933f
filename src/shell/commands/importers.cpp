#include "importers/MatrixImporter.h"
#include "importers/RawMatrixBuilder.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "support/FileHandle.h"

namespace tavrok::shell::commands {

namespace {

terrain::SourceRecord sourceOf(std::string format, std::vector<std::filesystem::path> files,
                               std::string title) {
    terrain::SourceRecord source;
    source.format = std::move(format);
    source.files = std::move(files);
    source.title = std::move(title);
    return source;
}

}  // namespace

// Terrain matrices with ".hdr" headers: one file, or several merged into one grid. A single
// file whose header cannot be used goes to the raw matrix builder so that the user can
// describe it by hand.
CommandStatus LoadMatrixFiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    auto files = importers::MatrixFilesFromSelection(request.files);
    if (!files) {
        return showError(ui, files.error());
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadMatrixFiles(*files, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        const CommandStatus failed = showError(ui, outcome.terrain.error());
        if (!outcome.offerRawBuilder) {
            return failed;
        }
        ui.output().clear();
        return buildRawMatrix(state, ui, RawMatrixRequest{files->front()});
    }
    const std::string title =
        files->size() == 1 ? files->front().filename().string() : "Merged Matrices";
    return installLoadedTerrain(state, ui, std::move(outcome.terrain).value(),
                                sourceOf("matrix", *files, title));
}

// A headerless binary or ASCII grid described in the "Matrix Data Format" dialog.
CommandStatus BuildRawMatrix(AppState& state, support::Ui& ui, const LoadRequest& request) {
    if (request.files.empty()) {
        return CommandStatus::Cancelled;
    }
    return buildRawMatrix(state, ui, RawMatrixRequest{request.files.front()});
}

CommandStatus buildRawMatrix(AppState& state, support::Ui& ui, const RawMatrixRequest& request) {
    if (!support::openForReading(request.file)) {
        ui.showMessage(support::messageText(support::ErrorCode::CannotOpenMatrix));
        return CommandStatus::Failed;
    }
    auto& description = state.loads.rawMatrixDescription;
    if (!request.preset) {
        importers::ApplyNetCdfPreset(request.file, description);
        if (!ui.runDialog(description)) {
            return CommandStatus::Cancelled;
        }
    }
    ui.showProgress("      Building Matrix ... ");
    ui.setWaitCursor(true);
    auto loaded = importers::BuildRawMatrix(request.file, description, request.temporaryInput,
                                            keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!loaded) {
        return showError(ui, loaded.error());
    }
    // A temporary input stands for the file the user chose, whose name the window shows.
    auto source =
        sourceOf("raw", {request.file},
                 request.title.empty() ? request.file.filename().string() : request.title);
    source.listing = request.listing;
    return installLoadedTerrain(state, ui, std::move(loaded).value(), std::move(source));
}

}  // namespace tavrok::shell::commands

#include "importers/RawMatrixBuilder.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "support/FileHandle.h"

namespace tavrok::shell::commands {

// Terrain matrices with ".hdr" headers: one file, or several merged into one grid. A single
// file whose header cannot be used goes to the raw matrix builder so that the user can
// describe it by hand.
CommandStatus LoadMatrixFiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    return loadWithImporter(state, ui, "matrix", request.files);
}

// A headerless binary or ASCII grid described in the "Matrix Data Format" dialog.
CommandStatus BuildRawMatrix(AppState& state, support::Ui& ui, const LoadRequest& request) {
    if (request.files.empty()) {
        return CommandStatus::Cancelled;
    }
    if (request.files.size() > 1) {
        return showError(ui, support::Error{support::ErrorCode::CannotCombineFiles, "raw",
                                            request.files[0].filename().string() + " and " +
                                                request.files[1].filename().string() +
                                                ": a headerless grid is loaded by itself"});
    }
    return buildRawMatrix(state, ui, RawMatrixRequest{request.files.front()});
}

CommandStatus buildRawMatrix(AppState& state, support::Ui& ui, const RawMatrixRequest& request) {
    if (!support::openForReading(request.file)) {
        return showError(ui,
                         support::unreadable(support::ErrorCode::CannotOpenMatrix, request.file));
    }
    auto& remembered = state.loads.rawMatrixDescription;
    if (!request.preset) {
        importers::ApplyNetCdfPreset(request.file, remembered);
        if (!ui.runDialog(remembered)) {
            return CommandStatus::Cancelled;
        }
    }
    ui.showProgress("      Building Matrix ... ");
    auto build = importRequestFor(state, ui, {request.file});
    if (request.preset) {
        build.rawDescription = *request.preset;
    }
    build.temporaryInput = request.temporaryInput;
    build.title = request.title;
    build.listing = request.listing;
    return finishImport(state, ui, runImporter(state, ui, "raw", build));
}

}  // namespace tavrok::shell::commands

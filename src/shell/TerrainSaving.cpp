#include "shell/TerrainSaving.h"

#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::shell {

CommandStatus refuseExport(AppState& state, support::Ui& ui,
                           const exporters::ExporterRecord& exporter) {
    if (!state.document.loaded()) {
        return CommandStatus::Cancelled;
    }
    if (auto refused = exporter.refusal(state.document.header()); !refused) {
        return showError(ui, refused.error());
    }
    return CommandStatus::Done;
}

CommandStatus settleUtmZone(AppState& state, support::Ui& ui,
                            const exporters::ExporterRecord& exporter) {
    if (!exporter.needsZone || !terrain::needsUtmZone(state.document.header())) {
        return CommandStatus::Done;
    }
    terrain::UtmZoneDialog dialog;
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    terrain::declareUtm(state.document.edit().header, dialog.zone, dialog.hemisphere);
    return CommandStatus::Done;
}

CommandStatus writeTerrain(AppState& state, support::Ui& ui,
                           const exporters::ExporterRecord& exporter,
                           exporters::ExportRequest request) {
    request.temporaryDirectory = state.shell.tempDir;
    ui.setWaitCursor(true);
    const auto saved =
        exporter.save(state.document.terrain(), request, keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    return saved ? CommandStatus::Done : showError(ui, saved.error());
}

}  // namespace tavrok::shell

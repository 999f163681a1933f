#pragma once
#include "exporters/Registry.h"
#include "shell/AppState.h"
#include "shell/Command.h"
#include "support/Ui.h"

namespace tavrok::shell {

// The steps every save takes, shared by the File menu and `tavrok-cli export`; a caller may
// ask its own questions between them.

// Shows why the exporter cannot write the current terrain (Failed), or Done when it can.
CommandStatus refuseExport(AppState& state, support::Ui& ui,
                           const exporters::ExporterRecord& exporter);

// Where the exporter needs a UTM zone the terrain lacks (an X/Y matrix, a UTM grid without
// zone), asks "UTM Global Coordinates" and declares the terrain UTM on WGS 84 in that zone:
// the only change a save makes to the terrain. Cancelled when the user cancels.
CommandStatus settleUtmZone(AppState& state, support::Ui& ui,
                            const exporters::ExporterRecord& exporter);

// Writes the current terrain to request.file with the wait cursor, progress and Stop; a failure
// is shown once and leaves no file behind. The terrain never changes.
CommandStatus writeTerrain(AppState& state, support::Ui& ui,
                           const exporters::ExporterRecord& exporter,
                           exporters::ExportRequest request);

}  // namespace tavrok::shell

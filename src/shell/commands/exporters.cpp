#include "exporters/FileFormatDialog.h"
#include "exporters/MatrixExporter.h"
#include "shell/FilePrompts.h"
#include "shell/TerrainLoading.h"
#include "shell/TerrainSaving.h"
#include "shell/commands/Commands.h"

namespace tavrok::shell::commands {

namespace {

constexpr std::string_view geoTiffQuestion =
    "This action will save GeoTiff DEM and not GeoTiff graphics file\n"
    "If you wish to save GeoTiff graphics file choose 'Save Map Image'";

const exporters::ExporterRecord& exporter(std::string_view key) {
    return *exporters::exporterFor(key);
}

// The file chosen in the save prompt, with the default extension added to a bare name.
std::optional<std::filesystem::path> chooseFile(support::Ui& ui, const support::FilePrompt& prompt,
                                                std::string_view defaultExtension) {
    const auto files = ui.promptForFiles(prompt);
    if (files.empty()) {
        return std::nullopt;
    }
    std::filesystem::path file = files.front();
    if (!file.has_extension()) {
        file += defaultExtension;
    }
    return file;
}

// The steps after the format's own questions: a zone where needed, the file, the writing.
CommandStatus promptAndWrite(AppState& state, support::Ui& ui,
                             const exporters::ExporterRecord& format,
                             const support::FilePrompt& prompt, std::string_view extension,
                             exporters::ExportRequest request) {
    if (const auto zone = settleUtmZone(state, ui, format); zone != CommandStatus::Done) {
        return zone;
    }
    const auto file = chooseFile(ui, prompt, extension);
    if (!file) {
        return CommandStatus::Cancelled;
    }
    request.file = *file;
    return writeTerrain(state, ui, format, std::move(request));
}

}  // namespace

CommandStatus SaveTerrainMatrix(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto& format = exporter("matrix");
    if (const auto refused = refuseExport(state, ui, format); refused != CommandStatus::Done) {
        return refused;
    }
    exporters::FileFormatDialog dialog(state.exports.matrixEncoding);
    if (!ui.runDialog(dialog)) {
        return CommandStatus::Cancelled;
    }
    state.exports.matrixEncoding = dialog.encoding;
    // Int16 that would wrap is refused before the user picks a file.
    if (auto usable = exporters::checkMatrixEncoding(state.document.header(), dialog.encoding);
        !usable) {
        return showError(ui, usable.error());
    }
    const bool text = dialog.encoding == importers::MatrixEncoding::Ascii;
    exporters::ExportRequest request;
    request.matrixEncoding = dialog.encoding;
    return promptAndWrite(state, ui, format,
                          text ? prompts::saveMatrixText : prompts::saveMatrixBinary,
                          exporters::matrixExtension(dialog.encoding), std::move(request));
}

CommandStatus SaveUsgsDem(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto& format = exporter("usgs");
    if (const auto refused = refuseExport(state, ui, format); refused != CommandStatus::Done) {
        return refused;
    }
    return promptAndWrite(state, ui, format, prompts::saveUsgsDem, ".dem", {});
}

CommandStatus SaveGeoTiffDem(AppState& state, support::Ui& ui, const CommandContext&) {
    const auto& format = exporter("geotiff");
    if (const auto refused = refuseExport(state, ui, format); refused != CommandStatus::Done) {
        return refused;
    }
    if (!ui.askOkCancel(geoTiffQuestion)) {
        return CommandStatus::Cancelled;
    }
    return promptAndWrite(state, ui, format, prompts::saveGeoTiffDem, ".tif", {});
}

}  // namespace tavrok::shell::commands

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliUi.h"
#include "cli/EditOptions.h"
#include "cli/RawOptions.h"
#include "cli/Subcommands.h"
#include "cli/TerrainLoad.h"
#include "exporters/FileFormatDialog.h"
#include "shell/TerrainSaving.h"
#include "support/Text.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::cli {

namespace {

using importers::MatrixEncoding;

// What the export options ask for, checked before the terrain is loaded.
struct ExportOptions {
    const exporters::ExporterRecord* exporter = nullptr;
    exporters::ExportRequest request;
    std::optional<terrain::UtmZoneDialog> zone;  // the answer to "UTM Global Coordinates"
};

bool usage(const std::string& message) {
    std::cerr << "tavrok-cli export: " << message << " (see --help)\n";
    return false;
}

bool parseEncoding(const Arguments& arguments, const std::string& extension,
                   ExportOptions& options) {
    const auto format = arguments.value("format");
    if (extension == ".txt") {
        options.request.matrixEncoding = MatrixEncoding::Ascii;
        return !format || usage("--format is for binary matrices (.bin); .txt is text");
    }
    if (extension != ".bin") {
        return !format || usage("--format is for terrain matrices (.bin)");
    }
    if (!format || *format == "float32") {
        options.request.matrixEncoding = MatrixEncoding::Float32;
    } else if (*format == "int16") {
        options.request.matrixEncoding = MatrixEncoding::Int16;
    } else {
        return usage("--format takes int16 or float32");
    }
    return true;
}

bool parseOptions(const Arguments& arguments, ExportOptions& options) {
    const std::string output = arguments.value("output").value_or("");
    const std::string extension = support::lowerExtension(output);
    options.exporter = exporters::exporterForExtension(extension);
    if (output.empty() || options.exporter == nullptr) {
        return usage("name the output with -o OUT.bin, OUT.txt, OUT.dem or OUT.tif");
    }
    options.request.file = output;
    if (const auto zone = arguments.value("utm-zone")) {
        options.zone.emplace();
        if (!options.zone->setZoneText(*zone)) {
            return usage("--utm-zone takes a zone 1 to 60 and N or S, such as 13N");
        }
    }
    return parseEncoding(arguments, extension, options);
}

// The dialogs an export may open are answered from the options; loading's own dialogs (a
// headerless grid's description) from the grid options.
support::Status fillExportDialog(const Arguments& arguments, const ExportOptions& options,
                                 support::DialogModel& dialog) {
    if (dialog.dialogId() != "IDD_ZONE") {
        return fillDialogFromOptions(arguments, dialog);
    }
    if (!options.zone) {
        return support::Error{
            support::ErrorCode::IncorrectZone,
            "the terrain has no UTM zone: give it one with --utm-zone ZONE (such as 13N)"};
    }
    static_cast<terrain::UtmZoneDialog&>(dialog) = *options.zone;
    return support::success();
}

}  // namespace

// Loads the terrain, runs the operations asked for in their fixed order and writes the file
// the output's extension names, through the same steps as the File menu. Operations on the
// terrain (crop, patch, conversion to UTM, ellipsoid change) take their turn between loading
// and the refusal check, in that order.
int runExport(const Arguments& arguments) {
    ExportOptions options;
    if (!parseOptions(arguments, options)) {
        return 2;
    }
    shell::AppState state;
    CliUi ui;
    ui.setVerbose(arguments.has("verbose"));
    if (!loadTerrain(arguments, state, ui)) {
        return 1;
    }
    if (const int edited = applyEditOptions(arguments, state, ui); edited != 0) {
        return edited;
    }
    ui.setDialogFiller([&arguments, &options](support::DialogModel& dialog) {
        return fillExportDialog(arguments, options, dialog);
    });
    const auto& exporter = *options.exporter;
    using shell::CommandStatus;
    if (shell::refuseExport(state, ui, exporter) != CommandStatus::Done ||
        shell::settleUtmZone(state, ui, exporter) != CommandStatus::Done ||
        shell::writeTerrain(state, ui, exporter, options.request) != CommandStatus::Done) {
        return 1;
    }
    const auto& header = state.document.header();
    std::printf("%s: %d x %d cells\n", options.request.file.c_str(), header.columns, header.rows);
    return 0;
}

}  // namespace tavrok::cli

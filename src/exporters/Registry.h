#pragma once
#include <filesystem>
#include <span>
#include <string_view>

#include "importers/MatrixHeader.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/Terrain.h"

namespace tavrok::exporters {

// What an exporter needs from the program, gathered by the shell before the save.
struct ExportRequest {
    std::filesystem::path file;  // the file to write; its folder exists
    // The run's private work folder for intermediate files.
    std::filesystem::path temporaryDirectory;
    // The "File Format" choice of a terrain matrix; the other writers ignore it.
    importers::MatrixEncoding matrixEncoding = importers::MatrixEncoding::Float32;
};

// One exporter: its registry key, the command that saves it, the extensions it writes (lower
// case, dot included), the refusal checked before anything is asked (success when the terrain
// can be written), whether a terrain without a UTM zone must be given one first, and the save,
// which leaves no partial file behind on failure and never changes the terrain.
struct ExporterRecord {
    std::string_view key;
    int command;
    std::span<const std::string_view> extensions;
    support::Status (*refusal)(const terrain::TerrainHeader& header);
    bool needsZone;
    support::Status (*save)(const terrain::Terrain& terrain, const ExportRequest& request,
                            const support::ProgressCallback& progress);
};

// Every exporter, in menu order.
std::span<const ExporterRecord> Exporters();

// The exporter with this key, or null.
const ExporterRecord* exporterFor(std::string_view key);

// The exporter that writes files with this extension (".tif", any letter case), or null.
const ExporterRecord* exporterForExtension(std::string_view extension);

}  // namespace tavrok::exporters

#pragma once
#include <filesystem>
#include <span>
#include <string_view>

#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/Terrain.h"

namespace tavrok::exporters {

// What an exporter needs from the program, gathered by the shell before the save.
struct ExportRequest {
    std::filesystem::path file;  // the file to write; its folder exists
    // The run's private work folder for intermediate files.
    std::filesystem::path temporaryDirectory;
};

// One exporter: its registry key, the command that saves it, the extensions it writes (lower
// case, dot included) and the save, which leaves no partial file behind on failure.
struct ExporterRecord {
    std::string_view key;
    int command;
    std::span<const std::string_view> extensions;
    support::Status (*save)(const terrain::Terrain& terrain, const ExportRequest& request,
                            const support::ProgressCallback& progress);
};

// Every exporter, in menu order.
std::span<const ExporterRecord> Exporters();

// The exporter with this key, or null.
const ExporterRecord* exporterFor(std::string_view key);

}  // namespace tavrok::exporters

#pragma once
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "importers/ImportRequest.h"
#include "support/Progress.h"
#include "support/Result.h"

namespace tavrok::importers {

// What identification may look at: the name, whether a ".hdr" lies beside the file, and its
// first bytes (empty when it cannot be read).
struct ImportProbe {
    std::filesystem::path file;
    // The name from its first dot on and the last extension, both in lower case: "n.tar.gz"
    // gives ".tar.gz" and ".gz"; a name without a dot gives two empty texts.
    std::string fullExtension;
    std::string lastExtension;
    bool headerBeside = false;
    std::string firstBytes;
};

// Builds the probe of one file: reads at most 64 bytes, never fails.
ImportProbe ProbeFile(const std::filesystem::path& file);

// One importer: its registry key, the "Select DEM File Type" radio id (0: none), the command
// that loads it and its parameter, the extensions it claims (lower case, dot included), the
// cheap test that never fails, and the load. An importer that is not built yet has no load.
// Every load hands back only terrains that pass CheckLoadedTerrain; one that fails comes back
// as that check's error.
struct ImporterRecord {
    std::string_view key;
    int fileType;
    int command;
    int commandParameter;
    std::span<const std::string_view> extensions;
    bool (*identify)(const ImportProbe& probe);
    ImportOutcome (*load)(const ImportRequest& request, const support::ProgressCallback& progress);

    bool available() const { return load != nullptr; }
};

// Every importer, in probing order: the ones known by their extension first, then a data file
// with a ".hdr" beside it (a terrain matrix), and last the raw matrix builder, which takes
// anything.
std::span<const ImporterRecord> Importers();

// The importer with this key, or null.
const ImporterRecord* importerFor(std::string_view key);

// The importer for the "Select DEM File Type" radio id, or null (1300 and unknown ids).
const ImporterRecord* importerForFileType(int fileType);

// The importer for a selection: the first file decides by its extension ("X.DEM" is a USGS
// DEM, "n.tar.gz" an archive of DEMs, ".ddf" an SDTS transfer); a file with a ".hdr" beside it
// is a terrain matrix; anything else goes to the raw matrix builder, as does an empty list.
const ImporterRecord& identifyFiles(const std::vector<std::filesystem::path>& files);

// Whether every file of a selection is of the kind identifyFiles sees in the first: fails with
// CannotCombineFiles, its cause naming the first file of another kind ("a.bin (terrain matrix)
// cannot be combined with b.dem (USGS DEM)"). Plain DEMs and DEM archives are one kind here:
// the USGS importer refuses that mix with its own message. The importers that read a single
// file (headerless grids, GeoTIFF DEMs) refuse a second one themselves.
support::Status checkSelection(const std::vector<std::filesystem::path>& files);

// The keys `--type` accepts, in registry order.
std::vector<std::string_view> importerKeys();

}  // namespace tavrok::importers

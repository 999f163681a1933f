#pragma once
#include <filesystem>
#include <vector>

#include "importers/ImportRequest.h"
#include "support/Progress.h"

namespace tavrok::importers {

// What a "USGS DEM" selection holds, decided by the first file's name once every file was
// checked to be either a plain ".dem" or not.
enum class UsgsSelection {
    Empty,
    MixedDemsAndArchives,  // some ".dem", some not: refused
    SdtsModules,           // ".ddf" files, or SDTS asked for
    GeoTiff,               // ".tif", ".tiff"
    GlobeTile,             // named like a GLOBE tile: the user is asked to load it as one
    Gtopo30Tile,           // named like a GTOPO30 tile
    AsciiDems,
    Archives,  // ".gz", ".tgz", ".tar" holding DEMs or SDTS transfers
};
UsgsSelection ClassifyUsgsSelection(const std::vector<std::filesystem::path>& files,
                                    bool sdtsRequested);

// One USGS ASCII DEM, or several merged. Titled by the file's name, or "Digital Elevation
// Model" for a merge. Errors of LoadUsgsDemFiles.
ImportOutcome LoadAsciiDems(const std::vector<std::filesystem::path>& files,
                            const ImportRequest& request,
                            const support::ProgressCallback& progress);

// SDTS transfers: each is converted into a terrain-matrix pair in outputFolder and the pairs
// are loaded (merged when several) as terrain matrices; the pairs are deleted afterwards.
// Errors: a single transfer's own error (CannotOpenDemCellFile, ErrorReadingSdts: shown under
// the converter's caption "SDTS2DEM"), ErrorReadingSdtsFiles when one of several fails, then
// the errors of LoadMatrixFiles. A single transfer is titled with chosenFile's name (the
// module or archive the user chose, not the converted matrix), several with "Merged Matrices".
ImportOutcome LoadSdtsTransfers(const std::vector<std::filesystem::path>& transfers,
                                const std::filesystem::path& chosenFile,
                                const std::filesystem::path& outputFolder,
                                const ImportRequest& request,
                                const support::ProgressCallback& progress);

// ".ddf" modules chosen directly: one transfer per distinct folder and four-character name
// prefix, converted in the request's work folder.
ImportOutcome LoadSdtsModules(const std::vector<std::filesystem::path>& modules,
                              const ImportRequest& request,
                              const support::ProgressCallback& progress);

// Archives of ASCII DEMs or SDTS transfers: each is unpacked (with the extractor's caps: no
// absolute paths, no "..", no links, 2 GiB, 2048 members, no compression bombs) into
// "tavrok_terrain" beside the work folder, which is removed when this returns. An archive
// holding a single file of another name has it renamed to ".dem". Errors:
// CannotSaveTemporaryFiles (no work folder, or writing an unpacked file failed),
// CannotCreateTemporaryFiles, the extractor's error for a single archive or when it is not the
// archive's fault, IncompatibleArchive (detail: the archive's file name, which the message is
// followed by) for one of several faulty archives,
// FaultyArchiveFile when an archive holds neither, CannotMixOneDegreeAndSdtsDems, then the
// errors of the DEM or SDTS load.
ImportOutcome LoadDemArchives(const std::vector<std::filesystem::path>& archives,
                              const ImportRequest& request,
                              const support::ProgressCallback& progress);

}  // namespace tavrok::importers

#include "importers/ArchiveLoad.h"

#include <algorithm>
#include <set>
#include <string>

#include "importers/ArchiveExtractor.h"
#include "importers/MatrixImporter.h"
#include "importers/SdtsTransfer.h"
#include "importers/TileNames.h"
#include "importers/UsgsDemImporter.h"
#include "support/TemporaryFiles.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

namespace fs = std::filesystem;
using support::Error;
using support::ErrorCode;

constexpr std::string_view unnamedDem = "Digital Elevation Model";

void announce(const ImportRequest& request, const std::string& text) {
    if (request.announce) {
        request.announce(text);
    }
}

ImportOutcome failure(Error error) {
    return {std::move(error)};
}

ImportOutcome titled(support::Result<LoadedTerrain> loaded, std::string title,
                     std::string_view format, std::vector<fs::path> files) {
    if (loaded) {
        auto& source = loaded->source;
        source.title = std::move(title);
        source.format = std::string(format);
        source.files = std::move(files);
    }
    return {std::move(loaded)};
}

// Removes a folder and everything below it when the load ends, however it ends.
class FolderCleanup {
  public:
    explicit FolderCleanup(fs::path folder) : m_folder(std::move(folder)) {}
    ~FolderCleanup() {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    FolderCleanup(const FolderCleanup&) = delete;
    FolderCleanup& operator=(const FolderCleanup&) = delete;

  private:
    fs::path m_folder;
};

// The ASCII DEMs an archive held: its ".dem" files, or its only file renamed to ".dem".
std::vector<fs::path> demsFrom(const ExtractedFiles& extracted) {
    std::vector<fs::path> dems;
    for (const auto& file : extracted.files) {
        if (support::lowerExtension(file) == ".dem") {
            dems.push_back(file);
        }
    }
    if (dems.empty() && extracted.files.size() == 1) {
        auto renamed = extracted.files.front();
        renamed.replace_extension(".dem");
        std::error_code error;
        fs::rename(extracted.files.front(), renamed, error);
        if (!error) {
            dems.push_back(renamed);
        }
    }
    std::sort(dems.begin(), dems.end());
    return dems;
}

// What the archives held, after each was unpacked into its own numbered folder.
struct ArchiveContents {
    std::vector<fs::path> dems;
    std::vector<fs::path> transfers;
};

support::Result<ArchiveContents> unpackAll(const std::vector<fs::path>& archives,
                                           const fs::path& terrainFolder) {
    ArchiveContents contents;
    for (std::size_t index = 0; index < archives.size(); ++index) {
        const auto folder = terrainFolder / std::to_string(index);
        std::error_code ignored;
        fs::create_directory(folder, ignored);
        auto extracted = Untar(archives[index], folder);
        if (!extracted) {
            // A full disk or a failing read is not the archive's fault: it is said as it is.
            if (archives.size() == 1 || extracted.error().code != ErrorCode::FaultyArchiveFile) {
                return extracted.error();
            }
            return Error{ErrorCode::IncompatibleArchive, archives[index].filename().string()};
        }
        auto modules = SdtsTransfersIn(folder);
        auto dems = modules.empty() ? demsFrom(extracted.value()) : std::vector<fs::path>{};
        if (modules.empty() && dems.empty()) {
            return Error{ErrorCode::FaultyArchiveFile, archives[index].string()};
        }
        contents.transfers.insert(contents.transfers.end(), modules.begin(), modules.end());
        contents.dems.insert(contents.dems.end(), dems.begin(), dems.end());
        if (!contents.transfers.empty() && !contents.dems.empty()) {
            return Error{ErrorCode::CannotMixOneDegreeAndSdtsDems, ""};
        }
    }
    return contents;
}

}  // namespace

UsgsSelection ClassifyUsgsSelection(const std::vector<fs::path>& files, bool sdtsRequested) {
    if (files.empty()) {
        return UsgsSelection::Empty;
    }
    const bool plainDems = support::lowerExtension(files.front()) == ".dem";
    for (const auto& file : files) {
        if ((support::lowerExtension(file) == ".dem") != plainDems) {
            return UsgsSelection::MixedDemsAndArchives;
        }
    }
    const std::string extension = support::lowerExtension(files.front());
    if (sdtsRequested || extension == ".ddf") {
        return UsgsSelection::SdtsModules;
    }
    if (extension == ".tif" || extension == ".tiff") {
        return UsgsSelection::GeoTiff;
    }
    const std::string baseName = files.front().stem().string();
    if (IsGlobeTileName(baseName)) {
        return UsgsSelection::GlobeTile;
    }
    if (IsGtopo30TileName(baseName)) {
        return UsgsSelection::Gtopo30Tile;
    }
    return plainDems ? UsgsSelection::AsciiDems : UsgsSelection::Archives;
}

ImportOutcome LoadAsciiDems(const std::vector<fs::path>& files, const ImportRequest& request,
                            const support::ProgressCallback& progress) {
    announce(request,
             files.size() == 1 ? "     Reading DEM File ... " : "   Merging Terrain Files  ");
    auto loaded = LoadUsgsDemFiles(files, request.temporaryDirectory, progress);
    std::string title =
        files.size() == 1 ? files.front().filename().string() : std::string(unnamedDem);
    return titled(std::move(loaded), std::move(title), "usgs", files);
}

ImportOutcome LoadSdtsTransfers(const std::vector<fs::path>& transfers, const fs::path& chosenFile,
                                const fs::path& outputFolder, const ImportRequest& request,
                                const support::ProgressCallback& progress) {
    support::TemporaryFiles pairs;
    std::vector<fs::path> grids;
    std::set<std::string> names;
    for (std::size_t index = 0; index < transfers.size(); ++index) {
        announce(request,
                 support::formatText("Reading SDTS File %zu of %zu", index + 1, transfers.size()));
        auto transfer = ReadSdtsTransfer(transfers[index]);
        std::string name = transfer ? transfer->prefix + "_matrix" : std::string();
        if (!names.insert(name).second) {
            name.append(1, '_').append(std::to_string(index));
            names.insert(name);
        }
        auto written = transfer ? WriteSdtsMatrix(transfer.value(), outputFolder, name)
                                : support::Result<SdtsMatrixPair>(transfer.error());
        if (!written) {
            return failure(transfers.size() == 1 ? written.error()
                                                 : Error{ErrorCode::ErrorReadingSdtsFiles,
                                                         transfers[index].string()});
        }
        pairs.add(written->grid);
        pairs.add(written->header);
        grids.push_back(written->grid);
    }
    auto outcome = LoadMatrixFiles(grids, request.temporaryDirectory, progress);
    // The converted matrix is an internal file: the user knows the transfer by what they chose.
    std::string title =
        grids.size() == 1 ? chosenFile.filename().string() : std::string("Merged Matrices");
    return titled(std::move(outcome.terrain), std::move(title), "sdts", transfers);
}

ImportOutcome LoadSdtsModules(const std::vector<fs::path>& modules, const ImportRequest& request,
                              const support::ProgressCallback& progress) {
    std::vector<fs::path> transfers;
    std::set<std::string> seen;
    for (const auto& module : modules) {
        const std::string key = support::upperCase(module.parent_path().string() + '/' +
                                                   module.filename().string().substr(0, 4));
        if (seen.insert(key).second) {
            transfers.push_back(module);
        }
    }
    return LoadSdtsTransfers(transfers, transfers.empty() ? fs::path() : transfers.front(),
                             request.temporaryDirectory, request, progress);
}

ImportOutcome LoadDemArchives(const std::vector<fs::path>& archives, const ImportRequest& request,
                              const support::ProgressCallback& progress) {
    const auto& workFolder = request.temporaryDirectory;
    std::error_code error;
    if (!fs::is_directory(workFolder, error)) {
        return failure(Error{ErrorCode::CannotSaveTemporaryFiles, workFolder.string()});
    }
    const auto terrainFolder = workFolder.parent_path() / "tavrok_terrain";
    fs::remove_all(terrainFolder, error);
    if (!fs::create_directories(terrainFolder, error)) {
        return failure(Error{ErrorCode::CannotCreateTemporaryFiles, terrainFolder.string()});
    }
    FolderCleanup cleanup(terrainFolder);
    auto contents = unpackAll(archives, terrainFolder);
    if (!contents) {
        return failure(contents.error());
    }
    if (!contents->dems.empty()) {
        return LoadAsciiDems(contents->dems, request, progress);
    }
    return LoadSdtsTransfers(contents->transfers, archives.front(), terrainFolder, request,
                             progress);
}

}  // namespace tavrok::importers

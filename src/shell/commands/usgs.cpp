#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "importers/ArchiveExtractor.h"
#include "importers/GeoTiffDemImporter.h"
#include "importers/MatrixImporter.h"
#include "importers/SdtsTransfer.h"
#include "importers/TileNames.h"
#include "importers/UsgsDemImporter.h"
#include "shell/Dispatch.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "support/TemporaryFiles.h"
#include "support/Text.h"

namespace tavrok::shell::commands {

namespace {

using support::ErrorCode;
namespace fs = std::filesystem;

constexpr std::string_view globeQuestion =
    "          This file must be loaded as a GLOBE Tile.\n  See 'NOAA GLOBE DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load NOAA GLOBE Tile?";
constexpr std::string_view gtopo30Question =
    "          This file must be loaded as a GTOPO30 Tile.\n  See 'USGS GTOPO30 DEM Files' in "
    "Tavrok Help for instructions.\n\n               Do you wish to load USGS GTOPO30 Tile?";
constexpr std::string_view sdtsCaption = "SDTS2DEM";
constexpr std::string_view unnamedDem = "Digital Elevation Model";

using support::lowerExtension;

terrain::SourceRecord sourceOf(std::string format, std::vector<fs::path> files, std::string title) {
    terrain::SourceRecord source;
    source.format = std::move(format);
    source.files = std::move(files);
    source.title = std::move(title);
    return source;
}

// The SDTS converter's own failures carry its caption.
CommandStatus showSdtsError(support::Ui& ui, const support::Error& error) {
    if (error.code == ErrorCode::CannotOpenDemCellFile ||
        error.code == ErrorCode::ErrorReadingSdts) {
        ui.showMessage(error.message(), sdtsCaption);
        return CommandStatus::Failed;
    }
    return showError(ui, error);
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

CommandStatus loadDemFiles(AppState& state, support::Ui& ui, const std::vector<fs::path>& files) {
    ui.showProgress(files.size() == 1 ? "     Reading DEM File ... "
                                      : "   Merging Terrain Files  ");
    ui.setWaitCursor(true);
    auto loaded = importers::LoadUsgsDemFiles(files, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!loaded) {
        return showError(ui, loaded.error());
    }
    const std::string name =
        files.size() == 1 ? files.front().filename().string() : std::string(unnamedDem);
    return installLoadedTerrain(state, ui, std::move(loaded).value(),
                                sourceOf("usgs", files, name));
}

// Converts each transfer into a matrix pair in outputFolder and loads the pairs as terrain
// matrices. The pairs are deleted afterwards.
CommandStatus loadSdtsTransfers(AppState& state, support::Ui& ui,
                                const std::vector<fs::path>& transfers,
                                const fs::path& outputFolder) {
    support::TemporaryFiles pairs;
    std::vector<fs::path> grids;
    std::set<std::string> names;
    for (std::size_t index = 0; index < transfers.size(); ++index) {
        ui.showProgress("Reading SDTS File " + std::to_string(index + 1) + " of " +
                        std::to_string(transfers.size()));
        ui.pump();
        auto transfer = importers::ReadSdtsTransfer(transfers[index]);
        std::string name = transfer ? transfer->prefix + "_matrix" : std::string();
        if (!names.insert(name).second) {
            name += "_" + std::to_string(index);
            names.insert(name);
        }
        auto written = transfer ? importers::WriteSdtsMatrix(transfer.value(), outputFolder, name)
                                : support::Result<importers::SdtsMatrixPair>(transfer.error());
        if (written) {
            pairs.add(written->grid);
            pairs.add(written->header);
            grids.push_back(written->grid);
            continue;
        }
        if (transfers.size() == 1) {
            return showSdtsError(ui, written.error());
        }
        ui.showMessage(support::messageText(ErrorCode::ErrorReadingSdtsFiles));
        return CommandStatus::Failed;
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadMatrixFiles(grids, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        return showError(ui, outcome.terrain.error());
    }
    const std::string title =
        grids.size() == 1 ? grids.front().filename().string() : "Merged Matrices";
    return installLoadedTerrain(state, ui, std::move(outcome.terrain).value(),
                                sourceOf("sdts", transfers, title));
}

// ".ddf" modules chosen directly: one transfer per distinct folder and name prefix.
CommandStatus loadSdtsModules(AppState& state, support::Ui& ui,
                              const std::vector<fs::path>& modules) {
    std::vector<fs::path> transfers;
    std::set<std::string> seen;
    for (const auto& module : modules) {
        const std::string key = support::upperCase(module.parent_path().string() + '/' +
                                                   module.filename().string().substr(0, 4));
        if (seen.insert(key).second) {
            transfers.push_back(module);
        }
    }
    return loadSdtsTransfers(state, ui, transfers, temporaryWorkDirectory(state));
}

// The ASCII DEMs an archive held: its ".dem" files, or its only file renamed to ".dem".
std::vector<fs::path> demsFrom(const importers::ExtractedFiles& extracted) {
    std::vector<fs::path> dems;
    for (const auto& file : extracted.files) {
        if (lowerExtension(file) == ".dem") {
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

CommandStatus loadArchives(AppState& state, support::Ui& ui,
                           const std::vector<fs::path>& archives) {
    const auto workFolder = temporaryWorkDirectory(state);
    std::error_code error;
    if (!fs::is_directory(workFolder, error)) {
        ui.showMessage(support::messageText(ErrorCode::CannotSaveTemporaryFiles));
        return CommandStatus::Failed;
    }
    const auto terrainFolder = workFolder.parent_path() / "tavrok_terrain";
    fs::remove_all(terrainFolder, error);
    if (!fs::create_directories(terrainFolder, error)) {
        ui.showMessage(support::messageText(ErrorCode::CannotCreateTemporaryFiles));
        return CommandStatus::Failed;
    }
    FolderCleanup cleanup(terrainFolder);

    ui.setWaitCursor(true);
    std::vector<fs::path> dems;
    std::vector<fs::path> transfers;
    for (std::size_t index = 0; index < archives.size(); ++index) {
        const auto folder = terrainFolder / std::to_string(index);
        fs::create_directory(folder, error);
        auto extracted = importers::Untar(archives[index], folder);
        ui.pump();
        if (!extracted) {
            ui.setWaitCursor(false);
            if (archives.size() == 1) {
                return showError(ui, extracted.error());
            }
            ui.showMessage(std::string(support::messageText(ErrorCode::IncompatibleArchive)) +
                           archives[index].filename().string());
            return CommandStatus::Failed;
        }
        auto modules = importers::SdtsTransfersIn(folder);
        auto archiveDems = modules.empty() ? demsFrom(extracted.value()) : std::vector<fs::path>{};
        if (modules.empty() && archiveDems.empty()) {
            ui.setWaitCursor(false);
            ui.showMessage(support::messageText(ErrorCode::FaultyArchiveFile));
            return CommandStatus::Failed;
        }
        transfers.insert(transfers.end(), modules.begin(), modules.end());
        dems.insert(dems.end(), archiveDems.begin(), archiveDems.end());
        if (!transfers.empty() && !dems.empty()) {
            ui.setWaitCursor(false);
            ui.showMessage(support::messageText(ErrorCode::CannotMixOneDegreeAndSdtsDems));
            return CommandStatus::Failed;
        }
    }
    ui.setWaitCursor(false);
    return dems.empty() ? loadSdtsTransfers(state, ui, transfers, terrainFolder)
                        : loadDemFiles(state, ui, dems);
}

}  // namespace

namespace {

// A GeoTIFF elevation raster: its first band becomes a temporary grid that the raw matrix
// builder loads as described, without showing its dialog. The temporary grid is deleted by the
// builder; the flags serve that one build only.
CommandStatus loadGeoTiffDem(AppState& state, support::Ui& ui, const std::filesystem::path& file) {
    auto& description = state.loads.rawMatrixDescription;
    auto converted = importers::ConvertGeoTiffDem(file, temporaryWorkDirectory(state), description);
    if (!converted) {
        return showError(ui, converted.error());
    }
    const bool projected = converted->description.coordinateSystem == terrain::ProjectionKind::UTM;
    state.overhead.latLonGrid = !projected;
    state.overhead.coordinateMode =
        projected ? overhead::CoordinateMode::UtmMeters : overhead::CoordinateMode::DecimalDegree;
    description = std::move(converted->description);
    RawMatrixRequest request;
    request.file = converted->gridFile;
    request.preset = true;
    request.temporaryInput = true;
    request.title = file.filename().string();
    request.listing = std::move(converted->listing);
    return buildRawMatrix(state, ui, request);
}

}  // namespace

// USGS ASCII DEMs (single or merged), archives of DEMs or SDTS transfers, and SDTS modules
// chosen directly (param 1 or ".ddf"); GeoTIFF files and GLOBE or GTOPO30 tiles are passed on.
CommandStatus LoadUsgsDem(AppState& state, support::Ui& ui, const LoadRequest& request) {
    const auto& files = request.files;
    if (files.empty()) {
        return CommandStatus::Cancelled;
    }
    const bool plainDems = lowerExtension(files.front()) == ".dem";
    for (const auto& file : files) {
        if ((lowerExtension(file) == ".dem") != plainDems) {
            ui.showMessage(support::messageText(ErrorCode::CannotMixAsciiAndArchiveDems));
            return CommandStatus::Failed;
        }
    }
    const auto& first = files.front();
    const std::string extension = lowerExtension(first);
    if (request.param == 1 || extension == ".ddf") {
        return loadSdtsModules(state, ui, files);
    }
    if (extension == ".tif" || extension == ".tiff") {
        return loadGeoTiffDem(state, ui, first);
    }
    const std::string baseName = first.stem().string();
    if (importers::IsGlobeTileName(baseName)) {
        return ui.askYesNo(globeQuestion) ? LoadGlobeTiles(state, ui, request)
                                          : CommandStatus::Cancelled;
    }
    if (importers::IsGtopo30TileName(baseName)) {
        return ui.askYesNo(gtopo30Question) ? LoadGtopo30Tiles(state, ui, request)
                                            : CommandStatus::Cancelled;
    }
    return plainDems ? loadDemFiles(state, ui, files) : loadArchives(state, ui, files);
}

}  // namespace tavrok::shell::commands

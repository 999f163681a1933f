#include <algorithm>
#include <cctype>
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

std::string lowerExtension(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The SDTS converter's own failures carry its caption.
void showSdtsError(support::Ui& ui, const support::Error& error) {
    if (error.code == ErrorCode::CannotOpenDemCellFile ||
        error.code == ErrorCode::ErrorReadingSdts) {
        ui.showMessage(error.message(), sdtsCaption);
    } else {
        showError(ui, error);
    }
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

void loadDemFiles(AppState& state, support::Ui& ui, const std::vector<fs::path>& files) {
    ui.showProgress(files.size() == 1 ? "     Reading DEM File ... "
                                      : "   Merging Terrain Files  ");
    ui.setWaitCursor(true);
    auto loaded = importers::LoadUsgsDemFiles(files, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!loaded) {
        showError(ui, loaded.error());
        return;
    }
    const std::string name =
        files.size() == 1 ? files.front().filename().string() : std::string(unnamedDem);
    installLoadedTerrain(state, ui, std::move(loaded).value(), name);
}

// Converts each transfer into a matrix pair in outputFolder and loads the pairs as terrain
// matrices. The pairs are deleted afterwards.
void loadSdtsTransfers(AppState& state, support::Ui& ui, const std::vector<fs::path>& transfers,
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
            showSdtsError(ui, written.error());
        } else {
            ui.showMessage(support::messageText(ErrorCode::ErrorReadingSdtsFiles));
        }
        return;
    }
    ui.setWaitCursor(true);
    auto outcome = importers::LoadMatrixFiles(grids, temporaryWorkDirectory(state),
                                              keepAlive(state, ui, "Please Wait ..."));
    ui.setWaitCursor(false);
    if (!outcome.terrain) {
        showError(ui, outcome.terrain.error());
        return;
    }
    const std::string title =
        grids.size() == 1 ? grids.front().filename().string() : "Merged Matrices";
    installLoadedTerrain(state, ui, std::move(outcome.terrain).value(), title);
}

// ".ddf" modules chosen directly: one transfer per distinct folder and name prefix.
void loadSdtsModules(AppState& state, support::Ui& ui, const std::vector<fs::path>& modules) {
    std::vector<fs::path> transfers;
    std::set<std::string> seen;
    for (const auto& module : modules) {
        std::string key =
            module.parent_path().string() + '/' + module.filename().string().substr(0, 4);
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (seen.insert(key).second) {
            transfers.push_back(module);
        }
    }
    loadSdtsTransfers(state, ui, transfers, temporaryWorkDirectory(state));
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

void loadArchives(AppState& state, support::Ui& ui, const std::vector<fs::path>& archives) {
    const auto workFolder = temporaryWorkDirectory(state);
    std::error_code error;
    if (!fs::is_directory(workFolder, error)) {
        ui.showMessage(support::messageText(ErrorCode::CannotSaveTemporaryFiles));
        return;
    }
    const auto terrainFolder = workFolder.parent_path() / "tavrok_terrain";
    fs::remove_all(terrainFolder, error);
    if (!fs::create_directories(terrainFolder, error)) {
        ui.showMessage(support::messageText(ErrorCode::CannotCreateTemporaryFiles));
        return;
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
                showError(ui, extracted.error());
            } else {
                ui.showMessage(std::string(support::messageText(ErrorCode::IncompatibleArchive)) +
                               archives[index].filename().string());
            }
            return;
        }
        auto modules = importers::SdtsTransfersIn(folder);
        auto archiveDems = modules.empty() ? demsFrom(extracted.value()) : std::vector<fs::path>{};
        if (modules.empty() && archiveDems.empty()) {
            ui.setWaitCursor(false);
            ui.showMessage(support::messageText(ErrorCode::FaultyArchiveFile));
            return;
        }
        transfers.insert(transfers.end(), modules.begin(), modules.end());
        dems.insert(dems.end(), archiveDems.begin(), archiveDems.end());
        if (!transfers.empty() && !dems.empty()) {
            ui.setWaitCursor(false);
            ui.showMessage(support::messageText(ErrorCode::CannotMixOneDegreeAndSdtsDems));
            return;
        }
    }
    ui.setWaitCursor(false);
    if (!dems.empty()) {
        loadDemFiles(state, ui, dems);
    } else {
        loadSdtsTransfers(state, ui, transfers, terrainFolder);
    }
}

}  // namespace

namespace {

// A GeoTIFF elevation raster: its first band becomes a temporary grid that the raw matrix
// builder loads as described, without showing its dialog. The temporary grid is deleted by the
// builder; the flags serve that one build only.
void loadGeoTiffDem(AppState& state, support::Ui& ui, const std::filesystem::path& file) {
    auto converted = importers::ConvertGeoTiffDem(file, temporaryWorkDirectory(state),
                                                  state.rawMatrixDescription);
    if (!converted) {
        showError(ui, converted.error());
        return;
    }
    const bool projected = converted->description.coordinateSystem == terrain::ProjectionKind::UTM;
    state.overhead.latLonGrid = !projected;
    state.overhead.coordinateMode =
        projected ? overhead::CoordinateMode::UtmMeters : overhead::CoordinateMode::DecimalDegree;
    state.rawMatrixDescription = std::move(converted->description);
    state.rawMatrixPreset = true;
    state.rawMatrixTemporaryInput = true;
    state.selectedFiles = {converted->gridFile};
    state.fileTitle = file.filename().string();
    state.pendingSourceListing = std::move(converted->listing);
    dispatch(state, ui, CommandId::BuildRawMatrix, 0);
}

}  // namespace

// USGS ASCII DEMs (single or merged), archives of DEMs or SDTS transfers, and SDTS modules
// chosen directly (param 1 or ".ddf"); GeoTIFF files and GLOBE or GTOPO30 tiles are passed on.
void LoadUsgsDem(AppState& state, support::Ui& ui, int param) {
    const auto files = state.selectedFiles;
    if (files.empty()) {
        return;
    }
    const bool plainDems = lowerExtension(files.front()) == ".dem";
    for (const auto& file : files) {
        if ((lowerExtension(file) == ".dem") != plainDems) {
            ui.showMessage(support::messageText(ErrorCode::CannotMixAsciiAndArchiveDems));
            return;
        }
    }
    const auto& first = files.front();
    const std::string extension = lowerExtension(first);
    if (param == 1 || extension == ".ddf") {
        loadSdtsModules(state, ui, files);
        return;
    }
    if (extension == ".tif" || extension == ".tiff") {
        loadGeoTiffDem(state, ui, first);
        return;
    }
    const std::string baseName = first.stem().string();
    if (importers::IsGlobeTileName(baseName)) {
        if (ui.askYesNo(globeQuestion)) {
            dispatch(state, ui, CommandId::LoadGlobeTiles, 0);
        }
        return;
    }
    if (importers::IsGtopo30TileName(baseName)) {
        if (ui.askYesNo(gtopo30Question)) {
            dispatch(state, ui, CommandId::LoadGtopo30Tiles, 0);
        }
        return;
    }
    if (plainDems) {
        loadDemFiles(state, ui, files);
    } else {
        loadArchives(state, ui, files);
    }
}

}  // namespace tavrok::shell::commands

#include <string>

#include "importers/ArchiveExtractor.h"
#include "importers/GlobalTileImporter.h"
#include "shell/KeepAlive.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "shell/commands/Commands.h"
#include "support/Text.h"

namespace tavrok::shell::commands {

namespace {

using importers::GlobalDataSet;
using importers::GlobalTile;

bool isArchive(GlobalDataSet set, const std::filesystem::path& file) {
    return support::lowerExtension(file) == (set == GlobalDataSet::Globe ? ".tgz" : ".gz");
}

// The chosen file must be named like the start of the tile's name (GLOBE) or display text.
bool matchesTile(GlobalDataSet set, const GlobalTile& tile, const std::filesystem::path& file) {
    const std::string chosen = support::lowerCase(file.filename().string());
    const std::string expected =
        support::lowerCase(std::string(set == GlobalDataSet::Globe ? tile.name : tile.display));
    return !chosen.empty() && expected.compare(0, chosen.size(), chosen) == 0;
}

std::optional<std::filesystem::path> findInRememberedDirectory(
    GlobalDataSet set, const GlobalTile& tile, const LoadMemory::TileMemory& remembered) {
    if (remembered.directory.empty()) {
        return std::nullopt;
    }
    const std::string name(tile.name);
    std::vector<std::filesystem::path> candidates;
    if (set == GlobalDataSet::Globe) {
        candidates = {remembered.directory / (name + ".tgz"),
                      remembered.directory / (name + remembered.extension),
                      remembered.directory / name};
    } else {
        const std::string base = name.substr(0, name.size() - 4);  // without ".DEM"
        candidates = {remembered.directory / (base + ".tar.gz"),
                      remembered.directory / (support::lowerCase(base) + ".tar.gz"),
                      remembered.directory / name, remembered.directory / support::lowerCase(name)};
    }
    for (const auto& candidate : candidates) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(candidate, ignored)) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Unpacks a tile archive into the working folder and gives the tile file it held.
support::Result<std::filesystem::path> unpackTile(const std::filesystem::path& archive,
                                                  const GlobalTile& tile,
                                                  const std::filesystem::path& folder) {
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    if (failed) {
        return support::ErrorCode::CannotCreateTemporaryFiles;
    }
    auto extracted = importers::Untar(archive, folder);
    if (!extracted) {
        return extracted.error();
    }
    const std::string wanted = support::lowerCase(std::string(tile.name));
    for (const auto& file : extracted->files) {
        const std::string name = support::lowerCase(file.filename().string());
        if (name == wanted || name.starts_with(wanted + ".")) {
            return file;
        }
    }
    return support::Error{support::ErrorCode::CannotOpenGlobeFile,
                          "no tile in " + archive.string()};
}

CommandStatus loadGlobalTiles(AppState& state, support::Ui& ui, GlobalDataSet set,
                              const LoadRequest& request) {
    auto& remembered = state.loads.tiles;
    // A tile opened by name (or a directory named on the command line) fixes where to look.
    if (!request.files.empty()) {
        const auto& chosen = request.files.front();
        std::error_code ignored;
        if (std::filesystem::is_directory(chosen, ignored)) {
            remembered.directory = chosen;
        } else {
            remembered = {chosen.parent_path(), chosen.extension().string()};
        }
    }
    const auto& choice = state.loads.area;
    const auto area = importers::ComputeGlobalArea(choice.centreLatitude, choice.centreLongitude,
                                                   choice.widthDegrees);
    const auto workFolder = temporaryWorkDirectory(state) / "tavrok_terrain";
    std::vector<std::filesystem::path> unpacked;
    std::string lastFileName;
    const auto locate = [&](const GlobalTile& tile) -> std::optional<std::filesystem::path> {
        auto found = findInRememberedDirectory(set, tile, remembered);
        constexpr int maxPrompts = 10;
        for (int attempt = 0; !found && attempt < maxPrompts; ++attempt) {
            const support::FilePrompt prompt{
                (set == GlobalDataSet::Globe ? "Open GLOBE File " : "Open GOTPO30 File ") +
                    std::string(set == GlobalDataSet::Globe ? tile.name : tile.display),
                "GLOBE DEM (*.*)|*.*||", support::DirectoryFamily::Terrain, false, false};
            const auto files = ui.promptForFiles(prompt);
            if (files.empty()) {
                return std::nullopt;
            }
            if (matchesTile(set, tile, files.front())) {
                found = std::filesystem::path(files.front());
            }
        }
        if (!found) {
            return std::nullopt;
        }
        remembered = {found->parent_path(), found->extension().string()};
        lastFileName = found->filename().string();
        if (isArchive(set, *found)) {
            auto tileFile = unpackTile(*found, tile, workFolder);
            if (!tileFile) {
                return std::filesystem::path{};  // refused by the importer as unopenable
            }
            unpacked.push_back(*tileFile);
            return *tileFile;
        }
        return found;
    };
    ui.showProgress(set == GlobalDataSet::Globe ? "Reading GLOBE File(s) ... "
                                                : "Reading GOTP30 File(s) ...");
    auto load = importRequestFor(state, ui, {});
    load.centreLatitude = choice.centreLatitude;
    load.centreLongitude = choice.centreLongitude;
    load.widthDegrees = choice.widthDegrees;
    load.projection = choice.projection;
    load.locateTile = locate;
    auto outcome = runImporter(state, ui, set == GlobalDataSet::Globe ? "globe" : "gtopo30", load);
    for (const auto& file : unpacked) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    if (!outcome.terrain) {
        if (outcome.terrain.error().code == support::ErrorCode::OperationCancelled) {
            return CommandStatus::Cancelled;
        }
        return finishImport(state, ui, std::move(outcome));
    }
    // A single tile is named after the file the user chose, an archive rather than its tile.
    auto& source = outcome.terrain->source;
    source.files = request.files;
    if (importers::TilesForArea(set, area).size() == 1) {
        source.title = lastFileName;
    }
    return finishImport(state, ui, std::move(outcome));
}

}  // namespace

CommandStatus LoadGlobeTiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    return loadGlobalTiles(state, ui, GlobalDataSet::Globe, request);
}

CommandStatus LoadGtopo30Tiles(AppState& state, support::Ui& ui, const LoadRequest& request) {
    return loadGlobalTiles(state, ui, GlobalDataSet::Gtopo30, request);
}

}  // namespace tavrok::shell::commands

#include "cli/TerrainLoad.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "cli/RawOptions.h"
#include "shell/Dispatch.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"

namespace tavrok::cli {

namespace {

// The tile sets cut by area rather than loaded by file: "--type globe" or "--type gtopo30".
std::optional<shell::LoadRequest> tileSetRequest(const Arguments& arguments) {
    const auto type = arguments.value("type");
    if (type == "globe" || type == "gtopo30" || type == "mola" || type == "mola-polar") {
        return shell::loadRequestForType(*type);
    }
    return std::nullopt;
}

// --centre LAT,LON (whole degrees), --area-width DEG (12 to 36), --projection latlon|sinusoidal.
bool applyAreaOptions(const Arguments& arguments, shell::AppState& state) {
    auto& area = state.loads.area;
    if (const auto centre = arguments.value("centre")) {
        int latitude = 0;
        int longitude = 0;
        char comma = 0;
        std::istringstream in(*centre);
        if (!(in >> latitude >> comma >> longitude) || comma != ',' || latitude < -90 ||
            latitude > 90 || longitude < -180 || longitude > 180) {
            std::cerr << "tavrok-cli: --centre needs LAT,LON in whole degrees\n";
            return false;
        }
        area.centreLatitude = latitude;
        area.centreLongitude = longitude;
    }
    if (const auto width = arguments.value("area-width")) {
        const int degrees = std::atoi(width->c_str());
        if (degrees < 12 || degrees > 36) {
            std::cerr << "tavrok-cli: --area-width must be 12 to 36 degrees\n";
            return false;
        }
        area.widthDegrees = degrees;
    }
    if (const auto projection = arguments.value("projection")) {
        if (*projection == "latlon") {
            area.projection = terrain::ProjectionKind::LatLon;
        } else if (*projection == "sinusoidal") {
            area.projection = terrain::ProjectionKind::Sinusoidal;
        } else {
            std::cerr << "tavrok-cli: --projection must be latlon or sinusoidal\n";
            return false;
        }
    }
    return true;
}

}  // namespace

// One private folder for the whole run, removed at exit: batch jobs running side by side never
// share unpacked archives.
const std::filesystem::path* runDirectory() {
    static const std::optional<shell::RunDirectory> folder = shell::makeRunDirectory();
    return folder ? &folder->path() : nullptr;
}

bool loadTerrain(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    const auto tileSet = tileSetRequest(arguments);
    std::vector<std::filesystem::path> files;
    if (tileSet) {
        if (!applyAreaOptions(arguments, state)) {
            return false;
        }
        if (const auto directory = arguments.value("tile-dir")) {
            files.emplace_back(*directory);
        }
    } else if (arguments.positional().empty()) {
        std::cerr << "tavrok-cli: name at least one terrain file\n";
        return false;
    }
    for (const auto& file : arguments.positional()) {
        files.emplace_back(file);
    }
    auto request = shell::loadRequestForFiles(files);
    if (!tileSet && !arguments.value("type")) {
        if (auto combined = importers::checkSelection(files); !combined) {
            shell::showError(ui, combined.error());
            return false;
        }
    }
    if (tileSet) {
        request = *tileSet;
    } else if (const auto type = arguments.value("type")) {
        const auto named = shell::loadRequestForType(*type);
        if (!named) {
            std::cerr << "tavrok-cli: unknown --type \"" << *type << "\"\n";
            return false;
        }
        request = *named;
    }
    request.files = std::move(files);
    const auto* folder = runDirectory();
    if (folder == nullptr) {
        ui.showMessage("Path For Temporary Storage Cannot Be Found");
        return false;
    }
    state.shell.tempDir = *folder;
    ui.setDialogFiller([&arguments](support::DialogModel& dialog) {
        return fillDialogFromOptions(arguments, dialog);
    });
    // The command's own status decides; a message alone does not make a failure.
    const auto status = shell::runImport(state, ui, request);
    return status == shell::CommandStatus::Done && state.document.loaded();
}

}  // namespace tavrok::cli

#include "shell/TerrainLoading.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "shell/Dispatch.h"
#include "support/Text.h"

namespace tavrok::shell {

double overheadZoomFor(int rows, int columns, int clientWidth, int clientHeight) {
    if (rows < 1 || columns < 1) {
        return 1.0;
    }
    const double heightRatio = static_cast<double>(clientHeight) / clientWidth;
    double zoom = heightRatio < static_cast<double>(rows) / columns
                      ? static_cast<double>(clientHeight) / rows
                      : static_cast<double>(clientWidth) / columns;
    zoom = std::min(zoom, 2.0);
    return std::floor(zoom * 100) / 100;
}

CommandStatus installLoadedTerrain(AppState& state, support::Ui& ui,
                                   importers::LoadedTerrain loaded, terrain::SourceRecord source) {
    const std::string title = "Overhead View - " + source.title;
    state.document.replace(std::move(loaded.grid), std::move(loaded.header), std::move(source));
    const auto& header = state.document.header();
    auto& map = state.map;
    map.overheadZoom =
        overheadZoomFor(header.rows, header.columns, map.clientWidth, map.clientHeight);
    map.viewMode = viewOverhead;
    ui.setWaitCursor(false);
    ui.output().setTitle(title);
    return CommandStatus::Done;
}

std::optional<LoadRequest> loadRequestForType(std::string_view type) {
    struct NamedImporter {
        std::string_view name;
        CommandId importer;
        int param;
    };
    static constexpr std::array types{
        NamedImporter{"matrix", CommandId::LoadMatrixFiles, 0},
        NamedImporter{"raw", CommandId::BuildRawMatrix, 0},
        NamedImporter{"usgs", CommandId::LoadUsgsDem, 0},
        NamedImporter{"sdts", CommandId::LoadUsgsDem, 1},
        NamedImporter{"srtm", CommandId::LoadSrtmFiles, 0},
        NamedImporter{"geotiff", CommandId::LoadUsgsDem, 0},
        NamedImporter{"las", CommandId::LoadLasCloud, 0},
        NamedImporter{"xyz", CommandId::LoadXyzPoints, 0},
    };
    for (const auto& named : types) {
        if (named.name == type) {
            return LoadRequest{named.importer, named.param, {}};
        }
    }
    return std::nullopt;
}

namespace {

bool hasHeaderBeside(const std::filesystem::path& file) {
    std::error_code ignored;
    auto header = file;
    return std::filesystem::exists(header.replace_extension(".hdr"), ignored);
}

}  // namespace

LoadRequest loadRequestForFiles(const std::vector<std::filesystem::path>& files) {
    if (files.empty()) {
        return {};
    }
    const auto& first = files.front();
    const std::string extension = support::lowerExtension(first);
    static constexpr std::array byExtension{
        std::pair{std::string_view(".dem"), std::string_view("usgs")},
        std::pair{std::string_view(".gz"), std::string_view("usgs")},
        std::pair{std::string_view(".tgz"), std::string_view("usgs")},
        std::pair{std::string_view(".tar"), std::string_view("usgs")},
        std::pair{std::string_view(".ddf"), std::string_view("sdts")},
        std::pair{std::string_view(".hgt"), std::string_view("srtm")},
        std::pair{std::string_view(".bil"), std::string_view("srtm")},
        std::pair{std::string_view(".tif"), std::string_view("geotiff")},
        std::pair{std::string_view(".tiff"), std::string_view("geotiff")},
        std::pair{std::string_view(".las"), std::string_view("las")},
        std::pair{std::string_view(".hdr"), std::string_view("matrix")},
    };
    for (const auto& [known, type] : byExtension) {
        if (extension == known) {
            auto request = *loadRequestForType(type);
            request.files = files;
            return request;
        }
    }
    const CommandId importer =
        hasHeaderBeside(first) ? CommandId::LoadMatrixFiles : CommandId::BuildRawMatrix;
    return LoadRequest{importer, 0, files};
}

CommandStatus showError(support::Ui& ui, const support::Error& error) {
    if (error.code != support::ErrorCode::SilentFailure) {
        ui.showMessage(error.message());
    }
    return error.code == support::ErrorCode::OperationCancelled ? CommandStatus::Cancelled
                                                                : CommandStatus::Failed;
}

}  // namespace tavrok::shell

#include "shell/TerrainLoading.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "shell/Dispatch.h"

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

void installLoadedTerrain(AppState& state, support::Ui& ui, importers::LoadedTerrain loaded,
                          std::string_view windowTitleName) {
    auto& terrain = state.terrain;
    terrain.grid = std::move(loaded.grid);
    terrain.header = std::move(loaded.header);
    terrain.loaded = true;
    state.sourceListing = std::exchange(state.pendingSourceListing, {});
    const auto& header = terrain.header;
    state.overheadZoom =
        overheadZoomFor(header.rows, header.columns, state.clientWidth, state.clientHeight);
    const double horizontal = static_cast<double>(header.metresPerUnitX) * header.spacingX;
    state.shadingScale = horizontal > 0 ? header.verticalUnitFactor / horizontal : 1.0;
    state.viewMode = viewOverhead;
    ui.setWaitCursor(false);
    ui.setWindowTitle("Overhead View - " + std::string(windowTitleName));
    dispatch(state, ui, CommandId::BuildOverhead, 0);
}

std::optional<LoadRequest> loadRequestForType(std::string_view type) {
    static constexpr std::array types{
        std::pair{std::string_view("matrix"), LoadRequest{CommandId::LoadMatrixFiles, 0}},
        std::pair{std::string_view("raw"), LoadRequest{CommandId::BuildRawMatrix, 0}},
        std::pair{std::string_view("usgs"), LoadRequest{CommandId::LoadUsgsDem, 0}},
        std::pair{std::string_view("sdts"), LoadRequest{CommandId::LoadUsgsDem, 1}},
        std::pair{std::string_view("srtm"), LoadRequest{CommandId::LoadSrtmFiles, 0}},
        std::pair{std::string_view("geotiff"), LoadRequest{CommandId::LoadUsgsDem, 0}},
        std::pair{std::string_view("las"), LoadRequest{CommandId::LoadLasCloud, 0}},
        std::pair{std::string_view("xyz"), LoadRequest{CommandId::LoadXyzPoints, 0}},
    };
    for (const auto& [name, request] : types) {
        if (name == type) {
            return request;
        }
    }
    return std::nullopt;
}

namespace {

std::string lowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

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
    const std::string extension = lowerExtension(first);
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
            return *loadRequestForType(type);
        }
    }
    return hasHeaderBeside(first) ? LoadRequest{CommandId::LoadMatrixFiles, 0}
                                  : LoadRequest{CommandId::BuildRawMatrix, 0};
}

void showError(support::Ui& ui, const support::Error& error) {
    if (error.code != support::ErrorCode::SilentFailure) {
        ui.showMessage(error.message());
    }
}

}  // namespace tavrok::shell

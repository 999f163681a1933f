#include <sys/stat.h>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/BatchGui.h"
#include "cli/CliUi.h"
#include "cli/Subcommands.h"
#include "cli/TerrainLoad.h"
#include "colour/ColorScaleFile.h"
#include "colour/Palette.h"
#include "overhead/OverheadView.h"
#include "overhead/ViewGeometry.h"
#include "paint/QtPainter.h"
#include "shell/Dispatch.h"
#include "support/BmpFile.h"
#include "support/Text.h"

namespace tavrok::cli {

namespace {

// What the render options ask for, checked before the terrain is loaded.
struct RenderOptions {
    std::string output;
    std::optional<double> zoom;
    std::optional<long> width;
    std::optional<overhead::LightingParameters> lighting;
    std::optional<bool> grid;
    std::optional<overhead::CoordinateMode> coordinates;
    std::optional<std::string> colors;
    std::optional<colour::TerrainType> terrainType;
    std::optional<long> seaLevel;
};

bool usage(const std::string& message) {
    std::cerr << "tavrok-cli render: " << message << " (see --help)\n";
    return false;
}

bool readInteger(const Arguments& arguments, const std::string& name, std::optional<long>& out) {
    if (const auto text = arguments.value(name)) {
        out = parseInteger(*text);
        if (!out) {
            return usage("--" + name + " needs a whole number");
        }
    }
    return true;
}

bool parseOptions(const Arguments& arguments, RenderOptions& options) {
    options.output = arguments.value("output").value_or("");
    const std::string extension = support::lowerExtension(options.output);
    if (extension != ".png" && extension != ".bmp") {
        return usage("name the image with -o OUT.png or -o OUT.bmp");
    }
    if (arguments.has("zoom") && arguments.has("width")) {
        return usage("give either --zoom or --width");
    }
    if (const auto text = arguments.value("zoom")) {
        options.zoom = parseNumber(*text);
        if (!options.zoom || !(*options.zoom > 0) || *options.zoom > 64) {
            return usage("--zoom needs a number above 0 and at most 64");
        }
    }
    if (!readInteger(arguments, "width", options.width) ||
        (options.width && (*options.width < 1 || *options.width > overhead::largestImageSide))) {
        return usage("--width needs a whole number of pixels from 1 to " +
                     std::to_string(overhead::largestImageSide));
    }
    std::optional<long> azimuth, elevation, depth;
    if (!readInteger(arguments, "sun-azimuth", azimuth) ||
        !readInteger(arguments, "sun-elevation", elevation) ||
        !readInteger(arguments, "shade-depth", depth)) {
        return false;
    }
    if (azimuth || elevation || depth) {
        overhead::LightingParameters lighting;
        lighting.azimuth = static_cast<std::int32_t>(azimuth.value_or(lighting.azimuth));
        lighting.elevation = static_cast<std::int32_t>(elevation.value_or(lighting.elevation));
        lighting.shadeDepth =
            static_cast<std::int32_t>(std::clamp(depth.value_or(lighting.shadeDepth), 0L, 100L));
        options.lighting = lighting;
    }
    if (const auto text = arguments.value("grid")) {
        if (*text != "on" && *text != "off") {
            return usage("--grid takes on or off");
        }
        options.grid = *text == "on";
    }
    if (const auto text = arguments.value("coordinates")) {
        if (*text == "dms") {
            options.coordinates = overhead::CoordinateMode::DegreeMinSec;
        } else if (*text == "decimal") {
            options.coordinates = overhead::CoordinateMode::DecimalDegree;
        } else if (*text == "utm") {
            options.coordinates = overhead::CoordinateMode::UtmMeters;
        } else {
            return usage("--coordinates takes dms, decimal or utm");
        }
    }
    options.colors = arguments.value("colors");
    if (const auto text = arguments.value("terrain-type")) {
        if (*text == "mountain") {
            options.terrainType = colour::TerrainType::MountainPlain;
        } else if (*text == "island") {
            options.terrainType = colour::TerrainType::IslandOcean;
        } else if (*text == "lowlands") {
            options.terrainType = colour::TerrainType::Lowlands;
        } else {
            return usage("--terrain-type takes mountain, island or lowlands");
        }
    }
    return readInteger(arguments, "sea-level", options.seaLevel);
}

// Everything that replaces what a fresh load chose; false after a printed failure.
bool applyAfterLoad(const RenderOptions& options, shell::AppState& state, CliUi& ui) {
    auto& overhead = state.overhead;
    const auto& grid = state.document.grid();
    if (options.zoom) {
        state.map.overheadZoom = *options.zoom;
    } else if (options.width) {
        state.map.overheadZoom = static_cast<double>(*options.width) / grid.columns();
    }
    const auto geometry = overhead::ViewGeometry::compute(
        grid.rows(), grid.columns(), static_cast<float>(state.map.overheadZoom),
        state.map.clientWidth, state.map.clientHeight);
    if (!geometry.withinImageLimits()) {
        ui.showMessage("the image would be " + std::to_string(geometry.width) + " x " +
                       std::to_string(geometry.height) + " pixels; at most " +
                       std::to_string(overhead::largestImageSide) + " per side and " +
                       std::to_string(overhead::largestImageBytes >> 20) +
                       " MB are written: choose a smaller --zoom or --width");
        return false;
    }
    if (options.colors) {
        const auto file = colour::loadColorScale(*options.colors);
        if (!file.ok()) {
            ui.showMessage(file.error().message());
            return false;
        }
        overhead.overheadScale = file->scale;
        overhead.palette = colour::buildOverheadPalette(overhead.overheadScale);
        overhead.scale.scaleMinimum = file->scaleMinimum;
        overhead.scale.scaleMaximum = file->scaleMaximum;
    }
    if (options.terrainType) {
        overhead.scale.terrainType = *options.terrainType;
    }
    if (options.seaLevel) {
        overhead.scale.seaLevel = static_cast<std::int32_t>(*options.seaLevel);
    }
    return true;
}

}  // namespace

namespace {

// Batch jobs seldom have XDG_RUNTIME_DIR; Qt would then make (and leave) a shared folder of its
// own in /tmp. It gets a private one inside this run's folder instead, gone at exit.
void givePrivateRuntimeFolder() {
    const auto* runFolder = runDirectory();
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr || runFolder == nullptr) {
        return;
    }
    const auto folder = *runFolder / "runtime";
    if (::mkdir(folder.c_str(), S_IRWXU) == 0) {
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace

BatchGui::BatchGui() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    givePrivateRuntimeFolder();
    static int argc = 1;
    static char name[] = "tavrok-cli";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QGuiApplication>(argc, argv);
}

BatchGui::~BatchGui() = default;

support::Status writeImageFile(const support::RgbImage& image, const std::string& path) {
    if (support::lowerExtension(path) == ".bmp") {
        return support::writeBmp(image, path);
    }
    if (!paint::toQImage(image).save(QString::fromStdString(path), "PNG")) {
        return support::Error{support::ErrorCode::CannotOpenFile, path};
    }
    return support::success();
}

int runRender(const Arguments& arguments) {
    RenderOptions options;
    if (!parseOptions(arguments, options)) {
        return 2;
    }
    const BatchGui gui;

    shell::AppState state;
    CliUi ui;
    ui.setVerbose(arguments.has("verbose"));
    auto& overhead = state.overhead;
    overhead.painterFactory = paint::QtPainter::factory();
    overhead.batch = true;
    if (options.lighting) {
        overhead.lighting = *options.lighting;
    }
    if (options.grid) {
        overhead.latLonGrid = *options.grid;
    }
    if (options.coordinates) {
        overhead.coordinateMode = *options.coordinates;
    }
    if (!loadTerrain(arguments, state, ui)) {
        return 1;
    }
    // The per-terrain defaults first, so that the options given override them.
    const auto& document = state.document;
    overhead::applyTerrainDefaults(overhead, document.terrain(), document.identity());
    if (!applyAfterLoad(options, state, ui)) {
        return 1;
    }
    const auto built = shell::dispatch(state, ui, shell::CommandId::BuildOverhead, 1);
    if (built != shell::CommandStatus::Done || overhead.image.empty()) {
        return 1;
    }
    if (const auto written = writeImageFile(overhead.image, options.output); !written) {
        ui.showMessage(written.error().message());
        return 1;
    }
    std::printf("%s: %d x %d pixels\n", options.output.c_str(), overhead.image.width(),
                overhead.image.height());
    return 0;
}

}  // namespace tavrok::cli

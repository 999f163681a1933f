#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/BatchGui.h"
#include "cli/CliUi.h"
#include "cli/Subcommands.h"
#include "cli/TerrainLoad.h"
#include "overhead/OverheadView.h"
#include "paint/QtPainter.h"
#include "scene/MeshGeometry.h"
#include "shell/Dispatch.h"
#include "shell/commands/Commands.h"
#include "support/Text.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::cli {

namespace {

using scene::SceneParameters;

constexpr int largestSceneSide = 4096;

// What the scene options ask for, checked before the terrain is loaded.
struct SceneOptions {
    std::string output;
    SceneParameters parameters;
    std::optional<scene::PixelSize> size;
    std::optional<std::pair<double, double>> observerCell;
    std::optional<std::pair<double, double>> observerGeo;
    std::optional<long> altitude;
    std::optional<colour::TerrainType> terrainType;
    std::optional<long> seaLevel;
    long frames = 1;
    // The movement dialog's steps given: they override those of a new scene.
    std::optional<int> zoom;
    std::optional<int> tilt;
    std::optional<int> turn;
};

bool usage(const std::string& message) {
    std::cerr << "tavrok-cli scene: " << message << " (see --help)\n";
    return false;
}

// One of several words; false after a printed mistake.
template <typename Value>
bool readChoice(const Arguments& arguments, const std::string& name,
                std::initializer_list<std::pair<const char*, Value>> choices, Value& out) {
    const auto text = arguments.value(name);
    if (!text) {
        return true;
    }
    std::string names;
    for (const auto& [word, value] : choices) {
        if (*text == word) {
            out = value;
            return true;
        }
        names += names.empty() ? word : std::string(", ") + word;
    }
    return usage("--" + name + " takes " + names);
}

bool readWhole(const Arguments& arguments, const std::string& name, int& out) {
    if (const auto text = arguments.value(name)) {
        const auto value = parseInteger(*text);
        if (!value || *value < -1'000'000 || *value > 1'000'000) {
            return usage("--" + name + " needs a whole number");
        }
        out = static_cast<int>(*value);
    }
    return true;
}

bool readSize(const Arguments& arguments, SceneOptions& options) {
    const auto text = arguments.value("size");
    if (!text) {
        return true;
    }
    const auto cross = text->find('x');
    const auto width = parseInteger(text->substr(0, cross));
    const auto height =
        cross == std::string::npos ? std::nullopt : parseInteger(text->substr(cross + 1));
    if (!width || !height || *width < 16 || *height < 16 || *width > largestSceneSide ||
        *height > largestSceneSide) {
        return usage("--size takes WIDTHxHEIGHT, 16 to " + std::to_string(largestSceneSide) +
                     " pixels a side");
    }
    options.size = scene::PixelSize{static_cast<int>(*width), static_cast<int>(*height)};
    using enum scene::ProjectionSize;
    for (const auto size : {S480x360, S640x480, S800x600, S1024x768}) {
        if (scene::eyeImageSize(size, scene::ColorMode::Color) == *options.size) {
            options.parameters.projectionSize = size;
        }
    }
    return true;
}

bool readChoices(const Arguments& arguments, SceneOptions& options) {
    using namespace scene;
    SceneParameters& p = options.parameters;
    return readChoice<ColorMode>(arguments, "mode",
                                 {{"color", ColorMode::Color},
                                  {"red-blue", ColorMode::RedBlue},
                                  {"side-by-side", ColorMode::SideBySide}},
                                 p.colorMode) &&
           readChoice<TerrainPosition>(arguments, "position",
                                       {{"foreground", TerrainPosition::Foreground},
                                        {"background", TerrainPosition::Background}},
                                       p.terrainPosition) &&
           readChoice<MeshResolution>(arguments, "mesh",
                                      {{"min", MeshResolution::Min}, {"max", MeshResolution::Max}},
                                      p.resolution);
}

bool readNumbers(const Arguments& arguments, SceneOptions& options) {
    SceneParameters& p = options.parameters;
    if (const auto text = arguments.value("heading")) {
        const auto value = parseNumber(*text);
        if (!value) {
            return usage("--heading needs a number of degrees");
        }
        p.heading = *value;
    }
    if (const auto text = arguments.value("area-factor")) {
        const auto value = parseNumber(*text);
        if (!value || !(*value > 0.01) || *value > 100) {
            return usage("--area-factor needs a number above 0.01 and at most 100");
        }
        p.areaFactor = *value;
    }
    return readWhole(arguments, "vertical-mag", p.verticalMagnificationPercent) &&
           readWhole(arguments, "azimuth", p.illuminationAzimuth) &&
           readWhole(arguments, "elevation", p.illuminationElevation);
}

bool readPlacement(const Arguments& arguments, SceneOptions& options) {
    if (arguments.has("observer") && arguments.has("observer-geo")) {
        return usage("give either --observer or --observer-geo");
    }
    for (const auto& [name, target] :
         {std::pair{"observer", &options.observerCell}, {"observer-geo", &options.observerGeo}}) {
        if (const auto text = arguments.value(name)) {
            *target = parsePair(*text);
            if (!*target) {
                return usage(std::string("--") + name + " needs two numbers such as 100,200");
            }
        }
    }
    if (const auto text = arguments.value("altitude")) {
        options.altitude = parseInteger(*text);
        if (!options.altitude || *options.altitude < 0) {
            return usage("--altitude needs a whole number of metres, 0 or more");
        }
    }
    return true;
}

bool readOtherOptions(const Arguments& arguments, SceneOptions& options) {
    if (const auto text = arguments.value("frames")) {
        const auto value = parseInteger(*text);
        if (!value || *value < 1 || *value > 10000) {
            return usage("--frames needs a whole number from 1 to 10000");
        }
        options.frames = *value;
    }
    colour::TerrainType type = colour::TerrainType::MountainPlain;
    if (arguments.has("terrain-type")) {
        if (!readChoice<colour::TerrainType>(arguments, "terrain-type",
                                             {{"mountain", colour::TerrainType::MountainPlain},
                                              {"lowlands", colour::TerrainType::Lowlands},
                                              {"island", colour::TerrainType::IslandOcean}},
                                             type)) {
            return false;
        }
        options.terrainType = type;
    }
    if (const auto text = arguments.value("sea-level")) {
        options.seaLevel = parseInteger(*text);
        if (!options.seaLevel) {
            return usage("--sea-level needs a whole number");
        }
    }
    return true;
}

bool readStep(const Arguments& arguments, const std::string& name, std::optional<int>& out) {
    if (!arguments.has(name)) {
        return true;
    }
    int value = 0;
    if (!readWhole(arguments, name, value)) {
        return false;
    }
    out = value;
    return true;
}

bool readAdjustments(const Arguments& arguments, SceneOptions& options) {
    if (!readStep(arguments, "zoom", options.zoom) || !readStep(arguments, "tilt", options.tilt) ||
        !readStep(arguments, "turn", options.turn)) {
        return false;
    }
    if (const auto text = arguments.value("shift")) {
        const auto pair = parsePair(*text);
        if (!pair) {
            return usage("--shift needs two whole numbers such as 5,-10");
        }
        options.parameters.shiftX = static_cast<int>(pair->first);
        options.parameters.shiftY = static_cast<int>(pair->second);
    }
    return true;
}

bool parseOptions(const Arguments& arguments, SceneOptions& options) {
    options.output = arguments.value("output").value_or("");
    const std::string extension = support::lowerExtension(options.output);
    if (extension != ".png" && extension != ".bmp") {
        return usage("name the image with -o OUT.png or -o OUT.bmp");
    }
    return readSize(arguments, options) && readChoices(arguments, options) &&
           readNumbers(arguments, options) && readPlacement(arguments, options) &&
           readOtherOptions(arguments, options) && readAdjustments(arguments, options);
}

// The marker where the options put it, in overhead-map pixels.
void placeObserver(const SceneOptions& options, shell::AppState& state,
                   SceneParameters& parameters) {
    const auto& grid = state.document.grid();
    const auto mapping =
        overhead::MapMapping::of(state.overhead.geometry, grid.rows(), grid.columns());
    std::optional<overhead::GridPoint> cell;
    if (options.observerCell) {
        cell = overhead::GridPoint{options.observerCell->first, options.observerCell->second};
    } else if (options.observerGeo) {
        const auto point = terrain::GeoToGrid(state.document.terrain(), options.observerGeo->second,
                                              options.observerGeo->first);
        cell = overhead::GridPoint{point.column, point.row};
    }
    if (cell) {
        parameters.observerPosition = mapping.mapPoint(*cell);
    }
}

// A new scene as the program makes it after a load, with the options laid over it.
void prepareScene(const SceneOptions& options, shell::AppState& state) {
    SceneParameters& parameters = state.scene.parameters;
    const SceneParameters placed = parameters;  // where the program put the marker
    parameters = options.parameters;
    parameters.title = placed.title;
    parameters.observerPosition = placed.observerPosition;
    placeObserver(options, state, parameters);
    scene::resetAdjustments(parameters);
    parameters.zoom = options.zoom.value_or(parameters.zoom);
    parameters.tilt = options.tilt.value_or(parameters.tilt);
    parameters.turn = options.turn.value_or(parameters.turn);
    parameters.shiftX = options.parameters.shiftX;
    parameters.shiftY = options.parameters.shiftY;
    const auto eye = scene::eyeImageSize(parameters.projectionSize, parameters.colorMode);
    const auto geometry = scene::sizeSceneMesh(
        parameters, {state.overhead.geometry.zoom, eye.width, false}, state.document.header());
    const auto limits = scene::altitudeLimits(geometry, state.document.header());
    parameters.observerAltitude = options.altitude ? static_cast<int>(*options.altitude)
                                                   : limits.maximum - limits.maximum % limits.step;
    parameters.newScene = false;
    if (options.terrainType) {
        state.overhead.scale.terrainType = *options.terrainType;
    }
    if (options.seaLevel) {
        state.overhead.scale.seaLevel = static_cast<std::int32_t>(*options.seaLevel);
    }
    state.scene.eyeSize = options.size;
}

bool loadAndBuildMap(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    state.overhead.painterFactory = paint::QtPainter::factory();
    state.overhead.batch = true;
    if (!loadTerrain(arguments, state, ui)) {
        return false;
    }
    const auto& document = state.document;
    overhead::applyTerrainDefaults(state.overhead, document.terrain(), document.identity());
    return shell::dispatch(state, ui, shell::CommandId::BuildOverhead, 1) ==
           shell::CommandStatus::Done;
}

// Draws the frames; with more than one, prints the time each took.
bool drawFrames(long frames, shell::AppState& state, CliUi& ui) {
    double mesh = 0;
    double draw = 0;
    for (long frame = 0; frame < frames; ++frame) {
        if (shell::dispatch(state, ui, shell::CommandId::Scene3d,
                            shell::commands::sceneRedrawOnly) != shell::CommandStatus::Done) {
            return false;
        }
        mesh += state.scene.renderer->lastTimes().meshMilliseconds;
        draw += state.scene.renderer->lastTimes().drawMilliseconds;
    }
    if (frames > 1) {
        const auto& geometry = state.scene.renderer->geometry();
        std::printf(
            "%ld frames, %d x %d mesh (step %d) on %s: %.1f ms per frame (mesh %.1f ms, "
            "drawing %.1f ms)\n",
            frames, geometry.meshSize, geometry.meshSize, geometry.meshStep,
            state.scene.renderer->rendererName().c_str(), (mesh + draw) / frames, mesh / frames,
            draw / frames);
    }
    return true;
}

}  // namespace

int runScene(const Arguments& arguments) {
    SceneOptions options;
    if (!parseOptions(arguments, options)) {
        return 2;
    }
    const BatchGui gui;
    shell::AppState state;
    CliUi ui;
    ui.setVerbose(arguments.has("verbose"));
    if (!loadAndBuildMap(arguments, state, ui)) {
        return 1;
    }
    prepareScene(options, state);
    if (!drawFrames(options.frames, state, ui)) {
        return 1;
    }
    const auto& image = state.scene.image;
    if (const auto written = writeImageFile(image, options.output); !written) {
        ui.showMessage(written.error().message());
        return 1;
    }
    std::printf("%s: %d x %d pixels\n", options.output.c_str(), image.width(), image.height());
    return 0;
}

}  // namespace tavrok::cli

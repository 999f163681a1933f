#include "scene/SceneParameters.h"

namespace tavrok::scene {

PixelSize eyeImageSize(ProjectionSize size, ColorMode mode) {
    if (mode == ColorMode::SideBySide) {
        return {480, 360};
    }
    switch (size) {
        case ProjectionSize::S480x360:
            return {480, 360};
        case ProjectionSize::S640x480:
            return {640, 480};
        case ProjectionSize::S800x600:
            return {800, 600};
        case ProjectionSize::S1024x768:
            return {1024, 768};
    }
    return {640, 480};
}

PixelSize sceneImageSize(ProjectionSize size, ColorMode mode) {
    const PixelSize eye = eyeImageSize(size, mode);
    return mode == ColorMode::SideBySide ? PixelSize{2 * eye.width, eye.height} : eye;
}

int incrementStep(MovementIncrement increment) {
    switch (increment) {
        case MovementIncrement::Coarse:
            return 25;
        case MovementIncrement::Medium:
            return 5;
        case MovementIncrement::Fine:
            return 1;
    }
    return 5;
}

void resetAdjustments(SceneParameters& parameters) {
    const bool foreground = parameters.terrainPosition == TerrainPosition::Foreground;
    parameters.shiftX = 0;
    parameters.shiftY = 0;
    parameters.zoom = foreground ? 16 : 0;
    parameters.tilt = foreground ? 32 : 0;
    parameters.turn = 0;
}

}  // namespace tavrok::scene

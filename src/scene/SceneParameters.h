#pragma once
#include <string>

#include "overhead/MapMapping.h"

namespace tavrok::scene {

// The dialog buttons' identifiers are the stored form of these choices.
enum class ColorMode { Color = 1003, RedBlue = 1010, SideBySide = 1011 };
enum class ProjectionSize { S480x360 = 1041, S640x480 = 1042, S800x600 = 1045, S1024x768 = 1081 };
enum class TerrainPosition { Foreground = 1089, Background = 1090 };
enum class MeshResolution { Min = 1093, Max = 1094 };
enum class MovementIncrement { Coarse = 1264, Medium = 1265, Fine = 1266 };

struct PixelSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// One eye's image: the chosen size, except that a side-by-side pair always uses 480×360 eyes.
PixelSize eyeImageSize(ProjectionSize size, ColorMode mode);
// The whole picture: one eye, or two side by side (960×360).
PixelSize sceneImageSize(ProjectionSize size, ColorMode mode);
// 25, 5 or 1.
int incrementStep(MovementIncrement increment);

// The settings of the 3D scene. One record lives for the whole run; values survive between
// scenes and terrains unless a rule below says otherwise. The terrain type and sea level are
// shared with the colour scale (colour::ScaleSettings).
struct SceneParameters {
    std::string title;  // the legend written on the scene, at most 80 characters
    int verticalMagnificationPercent = 100;
    int illuminationAzimuth = 240;   // degrees
    int illuminationElevation = 60;  // degrees
    ColorMode colorMode = ColorMode::Color;
    ProjectionSize projectionSize = ProjectionSize::S640x480;
    TerrainPosition terrainPosition = TerrainPosition::Foreground;
    MeshResolution resolution = MeshResolution::Min;
    // Metres above the ground under the observer; Background position only.
    int observerAltitude = 0;
    // Where the observer stands, in overhead-map pixels (x right, y down).
    overhead::MapPoint observerPosition;
    // Degrees; 0 faces up (north) on the map, increasing counter-clockwise.
    double heading = 0;
    // The scene square is 128 × areaFactor overhead pixels wide.
    double areaFactor = 1.0;
    // Camera adjustments of the movement dialogs.
    int shiftX = 0;
    int shiftY = 0;
    int zoom = 16;
    int tilt = 32;
    int turn = 0;  // steps of 2 degrees
    MovementIncrement movementIncrement = MovementIncrement::Medium;
    // Set when the observer, the marker, the terrain or the position changes; cleared after
    // the first frame or by OK in a movement dialog.
    bool newScene = true;
};

// A new scene's camera adjustments: Foreground shift 0, 0, zoom 16, tilt 32, turn 0;
// Background all five 0.
void resetAdjustments(SceneParameters& parameters);

}  // namespace tavrok::scene

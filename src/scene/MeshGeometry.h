#pragma once
#include "scene/SceneParameters.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::scene {

// Vertices per side of the scene mesh before decimation kicks in.
inline constexpr int minResolutionVertexLimit = 512;
inline constexpr int maxResolutionVertexLimit = 2048;
// Below this much physical memory the program counts as low on memory: Max resolution is off.
inline constexpr double lowMemoryBytes = 128'000'000.0;

// The size and scales of the mesh, recomputed before each build.
struct MeshGeometry {
    int meshSize = 64;           // N, odd, vertices per side
    int meshStep = 1;            // terrain cells between neighbouring vertices, ≥ 1
    int halfSize = 32;           // (N − 1) / 2
    float sceneScale = 1.0f;     // scene units per terrain cell at step 1
    double vertexSpacing = 1.0;  // sceneScale × meshStep
    float verticalScale = 1.0f;  // scene units per elevation unit
    double eyeHeight = 0;        // the observer above the scene base, scene units
    int fieldAngle = 16;         // half the vertical field of view, degrees
    float lookAngle = 0;         // the Background camera's downward look, degrees
    // R: half the mesh width in scene units.
    double halfWidth() const { return halfSize * vertexSpacing; }
};

// The inputs the sizing needs besides the scene parameters.
struct SizingInput {
    float viewZoom = 1.0f;  // overhead-map pixels per terrain cell
    int viewWidth = 640;    // one eye's image width in pixels
    bool lowMemory = false;
};

// N and the decimation step from the scene square and the vertex limit, then the scales.
MeshGeometry sizeSceneMesh(const SceneParameters& parameters, const SizingInput& input,
                           const terrain::TerrainHeader& header);

// Scene units per cell, vertex spacing, vertical scale, eye height and look angle for an
// observer `observerHeight` elevation units above the scene base; N and the step stay.
void computeSceneScale(MeshGeometry& geometry, const SceneParameters& parameters,
                       const SizingInput& input, const terrain::TerrainHeader& header,
                       double observerHeight);

// The Background observer's altitude limits in metres and the slider's step: minimum one
// vertex spacing on the ground; maximum `share` (0.9 for the scene, 0.75 for the flyby) of the
// mesh width; step 10^k with k = round(log10(maximum) − 3), at least 0.
struct AltitudeLimits {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
};
AltitudeLimits altitudeLimits(const MeshGeometry& geometry, const terrain::TerrainHeader& header,
                              double share = 0.9);

}  // namespace tavrok::scene

#include "scene/MeshGeometry.h"

#include <algorithm>
#include <cmath>

#include "support/Units.h"

namespace tavrok::scene {

namespace {

// Metres on the ground between neighbouring cells along x.
double cellGround(const terrain::TerrainHeader& header) {
    return static_cast<double>(header.spacingX) * header.metresPerUnitX;
}

int vertexLimit(const SceneParameters& parameters, const SizingInput& input) {
    return parameters.resolution == MeshResolution::Max && !input.lowMemory
               ? maxResolutionVertexLimit
               : minResolutionVertexLimit;
}

}  // namespace

MeshGeometry sizeSceneMesh(const SceneParameters& parameters, const SizingInput& input,
                           const terrain::TerrainHeader& header) {
    MeshGeometry geometry;
    const double cellsAcross = 128.0 * parameters.areaFactor / input.viewZoom;
    geometry.meshStep = 1;
    geometry.meshSize = static_cast<int>(cellsAcross);
    const int limit = vertexLimit(parameters, input);
    if (geometry.meshSize > limit) {
        geometry.meshStep = std::max(1, static_cast<int>(std::floor(cellsAcross / limit + 0.5)));
        geometry.meshSize = static_cast<int>(cellsAcross / geometry.meshStep);
    }
    geometry.meshSize = std::max(geometry.meshSize, 2);
    geometry.meshSize = geometry.meshSize - geometry.meshSize % 2 + 1;
    geometry.halfSize = (geometry.meshSize - 1) / 2;
    computeSceneScale(geometry, parameters, input, header, 0);
    return geometry;
}

void computeSceneScale(MeshGeometry& geometry, const SceneParameters& parameters,
                       const SizingInput& input, const terrain::TerrainHeader& header,
                       double observerHeight) {
    const double ground = cellGround(header);
    geometry.sceneScale =
        static_cast<float>(input.viewWidth * geometry.meshStep / (800.0 * parameters.areaFactor));
    geometry.vertexSpacing = static_cast<double>(geometry.sceneScale) * geometry.meshStep;
    const double elevationToGrid = ground > 0 ? header.verticalUnitFactor / ground : 0.0;
    geometry.verticalScale = static_cast<float>(parameters.verticalMagnificationPercent / 100.0 *
                                                geometry.sceneScale * elevationToGrid);
    geometry.eyeHeight = ground > 0 ? observerHeight * geometry.sceneScale / ground : 0.0;
    // The automatic look: down towards the far edge, less a correction that fades as the
    // observer climbs.
    const double across =
        static_cast<double>(geometry.meshSize) * geometry.sceneScale * geometry.meshStep;
    const double angle = std::atan2(geometry.eyeHeight, across) * support::degreesPerRadian + 16.0;
    const double correction = std::clamp(20.0 - 20.0 * angle / 45.0, 0.0, 10.0);
    double look = std::min(angle - correction, 90.0);
    geometry.lookAngle = static_cast<float>(look <= 0 ? 0.01 : look);
}

AltitudeLimits altitudeLimits(const MeshGeometry& geometry, const terrain::TerrainHeader& header,
                              double share) {
    const double ground = cellGround(header);
    AltitudeLimits limits;
    limits.minimum = static_cast<int>(geometry.meshStep * ground);
    limits.maximum = static_cast<int>(share * geometry.meshSize * geometry.meshStep * ground);
    const double exponent =
        limits.maximum > 0 ? std::round(std::log10(static_cast<double>(limits.maximum)) - 3) : 0;
    limits.step = static_cast<int>(std::pow(10.0, std::max(exponent, 0.0)));
    return limits;
}

}  // namespace tavrok::scene

#include <gtest/gtest.h>

#include <cmath>

#include "scene/MeshGeometry.h"
#include "scene/SceneMesh.h"

namespace tavrok::scene {
namespace {

terrain::TerrainHeader thirtyMetreGrid() {
    terrain::TerrainHeader header;
    header.spacingX = header.spacingY = 30;
    return header;
}

// N and the decimation step for the square a marker covers at a map zoom.
TEST(MeshGeometry, SizingKeepsTheMeshOddAndWithinTheVertexLimit) {
    const struct {
        const char* name;
        double areaFactor;
        float zoom;
        MeshResolution resolution;
        bool lowMemory;
        int size;
        int step;
    } cases[] = {
        {"the default square at one pixel a cell", 1.0, 1.0f, MeshResolution::Min, false, 129, 1},
        {"an odd count stays", 1.0, 128.0f / 127, MeshResolution::Min, false, 127, 1},
        {"1000 cells with Min: step 2 (1.95 rounds up), 501 vertices", 1000 / 128.0, 1.0f,
         MeshResolution::Min, false, 501, 2},
        {"1000 cells with Max fit the 2048 limit", 1000 / 128.0, 1.0f, MeshResolution::Max, false,
         1001, 1},
        {"Max on a low-memory machine keeps the 512 limit", 1000 / 128.0, 1.0f, MeshResolution::Max,
         true, 501, 2},
        {"just over the limit rounds the step down to 1 and stays over it", 514 / 128.0, 1.0f,
         MeshResolution::Min, false, 515, 1},
        {"a zoomed-in map covers fewer cells", 1.0, 4.0f, MeshResolution::Min, false, 33, 1},
        {"5000 cells with Max: step 2 (2.44 rounds down), 2501 vertices", 5000 / 128.0, 1.0f,
         MeshResolution::Max, false, 2501, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SceneParameters parameters;
        parameters.areaFactor = c.areaFactor;
        parameters.resolution = c.resolution;
        const MeshGeometry geometry =
            sizeSceneMesh(parameters, {c.zoom, 640, c.lowMemory}, thirtyMetreGrid());
        EXPECT_EQ(geometry.meshSize, c.size);
        EXPECT_EQ(geometry.meshStep, c.step);
        EXPECT_EQ(geometry.halfSize, (c.size - 1) / 2);
        // 640 pixels across 800 units per area factor, times the step.
        EXPECT_FLOAT_EQ(geometry.sceneScale, static_cast<float>(0.8 * c.step / c.areaFactor));
    }
}

TEST(MeshGeometry, AltitudeStepsArePowersOfTenAThousandthOfTheMaximum) {
    const struct {
        int meshSize;
        int step;
        float spacing;
        int minimum, maximum, altitudeStep;
    } cases[] = {
        {129, 1, 30, 30, 3483, 10},      // 0.9 × 129 × 30 m
        {501, 2, 100, 200, 90180, 100},  // 90 km: k = round(1.955) = 2
        {33, 1, 30, 30, 891, 1},         // below 1000 m: step 1
        {1001, 1, 10, 10, 9009, 10},     // 9 km: k = round(0.955) = 1
    };
    for (const auto& c : cases) {
        MeshGeometry geometry;
        geometry.meshSize = c.meshSize;
        geometry.meshStep = c.step;
        terrain::TerrainHeader header;
        header.spacingX = c.spacing;
        const AltitudeLimits limits = altitudeLimits(geometry, header);
        EXPECT_EQ(limits.minimum, c.minimum);
        EXPECT_EQ(limits.maximum, c.maximum);
        EXPECT_EQ(limits.step, c.altitudeStep);
    }
}

// The automatic look of the Background camera: 16 degrees more than the line to the far
// edge, less a correction that vanishes from 45 degrees up.
TEST(MeshGeometry, LookAngleFollowsTheObserverHeight) {
    SceneParameters parameters;
    const terrain::TerrainHeader header = thirtyMetreGrid();
    MeshGeometry geometry = sizeSceneMesh(parameters, {1.0f, 640, false}, header);
    const double across = geometry.meshSize * geometry.sceneScale;
    const struct {
        double metres;
        double expected;
    } cases[] = {
        {0, 16 - 10},  // the correction 20 - 20 × 16 / 45 is capped at 10
        // At the height that sees the far edge 29 degrees down the correction is gone.
        {std::tan(29 / 57.29578) * across * 30 / geometry.sceneScale, 45},
        {1e9, 90},
    };
    for (const auto& c : cases) {
        computeSceneScale(geometry, parameters, {1.0f, 640, false}, header, c.metres);
        EXPECT_NEAR(geometry.lookAngle, c.expected, 1e-3) << c.metres;
    }
}

TEST(SceneMesh, BilinearSamplingTreatsMissingCellsAsZeroUnlessAllFourAreMissing) {
    auto grid = terrain::TerrainModel::create(4, 4, 10.0f).value();
    grid.at(2, 1) = terrain::missingCell;
    EXPECT_FLOAT_EQ(sampleBilinear(grid, 1.5, 1.0), 5.0f);  // halfway to a missing cell
    EXPECT_FLOAT_EQ(sampleBilinear(grid, 1.25, 1.5), 10.0f - 0.25f * 0.5f * 10.0f);
    for (const auto& [column, row] : {std::pair{2, 1}, {2, 2}, {1, 2}}) {
        grid.at(column, row) = terrain::missingCell;
    }
    grid.at(1, 1) = terrain::missingCell;
    EXPECT_FLOAT_EQ(sampleBilinear(grid, 1.5, 1.5), missingVertex);
    // Too near the edge or off the grid: 0.
    EXPECT_FLOAT_EQ(sampleBilinear(grid, 0.9, 2.0), 0.0f);
    EXPECT_FLOAT_EQ(sampleBilinear(grid, 2.0, 3.0), 0.0f);
    EXPECT_FLOAT_EQ(sampleBilinear(grid, -5.0, 2.0), 0.0f);
}

}  // namespace
}  // namespace tavrok::scene

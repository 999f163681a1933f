#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "OverheadFixtures.h"
#include "overhead/Shading.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {
namespace {

ShadeGrid shadeOf(const terrain::Terrain& terrain, float zoom, LightingParameters light = {},
                  int threads = 0) {
    const auto geometry =
        ViewGeometry::compute(terrain.grid.rows(), terrain.grid.columns(), zoom, 1024, 768);
    auto shade = computeShading(terrain, geometry, light, {}, threads);
    EXPECT_TRUE(shade.ok());
    return shade.ok() ? std::move(shade.value()) : ShadeGrid{};
}

TEST(Shading, AFlatCellUnderTheDefaultLightGetsPointNineNineOne) {
    const auto flat = test::utmTerrain(6, 7, [](int, int) { return 0.0f; });
    for (const float zoom : {1.0f, 0.5f, 2.0f}) {
        const auto shade = shadeOf(flat, zoom);
        ASSERT_FALSE(shade.empty());
        for (const float value : shade.values) {
            EXPECT_NEAR(value, 0.991, 0.0005) << zoom;
        }
    }
}

TEST(Shading, OneRowOrOneColumnCannotFormASlope) {
    const auto row = test::utmTerrain(1, 9, [](int c, int) { return c * 5.0f; });
    const auto column = test::utmTerrain(9, 1, [](int, int r) { return r * 5.0f; });
    for (const auto* terrain : {&row, &column}) {
        const auto shade = shadeOf(*terrain, 1.0f);
        ASSERT_EQ(shade.values.size(), 9u);
        for (const float value : shade.values) {
            EXPECT_EQ(value, 0.5f);
        }
    }
}

TEST(Shading, DepthZeroTurnsShadingOff) {
    const auto rough =
        test::utmTerrain(20, 20, [](int c, int r) { return (c * 7 + r * 13) % 50 * 10.0f; });
    LightingParameters light;
    light.shadeDepth = 0;
    for (const float value : shadeOf(rough, 1.0f, light).values) {
        EXPECT_EQ(value, 1.0f);
    }
}

TEST(Shading, SlopesFacingTheLightAreBrighterThanThoseFacingAway) {
    // Rises 30 m per 30 m cell to the east: a 45° slope facing west.
    const auto slope = test::utmTerrain(8, 8, [](int c, int) { return c * 30.0f; });
    LightingParameters fromWest{270, 0, 100};
    LightingParameters fromEast{90, 0, 100};
    // s = cos 45° for the light from the west, nothing from the east.
    EXPECT_NEAR(shadeOf(slope, 2.0f, fromWest).at(3, 3), 0.4 + 0.6 * std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(shadeOf(slope, 2.0f, fromEast).at(3, 3), 0.4, 1e-6);
}

// The formula spelt out with plain vectors over the terrain helper, for comparison.
double referenceShade(const terrain::Terrain& terrain, const ViewGeometry& g, int i, int j,
                      const LightingParameters& light, int width, int height) {
    const bool perPixel = g.zoom <= 1.0f;
    const double metres = terrain.header.spacingX * terrain.header.metresPerUnitX;
    const double depth = light.shadeDepth / 100.0;
    const auto point = [&](int pi, int pj) {
        pi = std::clamp(pi, 0, width - 1);
        pj = std::clamp(pj, 0, height - 1);
        double x = pi;
        double z = pj;
        double h = 0;
        if (perPixel) {
            x = std::clamp(pi * g.columnsPerPixel, 0.0f, terrain.grid.columns() - 1.0f);
            z = std::clamp(pj * g.rowsPerPixel, 0.0f, terrain.grid.rows() - 1.0f);
            h = terrain::ElevationAt(terrain, x, z, false);
        } else {
            h = terrain.grid.at(pi, pj);
        }
        return std::array<double, 3>{x * metres, h * depth, z * metres};
    };
    const auto p0 = point(i, j);
    const auto p1 = point(i - 1, j);
    const auto p2 = point(i, j + 1);
    std::array<double, 3> a{}, b{};
    double la = 0, lb = 0;
    for (int k = 0; k < 3; ++k) {
        a[k] = p1[k] - p0[k];
        b[k] = p2[k] - p0[k];
        la += a[k] * a[k];
        lb += b[k] * b[k];
    }
    if (la == 0 || lb == 0) {
        return 0.5;
    }
    for (int k = 0; k < 3; ++k) {
        a[k] /= std::sqrt(la);
        b[k] /= std::sqrt(lb);
    }
    const std::array<double, 3> n{a[1] * b[2] - b[1] * a[2], a[2] * b[0] - b[2] * a[0],
                                  a[0] * b[1] - b[0] * a[1]};
    const double ln = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (ln == 0) {
        return 1.0;
    }
    const double az = light.azimuth / support::degreesPerRadian;
    const double el = light.elevation / support::degreesPerRadian;
    const double s = (n[0] * std::sin(az) + n[1] * std::sin(el) + n[2] * std::cos(az)) / ln;
    return 0.4 + 0.6 * std::clamp(s, 0.0, 1.0);
}

TEST(Shading, MatchesTheFormulaOnRoughTerrainWithMissingCellsAtBothZoomPaths) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> height(0.0f, 400.0f);
    auto rough = test::utmTerrain(37, 53, [&](int, int) { return height(random); });
    rough.grid.at(10, 10) = terrain::missingCell;
    rough.grid.at(30, 20) = terrain::missingCell;
    rough.grid.at(31, 20) = terrain::missingCell;
    const LightingParameters light{215, 35, 60};
    for (const float zoom : {0.73f, 1.0f, 1.6f}) {
        const auto g = ViewGeometry::compute(37, 53, zoom, 1024, 768);
        const auto shade = shadeOf(rough, zoom, light);
        // The last row and column and the first column repeat their neighbours.
        for (int j = 0; j + 1 < shade.height; ++j) {
            for (int i = 1; i + 1 < shade.width; ++i) {
                ASSERT_NEAR(shade.at(i, j),
                            referenceShade(rough, g, i, j, light, shade.width, shade.height), 2e-4)
                    << "zoom " << zoom << " at " << i << "," << j;
            }
            EXPECT_EQ(shade.at(0, j), shade.at(1, j));
            EXPECT_EQ(shade.at(shade.width - 1, j), shade.at(shade.width - 2, j));
        }
        for (int i = 0; i < shade.width; ++i) {
            EXPECT_EQ(shade.at(i, shade.height - 1), shade.at(i, shade.height - 2));
        }
    }
}

TEST(Shading, GridSizeFollowsTheZoom) {
    const auto terrain = test::utmTerrain(40, 50, [](int c, int r) { return float(c + r); });
    const auto below = shadeOf(terrain, 0.5f);
    EXPECT_EQ(below.width, 25);
    EXPECT_EQ(below.height, 20);
    const auto above = shadeOf(terrain, 1.5f);
    EXPECT_EQ(above.width, 50);
    EXPECT_EQ(above.height, 40);
}

TEST(Shading, ThreadCountDoesNotChangeAValue) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> height(0.0f, 900.0f);
    const auto terrain = test::utmTerrain(700, 300, [&](int, int) { return height(random); });
    const auto one = shadeOf(terrain, 0.87f, {}, 1);
    for (const int threads : {2, 3, 8}) {
        EXPECT_EQ(shadeOf(terrain, 0.87f, {}, threads).values, one.values) << threads;
    }
}

TEST(Shading, StopDuringShadingCancelsTheResize) {
    const auto terrain = test::utmTerrain(600, 20, [](int c, int r) { return float(c * r); });
    const auto geometry = ViewGeometry::compute(600, 20, 1.0f, 1024, 768);
    int reports = 0;
    const auto shade = computeShading(terrain, geometry, {}, [&](long done, long total) {
        EXPECT_LE(done, total);
        return ++reports < 2;
    });
    ASSERT_FALSE(shade.ok());
    EXPECT_EQ(shade.error().message(), "Map Resizing Cancelled");
    EXPECT_EQ(reports, 2);
}

}  // namespace
}  // namespace tavrok::overhead

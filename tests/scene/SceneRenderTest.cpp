#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "scene/SceneRenderer.h"

namespace tavrok::scene {
namespace {

using support::Rgb;
using support::RgbImage;

// A 200 × 300 grid of 30 m cells drawn one map pixel a cell; the default scene square (129
// vertices) is centred on cell (100, 150), so vertex (r, c) samples cell (36 + c, 86 + r).
constexpr int gridColumns = 200;
constexpr int gridRows = 300;
constexpr int centreColumn = 100;
constexpr int centreRow = 150;
constexpr int firstRow = centreRow - 64;

struct TestScene {
    terrain::Terrain terrain;
    SceneParameters parameters;
    colour::ScaleSettings scale;
    colour::ColorScale colors = colour::sceneDefaultScale();

    explicit TestScene(const std::function<float(int column, int row)>& height) {
        terrain.grid = terrain::TerrainModel::create(gridRows, gridColumns).value();
        float highest = 0;
        for (int row = 0; row < gridRows; ++row) {
            for (int column = 0; column < gridColumns; ++column) {
                const float value = height(column, row);
                terrain.grid.at(column, row) = value;
                highest = std::max(highest, value);
            }
        }
        auto& header = terrain.header;
        header.rows = gridRows;
        header.columns = gridColumns;
        header.spacingX = header.spacingY = 30;
        header.maxElevation = highest;
        terrain.loaded = true;
        scale.scaleMinimum = 0;
        scale.scaleMaximum = static_cast<int>(highest);
        // The observer half a mesh width (64.5 pixels) south of the centre, facing north.
        parameters.observerPosition = {centreColumn, gridRows - 1 - centreRow + 64.5};
    }

    RgbImage render(PixelSize eye = {640, 480}) {
        auto renderer = SceneRenderer::create(eye);
        EXPECT_TRUE(renderer.ok()) << (renderer.ok() ? "" : renderer.error().detail);
        SceneView view;
        view.terrain = &terrain;
        view.parameters = &parameters;
        view.scale = &scale;
        view.colors = &colors;
        view.mapping = overhead::MapMapping(1.0f, gridColumns, gridRows, gridColumns, gridRows);
        view.eyeSize = eye;
        auto image = renderer->render(view);
        EXPECT_TRUE(image.ok());
        return image.ok() ? std::move(image).value() : RgbImage();
    }
    Rgb sky() const { return colors.entries[colour::skyEntry]; }
};

Rgb pixel(const RgbImage& image, int x, int y) {
    const auto row = image.row(y);
    return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
}

// Where a scene point lands in the default Foreground view, worked out here with plain
// trigonometry: the block turns 32 degrees about x, the eye sits 1.8 × 2R in front of it
// (zoom 16: (16 / 20 + 1) × 2R with R = 64 vertices × 0.8 units), 16 degrees either side of
// the centre line vertically; a stereo eye sits e to the side with the frustum shifted back.
struct Projected {
    double column;
    double row;
};
Projected project(double x, double y, double z, PixelSize eye = {640, 480}, double e = 0) {
    const double r = 64 * 0.8;
    const double distance = 1.8 * 2 * r;
    const double tilt = 32 / 57.29577951;
    const double turnedY = y * std::cos(tilt) - z * std::sin(tilt);
    const double turnedZ = y * std::sin(tilt) + z * std::cos(tilt);
    const double depth = distance - turnedZ;
    const double tangent = std::tan(16 / 57.29577951);
    const double aspect = static_cast<double>(eye.width) / eye.height;
    const double base = 1.8 * r;
    const double ndcX = ((x - e) / depth + 0.5 * e / base) / (aspect * tangent);
    const double ndcY = turnedY / (depth * tangent);
    return {(ndcX + 1) / 2 * eye.width, (1 - ndcY) / 2 * eye.height};
}

// Scene units per metre of height: 0.8 units a 30 m cell.
constexpr double unitsPerMetre = 0.8 / 30;

bool isSky(const TestScene& scene, const RgbImage& image, double x, double y) {
    return pixel(image, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))) ==
           scene.sky();
}

TEST(SceneRender, ATowerRisesAboveTheFarEdgeWhereTheCameraPutsIt) {
    // A 9 × 9-cell tower 1200 m high in the middle of a flat square.
    TestScene scene([](int column, int row) {
        return std::abs(column - centreColumn) <= 4 && std::abs(row - centreRow) <= 4 ? 1200.0f
                                                                                      : 0.0f;
    });
    const RgbImage image = scene.render();
    ASSERT_EQ(image.width(), 640);
    ASSERT_EQ(image.height(), 480);
    const Projected top = project(0, 1200 * unitsPerMetre, -4 * 0.8);
    const Projected farEdge = project(0, 0, -64 * 0.8);
    ASSERT_LT(top.row, farEdge.row - 20);  // the tower stands clear of the far edge
    EXPECT_TRUE(isSky(scene, image, top.column, top.row - 3));
    EXPECT_FALSE(isSky(scene, image, top.column, top.row + 3));
    // Beside the tower, the same rows are sky down to the far edge, then terrain.
    for (const double column : {top.column - 40, top.column + 40}) {
        EXPECT_TRUE(isSky(scene, image, column, top.row + 3)) << column;
        EXPECT_TRUE(isSky(scene, image, column, farEdge.row - 3)) << column;
        EXPECT_FALSE(isSky(scene, image, column, farEdge.row + 3)) << column;
    }
    // Every row above the tower is sky.
    for (int y = 0; y < top.row - 3; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(pixel(image, x, y), scene.sky()) << x << ", " << y;
        }
    }
}

TEST(SceneRender, ASlopeRisingNorthLiftsTheFarEdge) {
    // 5 m more every row northwards; the scene rests on its lowest point (row 86).
    TestScene scene([](int, int row) { return 5.0f * row; });
    const RgbImage image = scene.render();
    // The last vertex row inside the walls samples row 86 + 127.
    const Projected farTop = project(30, 5.0 * 127 * unitsPerMetre, -63 * 0.8);
    EXPECT_TRUE(isSky(scene, image, farTop.column, farTop.row - 3));
    EXPECT_FALSE(isSky(scene, image, farTop.column, farTop.row + 3));
    const Projected flatFarEdge = project(30, 0, -64 * 0.8);
    EXPECT_LT(farTop.row, flatFarEdge.row - 20);
}

TEST(SceneRender, MissingCellsOpenAHoleDownToTheBase) {
    // A 300 m plateau whose first rows lie at 0 m; a band 20 cells wide is missing from row 190
    // to the north edge, so the skyline drops there to the far edge of the base.
    TestScene scene([](int column, int row) {
        if (row < firstRow + 4) {
            return 0.0f;
        }
        if (column >= centreColumn - 10 && column <= centreColumn + 10 && row >= 190) {
            return terrain::missingCell;
        }
        return 300.0f;
    });
    const RgbImage image = scene.render();
    const Projected plateauFar = project(30, 300 * unitsPerMetre, -63 * 0.8);
    const Projected baseFar = project(0, 0, -64 * 0.8);
    ASSERT_LT(plateauFar.row, baseFar.row - 15);
    // Beside the gap the plateau's far edge is the skyline.
    EXPECT_FALSE(isSky(scene, image, plateauFar.column, plateauFar.row + 3));
    // In the gap the sky reaches down to the base's far edge.
    EXPECT_TRUE(isSky(scene, image, baseFar.column, plateauFar.row + 3));
    EXPECT_TRUE(isSky(scene, image, baseFar.column, baseFar.row - 3));
    EXPECT_FALSE(isSky(scene, image, baseFar.column, baseFar.row + 3));
}

// Standing at the near edge 600 m up, the camera looks down 16 degrees more than the line to
// the far edge, less the correction for a low observer (20 - 20a/45, at most 10).
TEST(SceneRender, TheBackgroundObserverSeesTheFarEdgeWhereItsLookPutsIt) {
    TestScene scene([](int, int) { return 0.0f; });
    scene.parameters.terrainPosition = TerrainPosition::Background;
    scene.parameters.zoom = scene.parameters.tilt = 0;
    scene.parameters.observerAltitude = 600;
    const RgbImage image = scene.render();
    const double r = 64 * 0.8;
    const double eyeHeight = 600 * unitsPerMetre;
    const double toFarEdge = std::atan2(eyeHeight, 129 * 0.8) * 57.29577951 + 16;
    const double look = (toFarEdge - std::clamp(20 - 20 * toFarEdge / 45, 0.0, 10.0)) / 57.29577951;
    // The far edge's height above the line of sight, over its distance along it.
    const double dz = -r - r;
    const double dy = -eyeHeight;
    const double along = -dz * std::cos(look) - dy * std::sin(look);
    const double across = dy * std::cos(look) - dz * std::sin(look);
    const double row = (1 - across / (along * std::tan(16 / 57.29577951))) / 2 * 480;
    EXPECT_TRUE(isSky(scene, image, 320, row - 3));
    EXPECT_FALSE(isSky(scene, image, 320, row + 3));
}

TEST(SceneRender, RedBlueTerrainIsGreyInRedAndGreenAndTheEyesDiffer) {
    TestScene scene([](int column, int row) {
        return std::abs(column - centreColumn) <= 4 && std::abs(row - centreRow) <= 4 ? 1200.0f
                                                                                      : 0.0f;
    });
    scene.parameters.colorMode = ColorMode::RedBlue;
    const RgbImage image = scene.render();
    int leftOnly = 0;
    int rightOnly = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb p = pixel(image, x, y);
            // The right eye draws (g, g, 0), the left (0, 0, g), and the two are ORed.
            ASSERT_EQ(p.red, p.green) << x << ", " << y;
            leftOnly += p.red == 0 && p.blue > 0;
            rightOnly += p.red > 0 && p.blue == 0;
        }
    }
    EXPECT_GT(leftOnly, 50);
    EXPECT_GT(rightOnly, 50);
    EXPECT_EQ(pixel(image, 5, 5), (Rgb{0, 0, 0}));  // the sky is black
}

// The first terrain pixel from the left along one row of one half of the pair.
int firstTerrainColumn(const TestScene& scene, const RgbImage& image, int offset, int y) {
    for (int x = 0; x < 480; ++x) {
        if (!(pixel(image, offset + x, y) == scene.sky())) {
            return x;
        }
    }
    return -1;
}

TEST(SceneRender, SideBySideDrawsTwo480By360EyesAStereoBaseApart) {
    TestScene scene([](int, int) { return 0.0f; });
    scene.parameters.colorMode = ColorMode::SideBySide;
    const RgbImage image = scene.render({480, 360});
    ASSERT_EQ(image.width(), 960);
    ASSERT_EQ(image.height(), 360);
    // The near-left corner of the block, seen by each eye (e = ±1.8 R / 30).
    const double e = 1.8 * 64 * 0.8 / 30;
    const Projected left = project(-64 * 0.8, 0, 64 * 0.8, {480, 360}, -e);
    const Projected right = project(-64 * 0.8, 0, 64 * 0.8, {480, 360}, e);
    const int y = static_cast<int>(left.row) - 2;
    const int leftColumn = firstTerrainColumn(scene, image, 0, y);
    const int rightColumn = firstTerrainColumn(scene, image, 480, y);
    EXPECT_NEAR(leftColumn - rightColumn, left.column - right.column, 1.5);
    EXPECT_GT(left.column - right.column, 4);
}

}  // namespace
}  // namespace tavrok::scene

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "LasFixtures.h"
#include "TestSupport.h"
#include "importers/CloudImporter.h"
#include "importers/CloudSpecificationDialog.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

TEST(CloudSpacing, TheOfferClosestToOnePointPerCellWinsAndTheFirstOfEquals) {
    const std::pair<double, double> cases[] = {
        {2.0, 0.5},     {0.5, 2.0},  {1.0, 1.0},   {0.75, 1.0},  // 1.33 m
        {1 / 1.5, 1.0},                                          // 1.5 m lies between 1 and 2
        {0.01, 20.0},   {0.0, 20.0}, {100.0, 0.5},
    };
    for (const auto& [density, spacing] : cases) {
        EXPECT_EQ(proposedSpacing(density), spacing) << density;
    }
    EXPECT_EQ(spacingLabel(0.5), "0.5 m");
    EXPECT_EQ(spacingLabel(20), "20.0 m");
}

TEST(CloudGeometry, CornersMoveOutToMultiplesSoEveryPointLandsInTheGrid) {
    struct Case {
        CloudArea area;
        double spacing;
        CloudGridGeometry expected;
    };
    const Case cases[] = {
        {{-3.7, 10.2, -0.5, 4.0}, 2.0, {-4, -2, 12, 4, 2, 4, 9}},
        {{100.0, 199.99, 50.0, 149.5}, 0.5, {100, 50, 200, 149.5, 0.5, 200, 201}},
        {{-20.0, -10.0, -7.0, -6.9}, 5.0, {-20, -10, -10, -5, 5, 2, 3}},
    };
    for (const auto& c : cases) {
        const auto geometry = snappedGeometry(c.area, c.spacing);
        EXPECT_DOUBLE_EQ(geometry.left, c.expected.left);
        EXPECT_DOUBLE_EQ(geometry.lower, c.expected.lower);
        EXPECT_DOUBLE_EQ(geometry.right, c.expected.right);
        EXPECT_DOUBLE_EQ(geometry.upper, c.expected.upper);
        EXPECT_EQ(geometry.rows, c.expected.rows);
        EXPECT_EQ(geometry.columns, c.expected.columns);
    }
}

TEST(CloudElevationLimits, BinsWithFewerThanTenPointsAtTheEndsAreLeftOut) {
    struct Case {
        std::vector<std::pair<int, int>> binCounts;  // elevation, points
        std::optional<std::pair<double, double>> limits;
    };
    const Case cases[] = {
        {{{100, 10}, {105, 50}, {110, 10}}, std::pair{100.0, 110.0}},
        {{{-2000, 9}, {100, 10}, {110, 10}, {500, 9}}, std::pair{100.0, 110.0}},
        {{{-5, 12}, {30000, 10}}, std::pair{-4.0, 23999.0}},  // -4.5 truncates to -4
        {{{100, 1000}}, std::nullopt},
        {{{100, 9}, {200, 9}}, std::nullopt},
    };
    for (const auto& c : cases) {
        CloudSurvey survey;
        survey.area = {0, 1, 0, 1};
        for (const auto& [elevation, count] : c.binCounts) {
            for (int n = 0; n < count; ++n) {
                survey.add({0.5, 0.5, elevation + 0.5, false});
            }
        }
        const auto limits = elevationLimits(survey.histogram);
        ASSERT_EQ(limits.has_value(), c.limits.has_value());
        if (limits) {
            EXPECT_EQ(limits->lowest, c.limits->first);
            EXPECT_EQ(limits->highest, c.limits->second);
        }
    }
}

// Two points two cells apart at 1 point per square unit (radius 2.52, window 3): each cell
// holds the mean weighted by 1 / (4d + 1), worked out by hand.
TEST(CloudAccumulation, PointsSpreadWithDistanceWeightsOutToTheRadius) {
    CloudSurvey survey;
    const CloudGridGeometry geometry{0, 0, 19, 19, 1, 20, 20};
    survey.points = 19 * 19;
    auto accumulator = CloudAccumulator::create(geometry, survey, {0, 1000});
    ASSERT_TRUE(accumulator);
    EXPECT_NEAR(accumulator->radius(), 2.5231, 1e-4);
    EXPECT_EQ(accumulator->window(), 3);
    const CloudPoint points[] = {{5, 5, 100, false}, {5, 7, 200, false}};
    accumulator->add(points);
    auto grid = accumulator->finish();
    ASSERT_TRUE(grid);
    struct Case {
        int column;
        int row;
        double value;
    };
    const Case cases[] = {
        {5, 5, (100 + 200 / 9.0) / (1 + 1 / 9.0)},  // on A, two cells from B
        {5, 6, 150},                                // halfway
        {5, 8, 200},                                // three cells from A: beyond the radius
        {3, 5, 100},                                // two from A, 2.83 from B
        {5, 3, 100},
        {7, 7, 200},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(grid->at(c.column, c.row), c.value, 1e-3) << c.column << "," << c.row;
    }
    // Far from both, and not next to a reached cell: missing.
    EXPECT_TRUE(terrain::isMissing(grid->at(15, 15)));
    EXPECT_TRUE(terrain::isMissing(grid->at(5, 12)));
}

TEST(CloudHoles, OneCellHolesFillAndWiderHolesKeepTheirInside) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> holes;  // column, row
        std::pair<int, int> probe;
        bool filled;
    };
    const Case cases[] = {
        {"single", {{3, 3}}, {3, 3}, true},
        {"three wide, centre",
         {{2, 3}, {3, 3}, {4, 3}, {2, 2}, {3, 2}, {4, 2}, {2, 4}, {3, 4}, {4, 4}},
         {3, 3},
         false},
        {"three wide, edge",
         {{2, 3}, {3, 3}, {4, 3}, {2, 2}, {3, 2}, {4, 2}, {2, 4}, {3, 4}, {4, 4}},
         {2, 2},
         true},
        // Only the first row and column touch it, and they are not used.
        {"corner",
         {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 1}, {3, 2}, {1, 3}, {2, 3}, {3, 3}},
         {1, 1},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto grid = terrain::TerrainModel::create(7, 7, 0.0f);
        ASSERT_TRUE(grid);
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 7; ++column) {
                grid->at(column, row) = static_cast<float>(10 + column + 10 * row);
            }
        }
        for (const auto& [column, row] : c.holes) {
            grid->at(column, row) = terrain::missingCell;
        }
        fillOneCellHoles(*grid);
        EXPECT_EQ(terrain::isMissing(grid->at(c.probe.first, c.probe.second)), !c.filled);
    }
    // A lone hole takes the mean of its eight neighbours: the plane's own value here.
    auto grid = terrain::TerrainModel::create(5, 5, 0.0f);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            grid->at(column, row) = static_cast<float>(10 + column + 10 * row);
        }
    }
    grid->at(2, 2) = terrain::missingCell;
    fillOneCellHoles(*grid);
    EXPECT_FLOAT_EQ(grid->at(2, 2), 32.0f);
}

TEST(CloudZones, UtmCodesOfThreeDatumsAndNothingElse) {
    struct Case {
        int code;
        int zone;
        char hemisphere;
        geodesy::EllipsoidId ellipsoid;
    };
    const Case utm[] = {
        {32613, 13, 'N', geodesy::EllipsoidId::Wgs84},
        {32601, 1, 'N', geodesy::EllipsoidId::Wgs84},
        {32760, 60, 'S', geodesy::EllipsoidId::Wgs84},
        {26910, 10, 'N', geodesy::EllipsoidId::Grs1980},
        {26711, 11, 'N', geodesy::EllipsoidId::Clarke1866},
    };
    for (const auto& c : utm) {
        const auto zone = zoneOfProjectedSystem(c.code);
        ASSERT_TRUE(zone) << c.code;
        EXPECT_EQ(zone->zone, c.zone);
        EXPECT_EQ(zone->hemisphere, c.hemisphere);
        EXPECT_EQ(zone->ellipsoid, c.ellipsoid);
    }
    for (const int code : {0, 2994, 26995, 32767, 32600, 32661, 4326}) {
        EXPECT_FALSE(zoneOfProjectedSystem(code)) << code;
    }
}

class CloudLoadTest : public test::TemporaryFolderTest {
  protected:
    std::filesystem::path writeCloud(std::string_view name,
                                     const std::vector<test::LasTestPoint>& points,
                                     const test::LasTestLayout& layout = {}) {
        return writeFile(name, test::lasFileBytes(points, layout));
    }
};

std::vector<test::LasTestPoint> sampledSurface(int count, double side,
                                               double (*surface)(double, double),
                                               unsigned seed = 7) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> along(0, side);
    std::vector<test::LasTestPoint> points;
    for (int n = 0; n < count; ++n) {
        const double x = 500000 + along(random);
        const double y = 4000000 + along(random);
        points.push_back({x, y, surface(x - 500000, y - 4000000), n % 3 == 0 ? 2 : 1});
    }
    return points;
}

double tiltedPlane(double x, double y) {
    return 100 + 0.1 * x + 0.05 * y;
}
double cone(double x, double y) {
    return 200 - 0.5 * std::hypot(x - 50, y - 50);
}

// Points sampled from known surfaces grid back to them away from the edges (and the cone's tip).
TEST_F(CloudLoadTest, SampledSurfacesGridBackToThemselves) {
    struct Case {
        const char* what;
        double (*surface)(double, double);
        double tolerance;
        double skipWithin;  // of the cone's tip
    };
    // Random gaps around a cell tilt its mean: the bound is 60 % of the rise over one radius
    // (1.78 m at 2 points per square metre), 0.11 m/m on the plane and 0.5 m/m on the cone.
    const Case cases[] = {{"plane", tiltedPlane, 0.12, 0}, {"cone", cone, 0.53, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::LasTestLayout layout;
        layout.projectedSystem = 32613;
        const auto file = writeCloud("surface.las", sampledSurface(20000, 100, c.surface), layout);
        auto loaded = LoadLasClouds({file}, std::nullopt, nullptr, nullptr, nullptr);
        ASSERT_TRUE(loaded) << loaded.error().cause;
        const auto& header = loaded->header;
        EXPECT_EQ(header.zoneText, "13N");
        EXPECT_EQ(header.spacingX, 0.5f);  // 2 points per square metre
        double worst = 0;
        for (int row = 10; row < header.rows - 10; ++row) {
            for (int column = 10; column < header.columns - 10; ++column) {
                const double x = header.originX + column * header.spacingX - 500000;
                const double y = header.originY + row * header.spacingY - 4000000;
                // Points above the highest whole metre of the histogram are left out, so cells
                // within a metre of the limits are not judged.
                const double expected = c.surface(x, y);
                if (std::hypot(x - 50, y - 50) < c.skipWithin ||
                    expected < header.minElevation + 1 || expected > header.maxElevation - 1) {
                    continue;
                }
                const double value = loaded->grid.at(column, row) + header.minElevation;
                worst = std::max(worst, std::abs(value - expected));
            }
        }
        EXPECT_LT(worst, c.tolerance);
    }
}

TEST_F(CloudLoadTest, SurveyCountsGroundByClassAndTheDialogProposesForTheReturns) {
    // 100 m square: 20000 points, a third of them ground, the rest class 3 (bit 1 set, not ground).
    auto points = sampledSurface(20000, 100, tiltedPlane);
    for (auto& point : points) {
        point.classification = point.classification == 2 ? 2 : 3;
    }
    const auto file = writeCloud("tile.las", points);
    auto records = ReadLasFiles({file});
    ASSERT_TRUE(records);
    auto area = extentOfLasFiles(*records);
    ASSERT_TRUE(area);
    auto survey = SurveyLasFiles(*records, *area, nullptr, nullptr);
    ASSERT_TRUE(survey);
    EXPECT_EQ(survey->points, 20000);
    EXPECT_EQ(survey->bareEarthPoints, 6667);
    CloudSpecificationDialog dialog(*survey, true);
    EXPECT_EQ(dialog.title(), "LIDAR Terrain Specification");
    EXPECT_TRUE(dialog.bareEarthAvailable());
    EXPECT_EQ(spacingLabel(dialog.spacing), "0.5 m");
    EXPECT_EQ(dialog.densityText(), "2.0 points/sq meter");
    dialog.chooseReturns(ReturnFilter::BareEarth);
    EXPECT_EQ(spacingLabel(dialog.spacing), "1.0 m");  // 0.67 points per square metre
    EXPECT_EQ(dialog.densityText(), "0.7 points/sq meter");

    points.resize(5000);
    for (auto& point : points) {
        point.classification = 1;
    }
    // Corners pinned so the area stays 100 m square.
    points.front() = {500000, 4000000, 110, 1};
    points.back() = {500100, 4000100, 110, 1};
    const auto sparse = writeCloud("sparse.las", points);
    auto sparseRecords = ReadLasFiles({sparse});
    auto sparseArea = extentOfLasFiles(*sparseRecords);
    auto sparseSurvey = SurveyLasFiles(*sparseRecords, *sparseArea, nullptr, nullptr);
    ASSERT_TRUE(sparseSurvey);
    CloudSpecificationDialog sparseDialog(*sparseSurvey, true);
    EXPECT_EQ(spacingLabel(sparseDialog.spacing), "2.0 m");
    EXPECT_FALSE(sparseDialog.bareEarthAvailable());
    sparseDialog.chooseReturns(ReturnFilter::BareEarth);
    EXPECT_FALSE(sparseDialog.accept());
}

TEST_F(CloudLoadTest, RefusalsLeaveNothingGridded) {
    const auto points = sampledSurface(200, 10, tiltedPlane);
    test::LasTestLayout zone13;
    zone13.projectedSystem = 32613;
    test::LasTestLayout zone14;
    zone14.projectedSystem = 32614;
    const auto a = writeCloud("a.las", points, zone13);
    const auto b = writeCloud("b.las", points, zone14);
    const auto empty = writeCloud("empty.las", {});
    struct Case {
        const char* what;
        std::vector<std::filesystem::path> files;
        ErrorCode code;
        bool stop = false;
    };
    const Case cases[] = {
        {"different zones", {a, b}, ErrorCode::InconsistentLasParameters},
        {"missing file", {a, path("none.las")}, ErrorCode::CannotOpenLasFile},
        {"no points", {empty}, ErrorCode::NoLasPointsInArea},
        {"stopped", {a}, ErrorCode::OperationCancelled, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const support::ProgressCallback stop = [](long, long) { return false; };
        auto loaded =
            LoadLasClouds(c.files, std::nullopt, nullptr, c.stop ? stop : nullptr, nullptr);
        ASSERT_FALSE(loaded);
        EXPECT_EQ(loaded.error().code, c.code);
    }
    // An empty file beside one with points changes nothing: it is skipped.
    EXPECT_TRUE(LoadLasClouds({empty, a}, std::nullopt, nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>

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
        const auto g = snappedGeometry(c.area, c.spacing);
        const auto& e = c.expected;
        // Multiples of the spacing: exact.
        EXPECT_EQ(std::tie(g.left, g.lower, g.right, g.upper, g.rows, g.columns),
                  std::tie(e.left, e.lower, e.right, e.upper, e.rows, e.columns));
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

// Two points on grids of several widths and radii, near the edges too: every cell within the
// radius of a point (and the window of cells around its nearest one) holds the mean weighted by
// 1 / (4d + 1) of the points that reach it, worked out here in double precision.
TEST(CloudAccumulation, PointsSpreadWithDistanceWeightsOutToTheRadius) {
    struct Case {
        int columns;
        int rows;
        std::int64_t surveyed;  // points over the grid's area: they set the radius
        double radius;
        int window;
        std::array<CloudPoint, 2> points;
    };
    const Case cases[] = {
        // 1 point per square unit: radius 2.52, window 3.
        {20, 20, 19 * 19, 2.5231, 3, {{{5, 5, 100, false}, {5, 7, 200, false}}}},
        {13, 9, 12 * 8 * 2, 1.7841, 2, {{{11.7, 3.2, 40, false}, {12.0, 7.6, 90, false}}}},
        {6, 5, 5 * 4 * 2, 1.7841, 2, {{{2.4, 1.6, 10, false}, {3.3, 2.9, 30, false}}}},
        {3, 4, 2 * 3 * 2, 1.7841, 2, {{{1.2, 1.4, 10, false}, {2.0, 2.6, 50, false}}}},
        // A radius of 4.4 cells: nine columns a row.
        {30, 12, 29 * 11 / 3, 4.3771, 4, {{{21.45, 5.5, 70, false}, {25.3, 6.1, 20, false}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " columns");
        CloudSurvey survey;
        survey.points = c.surveyed;
        const CloudGridGeometry geometry{0, 0, c.columns - 1.0, c.rows - 1.0, 1, c.rows, c.columns};
        auto accumulator = CloudAccumulator::create(geometry, survey, {0, 1000});
        ASSERT_TRUE(accumulator);
        EXPECT_NEAR(accumulator->radius(), c.radius, 1e-4);
        EXPECT_EQ(accumulator->window(), c.window);
        // One section a point: a section may hold fewer points than there are threads.
        for (const auto& point : c.points) {
            accumulator->add(std::span(&point, 1));
        }
        auto grid = accumulator->finish();
        ASSERT_TRUE(grid);
        // A cell beside a reached one may be filled as a one-cell hole.
        const auto nextToReached = [&](int column, int row) {
            return std::any_of(c.points.begin(), c.points.end(), [&](const CloudPoint& point) {
                return std::hypot(point.x - column, point.y - row) < c.radius + 1.5;
            });
        };
        int reached = 0;
        for (int row = 0; row < c.rows; ++row) {
            for (int column = 0; column < c.columns; ++column) {
                double weights = 0;
                double sum = 0;
                for (const auto& point : c.points) {
                    const double distance = std::hypot(point.x - column, point.y - row);
                    if (distance < c.radius &&
                        std::abs(column - std::lround(point.x)) <= c.window &&
                        std::abs(row - std::lround(point.y)) <= c.window) {
                        weights += 1 / (4 * distance + 1);
                        sum += point.z / (4 * distance + 1);
                    }
                }
                if (weights > 0) {
                    ++reached;
                    EXPECT_NEAR(grid->at(column, row), sum / weights, 2e-4) << column << "," << row;
                } else if (!nextToReached(column, row)) {
                    EXPECT_TRUE(terrain::isMissing(grid->at(column, row))) << column << "," << row;
                }
            }
        }
        EXPECT_GT(reached, 8);
    }
}

// On a plane of 7 x 7 cells with holes cut in it; a filled cell takes the mean of its present
// neighbours, the plane's own value for a lone hole.
TEST(CloudHoles, OneCellHolesFillAndWiderHolesKeepTheirInside) {
    const std::vector<std::pair<int, int>> square{{2, 3}, {3, 3}, {4, 3}, {2, 2}, {3, 2},
                                                  {4, 2}, {2, 4}, {3, 4}, {4, 4}};
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> holes;  // column, row
        std::pair<int, int> probe;
        bool filled;
    };
    const Case cases[] = {
        {"single", {{3, 3}}, {3, 3}, true},
        {"three wide, centre", square, {3, 3}, false},
        {"three wide, edge", square, {2, 2}, true},
        // Only the first row and column touch it, and they are not used.
        {"corner",
         {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 1}, {3, 2}, {1, 3}, {2, 3}, {3, 3}},
         {1, 1},
         false},
    };
    const auto plane = [](int column, int row) {
        return static_cast<float>(10 + column + 10 * row);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto grid = terrain::TerrainModel::create(7, 7, 0.0f);
        ASSERT_TRUE(grid);
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 7; ++column) {
                grid->at(column, row) = plane(column, row);
            }
        }
        for (const auto& [column, row] : c.holes) {
            grid->at(column, row) = terrain::missingCell;
        }
        fillOneCellHoles(*grid);
        const auto [column, row] = c.probe;
        EXPECT_EQ(terrain::isMissing(grid->at(column, row)), !c.filled);
        if (c.holes.size() == 1) {
            EXPECT_FLOAT_EQ(grid->at(column, row), plane(column, row));
        }
    }
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
    // The survey over the file's own extent.
    static support::Result<CloudSurvey> surveyOf(const std::filesystem::path& file) {
        auto records = ReadLasFiles({file});
        auto area = records ? extentOfLasFiles(*records) : records.error();
        if (!area) {
            return area.error();
        }
        return SurveyLasFiles(*records, *area, nullptr, nullptr);
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
    auto survey = surveyOf(writeCloud("tile.las", points));
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
    auto sparseSurvey = surveyOf(writeCloud("sparse.las", points));
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

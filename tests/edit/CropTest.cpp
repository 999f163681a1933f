#include <gtest/gtest.h>

#include "EditFixtures.h"
#include "edit/AreaLimitsDialog.h"
#include "edit/Crop.h"

namespace tavrok::edit {
namespace {

using support::ErrorCode;

// 11 × 21 cells, 30 m apart, from (500010, 4000020); cell value = column + 100 × row.
terrain::Terrain utm30() {
    return test::utmTerrain(11, 21, 500010, 4000020, 30,
                            [](int column, int row) { return float(column + 100 * row); });
}

TEST(CropLimits, AreSnappedDownToTheSpacingAndClampedToTheTerrain) {
    const auto terrain = utm30();
    struct Case {
        CellRectangle cells;
        CropLimits expected;
    };
    const Case cases[] = {
        // 500010 + 2.5 × 30 = 500085 snaps to 500070, 4000020 + 1.2 × 30 = 4000056 to
        // 4000050, 4000020 + 7.9 × 30 = 4000257 to 4000230.
        {{2.5, 1.2, 10.0, 7.9}, {500070, 4000050, 500310, 4000230}},
        // Beyond the terrain: clamped to its extent (the snapped origin lies west of it).
        {{-4, -3, 40, 30}, {500010, 4000020, 500610, 4000320}},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(limitsUnderSelection(terrain.header, testCase.cells), testCase.expected);
    }
}

TEST(CropTerrain, CutsTheGridOnTheSnappedLimits) {
    const auto terrain = utm30();
    auto cropped = cropTerrain(terrain, {500070, 4000050, 500310, 4000260});
    ASSERT_TRUE(cropped) << cropped.error().message();
    const auto& header = cropped->header;
    EXPECT_EQ(header.columns, 9);
    EXPECT_EQ(header.rows, 8);
    EXPECT_EQ(header.originX, 500070);
    EXPECT_EQ(header.maxY, 4000260);
    EXPECT_EQ(header.zoneText, "10N");
    // The cell at 500070 m lies 2 columns and 1 row into the old grid: old value 102, and
    // the new lowest cell (at 500070, 4000050) is that one, stored as 0.
    EXPECT_EQ(cropped->grid.at(0, 0), 0.0f);
    EXPECT_EQ(header.minElevation, 100 + 102);
    EXPECT_EQ(cropped->grid.at(8, 7), (10 + 800) - 102);
    EXPECT_EQ(header.maxElevation, 100 + 810);
    EXPECT_GT(header.northLat, header.southLat);
}

TEST(CropTerrain, RefusesLimitsThatDoNotFormARectangleOnTheTerrain) {
    const auto terrain = utm30();
    const CropLimits outside[] = {
        {600000, 4000020, 600600, 4000300},  // east of the terrain
        {500400, 4000100, 500100, 4000200},  // west edge beyond the east edge
        {500100, 4000200, 500400, 4000200},  // no height
    };
    for (const auto& limits : outside) {
        const auto cropped = cropTerrain(terrain, limits);
        ASSERT_FALSE(cropped);
        EXPECT_EQ(cropped.error().code, ErrorCode::ImproperBoundaries);
    }
}

TEST(CropTerrain, GeographicLimitsAreDegreesAndMissingCellsStayMissing) {
    auto terrain = test::geographicTerrain(61, 61, -105, 40, 3, [](int column, int row) {
        return column >= 20 && column <= 30 && row >= 20 && row <= 30 ? -1.0f : float(column + row);
    });
    const auto limits = limitsUnderSelection(terrain.header, {10, 10, 40, 40});
    EXPECT_DOUBLE_EQ(limits.west, -105 + 30.0 / 3600);
    EXPECT_DOUBLE_EQ(limits.north, 40 + 120.0 / 3600);
    auto cropped = cropTerrain(terrain, limits);
    ASSERT_TRUE(cropped);
    EXPECT_EQ(cropped->header.columns, 31);
    EXPECT_EQ(cropped->grid.at(15, 15), terrain::missingCell);
    EXPECT_EQ(cropped->grid.at(0, 0), 0.0f);
    EXPECT_NEAR(cropped->header.westBound, -105 * 3600.0 + 30, 1e-6);
    EXPECT_FLOAT_EQ(cropped->header.eastLon, -105 + 120.0f / 3600);
}

TEST(CropTerrain, GlobalGridLimitsSnapToItsDegreeSteps) {
    // 0.5° steps from 20°W, 10°N; the central meridian lies on column columns / 2.
    auto grid = test::geographicTerrain(9, 11, -20, 10, 1800,
                                        [](int column, int row) { return float(column + row); });
    auto& header = grid.header;
    header.gridKind = terrain::gridKindSinusoidal;
    header.degreesPerColumn = header.degreesPerRow = 0.5f;
    header.sinusoidalCentralMeridian = -20 + 5 * 0.5f;
    // −19.35 snaps toward zero to −19, 10.6 down to 10.5.
    const auto limits = limitsUnderSelection(header, {1.3, 1.2, 4.6, 3.9});
    EXPECT_EQ(limits, (CropLimits{-19, 10.5, -17.5, 11.5}));
    auto cropped = cropTerrain(grid, limits);
    ASSERT_TRUE(cropped);
    EXPECT_EQ(cropped->header.columns, 4);
    EXPECT_EQ(cropped->header.rows, 3);
    EXPECT_FLOAT_EQ(cropped->header.sinusoidalCentralMeridian, -19 + 2 * 0.5f);
    // Column 2, row 1 of the old grid holds 3: the new lowest ground.
    EXPECT_EQ(cropped->header.minElevation, 100 + 3);
}

TEST(AreaLimitsDialog, ShowsTheTerrainsUnitsAndRefusesAnInvertedRectangle) {
    const auto utm = utm30();
    AreaLimitsDialog metres(utm.header, {500070, 4000050, 500310, 4000260});
    EXPECT_EQ(metres.dialogId(), "IDD_GEOLIMITS1");
    EXPECT_EQ(metres.title(), "Set Area Limits - Meters");
    EXPECT_EQ(metres.west, "500070");
    metres.east = "500000";  // west of the west edge
    const auto refused = metres.accept();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, ErrorCode::ImproperBoundaries);
    metres.east = "not a number that is far too long";
    EXPECT_FALSE(metres.accept());
    metres.east = "999999";  // clamped to the terrain
    ASSERT_TRUE(metres.accept());
    EXPECT_EQ(metres.limits().east, 500610);

    const auto geographic = test::geographicTerrain(5, 5, -105, 40, 3, [](int, int) { return 1; });
    AreaLimitsDialog degrees(geographic.header, {-105, 40, -104.999, 40.002});
    EXPECT_EQ(degrees.dialogId(), "IDD_GEOLIMITS2");
    EXPECT_EQ(degrees.west, "-105.000");
    EXPECT_EQ(degrees.note(), "Longitude in Western Hemisphere is negative.");
}

}  // namespace
}  // namespace tavrok::edit

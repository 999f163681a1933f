#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "EditFixtures.h"
#include "TestSupport.h"
#include "edit/EllipsoidDialog.h"
#include "edit/UtmConversion.h"
#include "geodesy/EllipsoidChange.h"
#include "geodesy/Utm.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::edit {
namespace {

using geodesy::EllipsoidId;
using support::ErrorCode;

// A geographic header spanning south..north and west..east degrees, `spacing` arc-seconds.
terrain::TerrainHeader area(double south, double north, double west, double east,
                            float spacing = 3) {
    const int rows = static_cast<int>(std::lround((north - south) * 3600 / spacing)) + 1;
    const int columns = static_cast<int>(std::lround((east - west) * 3600 / spacing)) + 1;
    auto header =
        test::geographicTerrain(2, 2, west, south, spacing, [](int, int) { return 0; }).header;
    header.rows = rows;
    header.columns = columns;
    header.eastBound = header.maxX = east * 3600;
    header.northBound = header.maxY = north * 3600;
    return header;
}

TEST(CheckUtmConversion, RefusesInTheOrderTheUserIsTold) {
    struct Case {
        const char* name;
        terrain::TerrainHeader header;
        ErrorCode expected;
    };
    auto mola = area(10, 20, 10, 20);
    mola.gridKind = terrain::gridKindSinusoidal;
    mola.planet = terrain::Planet::Mars;
    auto polar = area(10, 20, 10, 20);
    polar.gridKind = terrain::gridKindMarsPolar;
    auto sinusoidal = area(10, 20, 10, 20);
    sinusoidal.projection = terrain::ProjectionKind::Sinusoidal;
    auto utm = area(10, 20, 10, 20);
    utm.projection = terrain::ProjectionKind::UTM;
    const Case cases[] = {
        {"MOLA", mola, ErrorCode::CannotConvertMolaToUtm},
        {"Mars polar", polar, ErrorCode::CannotConvertMarsPolarToUtm},
        {"sinusoidal", sinusoidal, ErrorCode::CannotConvertSinusoidalToUtm},
        {"UTM", utm, ErrorCode::AlreadyUtm},
        {"south of -80", area(-80.2, -79, 10, 11), ErrorCode::AreaCrossesSouth80},
        {"north of 84", area(83.5, 84.2, 10, 11), ErrorCode::AreaCrossesNorth84},
        {"equator", area(-10, 5, 10, 11), ErrorCode::AreaCrossesEquator},
        {"accepted", area(-10, -5, 10, 11), ErrorCode::None},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const auto status = checkUtmConversion(testCase.header);
        EXPECT_EQ(status ? ErrorCode::None : status.error().code, testCase.expected);
    }
}

TEST(PlanUtmConversion, CellSizeZoneAndRefusalsFollowTheArea) {
    struct Case {
        terrain::TerrainHeader header;
        int spacing;  // 0: refused
        ErrorCode refusal;
        int zone;
        char hemisphere;
    };
    const Case cases[] = {
        {area(45, 45.1, -121.9, -121.8, 1), 30, ErrorCode::None, 10, 'N'},  // 30.92 → 30
        {area(45, 45.5, -121.9, -121.4, 3), 90, ErrorCode::None, 10, 'N'},  // 92.77 → 92 → 90
        {area(45, 45.01, -121.9, -121.89, 0.1f), 3, ErrorCode::None, 10, 'N'},
        {area(45, 45.01, -121.9, -121.89, 0.01f), 0, ErrorCode::ScaleTooSmallForConversion, 0, 0},
        {area(-34, -33, 151, 152), 90, ErrorCode::None, 56, 'S'},
        {area(60, 61, 4, 5), 90, ErrorCode::None, 32, 'N'},  // the Norway rule
        {area(45, 46, -125, -105), 0, ErrorCode::AreaTooWideForUtm, 0, 0},
    };
    for (const auto& testCase : cases) {
        const auto plan = planUtmConversion(testCase.header, EllipsoidId::Wgs84);
        if (testCase.spacing == 0) {
            ASSERT_FALSE(plan);
            EXPECT_EQ(plan.error().code, testCase.refusal);
            continue;
        }
        ASSERT_TRUE(plan) << plan.error().message();
        EXPECT_EQ(plan->spacing, testCase.spacing);
        EXPECT_EQ(plan->zone, testCase.zone);
        EXPECT_EQ(plan->hemisphere, testCase.hemisphere);
        EXPECT_EQ(std::fmod(plan->west, plan->spacing), 0);
        EXPECT_EQ(plan->east, plan->west + (plan->columns - 1.0) * plan->spacing);
    }
}

// 0.05° square around 45.5°N 121.5°W at 3″: a slope of 1 m per column with a missing block.
terrain::Terrain slopeWithHole() {
    return test::geographicTerrain(61, 61, -121.55, 45.45, 3, [](int column, int row) {
        const bool hole = column >= 25 && column < 35 && row >= 25 && row < 35;
        return hole ? terrain::missingCell : float(column);
    });
}

TEST(ConvertToUtm, MissingCellsStayMissingAndTheRestIsInterpolated) {
    const auto terrain = slopeWithHole();
    const auto plan = planUtmConversion(terrain.header, EllipsoidId::Clarke1866).value();
    const auto converted = convertToUtm(terrain, plan);
    ASSERT_TRUE(converted) << converted.error().message();
    const auto& header = converted->header;
    EXPECT_EQ(header.projection, terrain::ProjectionKind::UTM);
    EXPECT_EQ(header.zoneText, "10N");
    EXPECT_EQ(header.ellipsoidCode, 1);
    EXPECT_EQ(header.spacingX, 90);
    geodesy::UtmConverter converter;
    converter.setUtmParameters(EllipsoidId::Clarke1866, 10);
    long holes = 0;
    long wrong = 0;
    for (int row = 0; row < header.rows; ++row) {
        for (int column = 0; column < header.columns; ++column) {
            const auto position = converter.utmToLatLon("10N", header.westBound + column * 90.0,
                                                        header.southBound + row * 90.0);
            const double oldColumn = (position.longitudeDegrees + 121.55) * 1200;
            const double oldRow = (position.latitudeDegrees - 45.45) * 1200;
            const float cell = converted->grid.at(column, row);
            const bool inHole = oldColumn > 25 && oldColumn < 33 && oldRow > 25 && oldRow < 33;
            const bool offGrid = oldColumn < 0 || oldRow < 0 || oldColumn > 60 || oldRow > 60;
            if (inHole || offGrid) {
                holes += cell == terrain::missingCell;
                wrong += cell != terrain::missingCell;
                continue;
            }
            const bool nearHole = oldColumn > 23 && oldColumn < 36 && oldRow > 23 && oldRow < 36;
            if (!nearHole) {
                // Stored above the new lowest ground.
                const double elevation = cell + header.minElevation;
                wrong += std::abs(elevation - (100 + oldColumn)) > 0.01;
            }
        }
    }
    EXPECT_GT(holes, 0);
    EXPECT_EQ(wrong, 0);
}

TEST(ConvertToUtm, StopAndFlatResultsLeaveNothingBehind) {
    const auto terrain = slopeWithHole();
    const auto plan = planUtmConversion(terrain.header, EllipsoidId::Wgs84).value();
    int reports = 0;
    const auto stopped =
        convertToUtm(terrain, plan, [&reports](long, long) { return ++reports < 1; });
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().code, ErrorCode::ConversionCancelled);

    const auto flat =
        test::geographicTerrain(61, 61, -121.55, 45.45, 3, [](int, int) { return 7.0f; });
    const auto flatResult = convertToUtm(flat, plan);
    ASSERT_FALSE(flatResult);
    EXPECT_EQ(flatResult.error().code, ErrorCode::CannotConvertArea);
}

TEST(SinusoidalLayout, StretchesRowsAndLeavesBlankEdgesMissing) {
    // 20° by 20°, 41 × 41 samples 0.5° apart, 50°N to 70°N.
    auto terrain = test::geographicTerrain(41, 41, -20, 50, 1800,
                                           [](int column, int) { return float(column); });
    EXPECT_EQ(planUtmConversion(terrain.header, EllipsoidId::Wgs84).error().code,
              ErrorCode::AreaTooWideForUtm);
    const auto laidOut = sinusoidalLayout(terrain);
    ASSERT_TRUE(laidOut);
    const auto& header = laidOut->header;
    EXPECT_EQ(header.projection, terrain::ProjectionKind::Sinusoidal);
    EXPECT_EQ(header.gridKind, terrain::gridKindSinusoidal);
    EXPECT_EQ(header.degreesPerColumn, 0.5f);
    // At 50°N, the fewest blanks, the row keeps cos 50° of its width: columns 0 to 7 and 34
    // to 40 are blank, so 7 are cut from each side and one blank remains on the west.
    EXPECT_EQ(header.columns, 41 - 2 * 7);
    const auto south = laidOut->grid.row(0);
    const auto north = laidOut->grid.row(40);
    EXPECT_EQ(std::count_if(south.begin(), south.end(), terrain::isMissing), 1);
    EXPECT_EQ(north.front(), terrain::missingCell);
    EXPECT_EQ(north.back(), terrain::missingCell);
    // The middle column stays on its meridian.
    EXPECT_EQ(laidOut->grid.at(header.columns / 2, 40) + header.minElevation, 100 + 20);
    EXPECT_FLOAT_EQ(header.sinusoidalCentralMeridian, -10);
}

TEST(ChangeUtmEllipsoid, MovesTheCornersToTheNearestMetre) {
    auto terrain = test::utmTerrain(11, 21, 500010, 4000020, 30, [](int, int) { return 1; });
    terrain.header.projection = terrain::ProjectionKind::UTM;
    const auto changed = changeUtmEllipsoid(terrain.header, EllipsoidId::Wgs84);
    ASSERT_TRUE(changed);
    const auto expected =
        geodesy::MoveUtmBoxToEllipsoid({500010, 4000020, 500610, 4000320}, "10N",
                                       EllipsoidId::Clarke1866, EllipsoidId::Wgs84, 10)
            .value();
    EXPECT_EQ(changed->westBound, std::round(expected.west));
    EXPECT_EQ(changed->northBound, std::round(expected.north));
    EXPECT_EQ(changed->ellipsoidCode, 3);
    EXPECT_EQ(changed->rows, 11);
    EXPECT_EQ(ellipsoidRadioId(changed->ellipsoid), 1329);

    struct Refusal {
        terrain::ProjectionKind projection;
        EllipsoidId to;
        ErrorCode expected;
    };
    const Refusal refusals[] = {
        {terrain::ProjectionKind::UTM, EllipsoidId::Clarke1866,
         ErrorCode::NoEllipsoidChangeRequired},
        {terrain::ProjectionKind::LatLon, EllipsoidId::Wgs84, ErrorCode::NotUsingUtm},
        {terrain::ProjectionKind::Sinusoidal, EllipsoidId::Wgs84,
         ErrorCode::CannotConvertSinusoidalToUtm},
    };
    for (const auto& refusal : refusals) {
        auto header = terrain.header;
        header.projection = refusal.projection;
        EXPECT_EQ(changeUtmEllipsoid(header, refusal.to).error().code, refusal.expected);
    }
}

// The oracle: GDAL's bilinear warp onto the same grid.
class UtmAgainstGdal : public test::TemporaryFolderTest {};

std::vector<float> readFloats(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<float> values(std::filesystem::file_size(file) / sizeof(float));
    in.read(reinterpret_cast<char*>(values.data()),
            static_cast<std::streamsize>(values.size() * sizeof(float)));
    return values;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    const auto index = static_cast<std::size_t>(fraction * (values.size() - 1));
    std::nth_element(values.begin(), values.begin() + index, values.end());
    return values[index];
}

// Converts the tile and compares interior cells with gdalwarp's bilinear result on the same
// grid; prints the median and 99th percentile of the absolute differences.
void compareWithGdalwarp(const std::filesystem::path& tile, const std::filesystem::path& folder) {
    auto terrain = test::loadRealTile(tile, folder);
    ASSERT_TRUE(terrain.loaded);
    const auto plan = planUtmConversion(terrain.header, EllipsoidId::Wgs84).value();
    EXPECT_GE(plan.rows, coarseTableThreshold);
    const auto converted = convertToUtm(terrain, plan).value();
    const double half = plan.spacing / 2.0;
    const auto warped = folder / "gdal.bil";
    char command[1024];
    std::snprintf(command, sizeof command,
                  "gdalwarp -q -overwrite -t_srs EPSG:326%02d -tr %d %d -te %.1f %.1f %.1f %.1f "
                  "-r bilinear -ot Float32 -dstnodata -9999 -of EHdr '%s' '%s'",
                  plan.zone, plan.spacing, plan.spacing, plan.west - half, plan.south - half,
                  plan.east + half, plan.north + half, tile.c_str(), warped.c_str());
    test::runCommand(command);
    const auto gdal = readFloats(warped);
    ASSERT_EQ(gdal.size(), static_cast<std::size_t>(plan.rows) * plan.columns);
    std::vector<double> all;
    std::vector<double> land;
    long coverageDiffers = 0;
    for (int row = 2; row < plan.rows - 2; ++row) {
        for (int column = 2; column < plan.columns - 2; ++column) {
            const float ours = converted.grid.at(column, row);
            const float theirs =
                gdal[static_cast<std::size_t>(plan.rows - 1 - row) * plan.columns + column];
            if (ours < 0 || theirs == -9999) {
                // Only the rim of the area may differ in coverage.
                coverageDiffers += (ours < 0) != (theirs == -9999);
                continue;
            }
            const double difference = std::abs(ours + converted.header.minElevation - theirs);
            all.push_back(difference);
            if (theirs > 0) {
                land.push_back(difference);
            }
        }
    }
    const double median = percentile(all, 0.5);
    const double p99 = percentile(all, 0.99);
    std::printf(
        "UTM vs gdalwarp (%s, %d x %d at %d m): %zu cells, median %.4f m, "
        "99th percentile %.4f m; land %zu cells, median %.4f m, 99th %.4f m; "
        "coverage differs in %ld cells\n",
        tile.filename().c_str(), plan.columns, plan.rows, plan.spacing, all.size(), median, p99,
        land.size(), percentile(land, 0.5), percentile(land, 0.99), coverageDiffers);
    EXPECT_LT(median, 1.0);
    EXPECT_LT(p99, 10.0);
    EXPECT_LT(coverageDiffers, 2L * (plan.rows + plan.columns));
}

TEST_F(UtmAgainstGdal, RealTileAndAOneSecondGridFromItAgreeWithGdalwarpBilinear) {
    const auto tile = test::sharedData("srtm/N57E011.hgt");
    if (!std::filesystem::exists(tile) || !test::haveProgram("gdalwarp")) {
        GTEST_SKIP() << "tile or gdalwarp absent";
    }
    // No real 1-arc-second tile is at hand: GDAL resamples the 3-second one to 3601 x 3601.
    std::filesystem::create_directories(path("one-second"));
    const auto fine = path("one-second") / "N57E011.hgt";
    test::runCommand("gdal_translate -q -of SRTMHGT -outsize 3601 3601 '" + tile.string() + "' '" +
                     fine.string() + "' 2>/dev/null");
    for (const auto& grid : {tile, fine}) {
        SCOPED_TRACE(grid);
        compareWithGdalwarp(grid, folder());
    }
}

}  // namespace
}  // namespace tavrok::edit

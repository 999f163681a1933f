#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "UsgsDemFixtures.h"
#include "importers/UsgsDemImporter.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

class UsgsDemTest : public test::TemporaryFolderTest {
  protected:
    support::Result<LoadedTerrain> load(const std::vector<test::DemText>& dems) {
        std::vector<std::filesystem::path> paths;
        for (std::size_t i = 0; i < dems.size(); ++i) {
            paths.push_back(writeFile("tile" + std::to_string(i) + ".dem", dems[i].text()));
        }
        return loadPaths(paths);
    }
    support::Result<LoadedTerrain> loadPaths(const std::vector<std::filesystem::path>& paths) {
        std::filesystem::create_directories(path("work"));
        auto loaded = LoadUsgsDemFiles(paths, path("work"), {});
        EXPECT_TRUE(std::filesystem::is_empty(path("work"))) << "temporary grids left behind";
        return loaded;
    }
    // A GDAL-written DEM of a window of a real raster.
    std::filesystem::path gdalDem(const std::string& source, const std::string& options,
                                  const std::string& name) {
        const auto out = path(name);
        test::runCommand("gdal_translate -q -of USGSDEM " + options + " '" +
                         test::sharedData(source).string() + "' '" + out.string() + "'");
        return out;
    }
};

class ProfileStartTest : public UsgsDemTest,
                         public ::testing::WithParamInterface<test::ProfileLayout> {};

TEST_P(ProfileStartTest, FindsTheFirstProfileAndReadsEveryField) {
    test::DemText dem;
    dem.layout = GetParam();
    for (int i = 0; i < 12; ++i) {
        dem.values[i] = 1000 + i;
    }
    auto loaded = load({dem});
    ASSERT_TRUE(loaded) << loaded.error().detail;
    const auto& header = loaded->header;
    EXPECT_EQ(header.rows, 4);
    EXPECT_EQ(header.columns, 3);
    EXPECT_EQ(header.projection, terrain::ProjectionKind::UTM);
    EXPECT_EQ(header.zoneText, "13N");
    EXPECT_EQ(header.westBound, 500010);
    EXPECT_EQ(header.northBound, 4400100);
    EXPECT_EQ(header.spacingX, 30.0f);
    EXPECT_EQ(header.minElevation, 1000);
    EXPECT_EQ(header.maxElevation, 1011);
    EXPECT_EQ(header.title, "TEST QUAD");
    EXPECT_NEAR(header.southLat, 39.75, 0.001);
    EXPECT_NEAR(header.westLon, -104.9999, 0.001);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(test::ElevationOf(loaded.value(), column, row), 1000 + row * 3 + column);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ProfileStartTest,
                         ::testing::Values(test::ProfileLayout::At1024, test::ProfileLayout::At864,
                                           test::ProfileLayout::AfterLineFeed));

TEST_F(UsgsDemTest, ProfileStartRowRoundsHalfUp) {
    test::DemText dem;
    dem.values = {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    dem.startSteps = {0, 0.4, 0.5};
    auto loaded = load({dem});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(test::ElevationOf(loaded.value(), 1, 0), 6);   // 0.4 steps up: still row 0
    EXPECT_EQ(test::ElevationOf(loaded.value(), 2, 0), -1);  // 0.5 steps up: row 1
    EXPECT_EQ(test::ElevationOf(loaded.value(), 2, 1), 10);
}

TEST_F(UsgsDemTest, VoidsAreMissingAndLeftOutOfTheMinimumWhileZeroIsGround) {
    test::DemText dem;
    dem.values = {-32767, 0, 50, 60, 70, 80, 90, 100, 110, 120, 130, -32767};
    auto loaded = load({dem});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.minElevation, 0);
    EXPECT_EQ(loaded->grid.at(0, 0), terrain::missingCell);
    EXPECT_EQ(loaded->grid.at(1, 0), 0.0f);
    EXPECT_EQ(loaded->grid.at(2, 3), terrain::missingCell);
}

TEST_F(UsgsDemTest, GeographicDemInFeet) {
    test::DemText dem;
    dem.groundUnit = 3;
    dem.elevationUnit = 1;
    dem.west = -378000;  // 105 W
    dem.south = 144000;  // 40 N
    dem.resolutionX = dem.resolutionY = 3;
    dem.values[0] = 1000;
    auto loaded = load({dem});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.projection, terrain::ProjectionKind::LatLon);
    EXPECT_FLOAT_EQ(loaded->header.westLon, -105.0f);
    EXPECT_FLOAT_EQ(loaded->header.northLat, 40.0025f);
    EXPECT_NEAR(loaded->header.metresPerUnitX, 30.9214 * std::cos(40.00125 * M_PI / 180), 1e-3);
    EXPECT_NEAR(loaded->header.minElevation, 30.48, 1e-4);
    EXPECT_NEAR(loaded->header.maxElevation, 304.8, 1e-3);
}

TEST_F(UsgsDemTest, RefusalsNameTheirReason) {
    struct Case {
        const char* what;
        std::vector<test::DemText> dems;
        ErrorCode expected;
    };
    test::DemText feet;
    feet.groundUnit = 1;
    test::DemText fine;
    test::DemText tenMetres;
    tenMetres.resolutionX = tenMetres.resolutionY = 10;
    tenMetres.west += 90;
    test::DemText geographic;
    geographic.groundUnit = 3;
    geographic.resolutionX = geographic.resolutionY = 30;
    test::DemText rows10;
    rows10.resolutionY = 10;
    rows10.rows = 1;
    rows10.values = {1, 2, 3};
    test::DemText otherZone;
    otherZone.zone = 14;
    test::DemText allVoid;
    allVoid.values.assign(12, -32767);
    test::DemText below;
    below.startSteps = {-1};
    const Case cases[] = {
        {"state plane feet", {feet}, ErrorCode::GroundUnitFeetRefused},
        {"10 m with 30 m", {fine, tenMetres}, ErrorCode::DifferentGridResolutions},
        {"UTM with geographic", {fine, geographic}, ErrorCode::DemsHaveDifferntMapProjections},
        {"row resolution", {fine, rows10}, ErrorCode::DifferentElevationResolutions},
        {"zones", {fine, otherZone}, ErrorCode::DifferentUtmZones},
        {"all void", {allVoid}, ErrorCode::DemHoldsNoElevations},
        {"profile below the grid", {below}, ErrorCode::IncompatibleFileFormat},
    };
    for (const auto& c : cases) {
        auto loaded = load(c.dems);
        ASSERT_FALSE(loaded) << c.what;
        EXPECT_EQ(loaded.error().code, c.expected) << c.what;
    }
    EXPECT_EQ(LoadUsgsDemFiles({writeFile("x.dem", "not a DEM at all")}, folder(), {}).error().code,
              ErrorCode::NotADemFile);
}

TEST_F(UsgsDemTest, DatumOfALaterUtmTileMovesItsCorners) {
    const auto record = [](int datumCode) {
        UsgsDemRecord made;
        made.datumCode = datumCode;
        made.groundUnit = 2;
        made.zone = 13;
        made.resolutionX = made.resolutionY = 30;
        return made;
    };
    const UsgsDemRecord a = record(3);
    UsgsDemRecord b = record(1);
    b.smallestX = 500000;
    b.largestX = 500060;
    b.smallestY = 4400000;
    b.largestY = 4400090;
    ASSERT_TRUE(ReconcileDemWithFirst(a, b));
    EXPECT_EQ(b.datumCode, 3);
    EXPECT_NE(b.smallestY, 4400000);
    EXPECT_NEAR(b.smallestY, 4400000, 300);
    EXPECT_EQ(b.largestX - b.smallestX, 60);
}

TEST_F(UsgsDemTest, FourUtmTilesMergeWithTheirSeamFilled) {
    if (!test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "GDAL is not installed";
    }
    // The raster is 143 x 107 cells of 30 m; the tiles share their middle row, and a column is
    // left out between the western and eastern tiles.
    const std::string source = "geotiff_dem/gdalraster_storml_elev_orig.tif";
    const auto sw = gdalDem(source, "-srcwin 0 53 71 54", "sw.dem");
    const auto se = gdalDem(source, "-srcwin 72 53 71 54", "se.dem");
    const auto nw = gdalDem(source, "-srcwin 0 0 71 54", "nw.dem");
    const auto ne = gdalDem(source, "-srcwin 72 0 71 54", "ne.dem");
    auto merged = loadPaths({sw, se, nw, ne});
    ASSERT_TRUE(merged) << merged.error().detail;
    EXPECT_EQ(merged->grid.columns(), 143);
    EXPECT_EQ(merged->grid.rows(), 107);
    EXPECT_EQ(merged->header.title, "");
    const auto whole = gdalDem(source, "", "whole.dem");
    auto reference = loadPaths({whole});
    ASSERT_TRUE(reference);
    int filled = 0;
    for (int row = 1; row < 106; ++row) {
        const double left = test::ElevationOf(merged.value(), 70, row);
        const double right = test::ElevationOf(merged.value(), 72, row);
        const double seam = test::ElevationOf(merged.value(), 71, row);
        if (left >= 0 && right >= 0) {
            EXPECT_NEAR(seam, (left + right) / 2, 1e-3) << row;
            ++filled;
        }
        for (int column : {10, 70, 72, 140}) {
            const double expected = test::ElevationOf(reference.value(), column, row);
            if (expected >= 0) {  // single voids inside a tile are filled like the seam
                EXPECT_EQ(test::ElevationOf(merged.value(), column, row), expected);
            }
        }
    }
    EXPECT_GT(filled, 50);
}

TEST_F(UsgsDemTest, RealDemsReadAsGdalReadsThem) {
    if (!test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "GDAL is not installed";
    }
    struct Case {
        std::filesystem::path file;
        int rows;
        int columns;
        terrain::ProjectionKind projection;
    };
    const Case cases[] = {
        {test::sharedData("usgsdem/gdal362_storml_elev_utm12n_nad83.dem"), 107, 143,
         terrain::ProjectionKind::UTM},
        {test::sharedData("usgsdem/gdal362_N57E011_sub301_geographic.dem"), 301, 301,
         terrain::ProjectionKind::LatLon},
        {gdalDem("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif", "", "hood.dem"), 0, 0,
         terrain::ProjectionKind::UTM},
        {gdalDem("geotiff_dem/gdal362_N57E011_int16_geographic_tiled_deflate.tif",
                 "-srcwin 0 0 1201 601", "n57.dem"),
         601, 1201, terrain::ProjectionKind::LatLon},
    };
    for (const auto& c : cases) {
        auto loaded = loadPaths({c.file});
        ASSERT_TRUE(loaded) << c.file << ": " << loaded.error().detail;
        if (c.rows > 0) {
            EXPECT_EQ(loaded->header.rows, c.rows) << c.file;
            EXPECT_EQ(loaded->header.columns, c.columns) << c.file;
        }
        EXPECT_EQ(loaded->header.projection, c.projection) << c.file;
        EXPECT_GT(test::ExpectSameAsGdal(loaded.value(), c.file, folder(), -32767), 10000)
            << c.file;
    }
    // A real CDED file whose one profile is all void: GDAL finds no valid cell either.
    auto cded = loadPaths({test::sharedData("usgsdem/georust_114p01_0100_deme_truncated.dem")});
    ASSERT_FALSE(cded);
    EXPECT_EQ(cded.error().code, ErrorCode::DemHoldsNoElevations);
}

}  // namespace
}  // namespace tavrok::importers

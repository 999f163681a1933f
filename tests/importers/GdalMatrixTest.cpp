#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "MatrixFixtures.h"
#include "importers/MatrixImporter.h"

namespace tavrok::importers {
namespace {

// Real rasters that other people's tools wrote, turned into matrices with GDAL and read back.
// GDAL also tells us what each pixel holds, so the comparison needs no numbers of our own.

class GdalMatrixTest : public test::MatrixFolderTest {
  protected:
    void SetUp() override {
        test::MatrixFolderTest::SetUp();
        if (!test::haveProgram("gdal_translate")) {
            GTEST_SKIP() << "GDAL command line tools are not installed";
        }
    }

    // GDAL's reading of the raster, written as float32 samples with the southern row first,
    // as our matrices store them.
    test::GdalView writeSouthFirstFloats(const std::filesystem::path& raster) {
        auto gdal = test::ReadWithGdal(raster, path("gdal.raw"));
        std::ofstream out(path("dem.bin"), std::ios::binary);
        for (int row = gdal.rows - 1; row >= 0; --row) {
            out.write(reinterpret_cast<const char*>(&gdal.samples[std::size_t(row) * gdal.columns]),
                      static_cast<std::streamsize>(gdal.columns * sizeof(float)));
        }
        return gdal;
    }

    // Corners are the centres of the corner pixels.
    void writeHeader(const test::GdalView& layout, const std::string& projection,
                     const std::string& missingFlag) {
        test::MatrixHeaderText header;
        header.title = "GDAL comparison";
        header.projection = projection;
        header.ellipsoid = "NAD83";
        header.rows = layout.rows;
        header.columns = layout.columns;
        const auto number = [](double value) {
            char text[64];
            std::snprintf(text, sizeof text, "%.10f", value);
            return std::string(text);
        };
        const double left = layout.originX + layout.pixelX / 2;
        const double upper = layout.originY + layout.pixelY / 2;
        header.left = number(left);
        header.right = number(left + (layout.columns - 1) * layout.pixelX);
        header.upper = number(upper);
        header.lower = number(upper + (layout.rows - 1) * layout.pixelY);
        header.missingFlag = missingFlag;
        writeFile("dem.hdr", header.text());
    }

    // Compares every cell with GDAL's sample; the raster's row r is our row rows - 1 - r.
    static void expectSameValues(const test::GdalView& gdal, const LoadedTerrain& terrain,
                                 float noData) {
        long present = 0;
        long differences = 0;
        for (int row = 0; row < gdal.rows; ++row) {
            for (int column = 0; column < gdal.columns; ++column) {
                const float expected = gdal.at(column, row);
                const float cell = terrain.grid.at(column, gdal.rows - 1 - row);
                if (expected == noData) {
                    differences += cell != terrain::missingCell;
                    continue;
                }
                ++present;
                const float elevation = cell + static_cast<float>(terrain.header.minElevation);
                differences += std::abs(elevation - expected) > 1e-3f;
            }
        }
        EXPECT_EQ(differences, 0);
        EXPECT_GT(present, gdal.rows * gdal.columns / 2);
    }
};

TEST_F(GdalMatrixTest, MountHoodUtmRasterMatchesGdalPixelForPixel) {
    const auto raster = test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif");
    const auto layout = writeSouthFirstFloats(raster);
    ASSERT_EQ(layout.columns, 1013);
    writeHeader(layout, "UTM Zone 10 N", "32767");
    const auto outcome = LoadMatrixFiles({path("dem.bin")}, temporaries(), {});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    const auto& header = outcome.terrain->header;
    EXPECT_EQ(header.rows, 799);
    EXPECT_EQ(header.ellipsoid, geodesy::EllipsoidId::Grs1980);
    EXPECT_EQ(header.ellipsoidCode, 4);
    EXPECT_EQ(header.zoneText, "10N");
    EXPECT_EQ(header.westBound, 587064);
    EXPECT_EQ(header.spacingX, 30.0f);
    EXPECT_EQ(header.minElevation, 553);
    EXPECT_EQ(header.maxElevation, 3421);
    // Mount Hood lies near 45.37 N, 121.70 W.
    EXPECT_LT(header.southLat, 45.37);
    EXPECT_GT(header.northLat, 45.37);
    EXPECT_LT(header.westLon, -121.70);
    EXPECT_GT(header.eastLon, -121.70);
    expectSameValues(layout, outcome.terrain.value(), 32767);
}

TEST_F(GdalMatrixTest, GeographicSrtmTileMatchesGdalPixelForPixel) {
    const auto raster = test::sharedData("srtm/N57E011.hgt");
    const auto layout = writeSouthFirstFloats(raster);
    ASSERT_EQ(layout.columns, 1201);
    writeHeader(layout, "Lat/Lon", "-32768");
    const auto outcome = LoadMatrixFiles({path("dem.bin")}, temporaries(), {});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    const auto& header = outcome.terrain->header;
    EXPECT_EQ(header.westBound, 11 * 3600);
    EXPECT_EQ(header.eastBound, 12 * 3600);
    EXPECT_EQ(header.southBound, 57 * 3600);
    EXPECT_EQ(header.northBound, 58 * 3600);
    EXPECT_FLOAT_EQ(header.spacingX, 3.0f);
    EXPECT_FLOAT_EQ(header.spacingY, 3.0f);
    expectSameValues(layout, outcome.terrain.value(), -32768);
}

}  // namespace
}  // namespace tavrok::importers

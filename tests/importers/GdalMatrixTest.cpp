#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "MatrixFixtures.h"
#include "importers/MatrixImporter.h"

namespace tavrok::importers {
namespace {

// Real rasters that other people's tools wrote, turned into matrices with GDAL and read back.
// GDAL also tells us what each pixel holds, so the comparison needs no numbers of our own.

struct RasterLayout {
    int columns = 0;
    int rows = 0;
    double originX = 0;  // west edge of the first column
    double originY = 0;  // north edge of the first row
    double pixelWidth = 0;
    double pixelHeight = 0;  // positive; rows run north to south in the raster
};

RasterLayout LayoutOf(const std::filesystem::path& raster) {
    const auto info = test::runCommand("gdalinfo '" + raster.string() + "'");
    RasterLayout layout;
    std::istringstream lines(info);
    std::string line;
    while (std::getline(lines, line)) {
        std::sscanf(line.c_str(), "Size is %d, %d", &layout.columns, &layout.rows);
        std::sscanf(line.c_str(), "Origin = (%lf,%lf)", &layout.originX, &layout.originY);
        if (std::sscanf(line.c_str(), "Pixel Size = (%lf,%lf)", &layout.pixelWidth,
                        &layout.pixelHeight) == 2) {
            layout.pixelHeight = -layout.pixelHeight;
        }
    }
    return layout;
}

class GdalMatrixTest : public test::MatrixFolderTest {
  protected:
    void SetUp() override {
        test::MatrixFolderTest::SetUp();
        if (!test::haveProgram("gdal_translate") || !test::haveProgram("gdallocationinfo")) {
            GTEST_SKIP() << "GDAL command line tools are not installed";
        }
    }

    // Float32 samples with the southern row first, as our matrices store them.
    void writeSouthFirstFloats(const std::filesystem::path& raster, const RasterLayout& layout) {
        test::runCommand("gdal_translate -q -of ENVI -ot Float32 '" + raster.string() + "' '" +
                         path("gdal.raw").string() + "'");
        std::ifstream in(path("gdal.raw"), std::ios::binary);
        std::vector<float> northFirst(static_cast<std::size_t>(layout.columns) * layout.rows);
        in.read(reinterpret_cast<char*>(northFirst.data()),
                static_cast<std::streamsize>(northFirst.size() * sizeof(float)));
        ASSERT_TRUE(in);
        std::ofstream out(path("dem.bin"), std::ios::binary);
        for (int row = layout.rows - 1; row >= 0; --row) {
            out.write(reinterpret_cast<const char*>(&northFirst[std::size_t(row) * layout.columns]),
                      static_cast<std::streamsize>(layout.columns * sizeof(float)));
        }
    }

    // Corners are the centres of the corner pixels.
    void writeHeader(const RasterLayout& layout, const std::string& projection,
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
        const double left = layout.originX + layout.pixelWidth / 2;
        const double upper = layout.originY - layout.pixelHeight / 2;
        header.left = number(left);
        header.right = number(left + (layout.columns - 1) * layout.pixelWidth);
        header.upper = number(upper);
        header.lower = number(upper - (layout.rows - 1) * layout.pixelHeight);
        header.missingFlag = missingFlag;
        writeFile("dem.hdr", header.text());
    }

    // Checks a spread of pixels against gdallocationinfo; the raster's row r is our row
    // rows - 1 - r.
    void expectSameValues(const std::filesystem::path& raster, const RasterLayout& layout,
                          const LoadedTerrain& terrain, float noData) {
        std::vector<std::pair<int, int>> pixels;
        for (int i = 0; i < 7; ++i) {
            for (int j = 0; j < 7; ++j) {
                pixels.emplace_back(i * (layout.columns - 1) / 6, j * (layout.rows - 1) / 6);
            }
        }
        std::ostringstream points;
        for (const auto& [column, row] : pixels) {
            points << column << ' ' << row << '\n';
        }
        std::ofstream(path("points.txt")) << points.str();
        std::istringstream values(test::runCommand("gdallocationinfo -valonly '" + raster.string() +
                                                   "' < '" + path("points.txt").string() + "'"));
        int present = 0;
        for (const auto& [column, row] : pixels) {
            float expected = 0;
            ASSERT_TRUE(values >> expected) << column << ',' << row;
            const float cell = terrain.grid.at(column, layout.rows - 1 - row);
            if (expected == noData) {
                EXPECT_EQ(cell, terrain::missingCell) << column << ',' << row;
                continue;
            }
            ++present;
            EXPECT_FLOAT_EQ(cell + static_cast<float>(terrain.header.minElevation), expected)
                << column << ',' << row;
        }
        EXPECT_GT(present, 20);
    }
};

TEST_F(GdalMatrixTest, MountHoodUtmRasterMatchesGdalPixelForPixel) {
    const auto raster = test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif");
    const auto layout = LayoutOf(raster);
    ASSERT_EQ(layout.columns, 1013);
    writeSouthFirstFloats(raster, layout);
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
    expectSameValues(raster, layout, outcome.terrain.value(), 32767);
}

TEST_F(GdalMatrixTest, GeographicSrtmTileMatchesGdalPixelForPixel) {
    const auto raster = test::sharedData("srtm/N57E011.hgt");
    const auto layout = LayoutOf(raster);
    ASSERT_EQ(layout.columns, 1201);
    writeSouthFirstFloats(raster, layout);
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
    expectSameValues(raster, layout, outcome.terrain.value(), -32768);
}

}  // namespace
}  // namespace tavrok::importers

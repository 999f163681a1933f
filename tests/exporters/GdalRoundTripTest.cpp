#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "ExportFixtures.h"
#include "exporters/ExportedValues.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"

namespace tavrok::exporters {
namespace {

using importers::MatrixEncoding;
using terrain::ProjectionKind;

// Real terrains saved in every format and read back by GDAL and by our own importers.
struct Input {
    const char* file;  // under the shared test data; empty: the bundled sample
    int epsg;          // what GDAL must find in the GeoTIFF
};
const Input inputs[] = {
    {"", 26910},
    {"srtm/N57E011.hgt", 4326},
    {"geotiff_dem/gdal362_N57E011_float32_wgs84_utm32n_tiled_lzw.tif", 32632},
    {"geotiff_dem/pdal_float32.tif", 26711},
    {"usgsdem/gdal362_storml_elev_utm12n_nad83.dem", 26912},
};

struct Format {
    const char* key;
    const char* extension;
    MatrixEncoding encoding;
    float tolerance;  // of our own importer reading the file back, metres
    bool wholeMetres;
    bool gdalReads;
};
const Format formats[] = {
    {"geotiff", ".tif", MatrixEncoding::Float32, 0, false, true},
    {"usgs", ".dem", MatrixEncoding::Float32, 0, true, true},
    {"matrix", ".bin", MatrixEncoding::Int16, 0, true, true},
    {"matrix", ".bin", MatrixEncoding::Float32, 0, false, true},
    {"matrix", ".txt", MatrixEncoding::Ascii, 0.005f, false, false},
};

class GdalRoundTripTest : public test::ExportFolderTest {
  protected:
    void SetUp() override {
        ExportFolderTest::SetUp();
        if (!test::haveProgram("gdalinfo")) {
            GTEST_SKIP() << "GDAL absent";
        }
    }

    // Where sample (column, row) lies: metres, or degrees for geographic grids.
    static std::pair<double, double> position(const terrain::TerrainHeader& header, int column,
                                              int row) {
        const double scale = header.projection == ProjectionKind::UTM ? 1.0 : 1.0 / 3600;
        const double west = header.westBound * scale;
        const double south = header.southBound * scale;
        return {west + column * (header.eastBound * scale - west) / (header.columns - 1),
                south + row * (header.northBound * scale - south) / (header.rows - 1)};
    }

    // GDAL's pixel holding each sample, its offset from the pixel's centre in cells (worst of
    // the four corners), and how many samples GDAL reads differently.
    static void expectGdalAgrees(const test::GdalView& gdal, const terrain::Terrain& terrain,
                                 const Format& format) {
        const auto& header = terrain.header;
        auto pixel = [&](int column, int row) {
            const auto [x, y] = position(header, column, row);
            return std::pair{(x - gdal.originX) / gdal.pixelX - 0.5,
                             (y - gdal.originY) / gdal.pixelY - 0.5};
        };
        double worst = 0;
        for (const int column : {0, header.columns - 1}) {
            for (const int row : {0, header.rows - 1}) {
                const auto [px, py] = pixel(column, row);
                worst =
                    std::max({worst, std::abs(px - std::round(px)), std::abs(py - std::round(py))});
            }
        }
        // GDAL lays a UTM USGS DEM on multiples of its spacing, so a grid whose corners are
        // not such multiples lands up to half a cell away; every other file to 0.01 cell.
        const bool snapped =
            format.key == std::string("usgs") && header.projection == ProjectionKind::UTM;
        EXPECT_LE(worst, snapped ? 0.5 : 0.01);
        ASSERT_TRUE(gdal.hasNoData);
        // There a sample between two pixel centres lands in one of them, the same for all.
        long fewest = -1;
        for (const int shiftX : snapped ? std::vector{-1, 0, 1} : std::vector{0}) {
            for (const int shiftY : snapped ? std::vector{-1, 0, 1} : std::vector{0}) {
                const long differences =
                    countDifferences(gdal, terrain, format, pixel, shiftX, shiftY);
                fewest = fewest < 0 ? differences : std::min(fewest, differences);
            }
        }
        EXPECT_EQ(fewest, 0);
    }

    template <typename PixelOf>
    static long countDifferences(const test::GdalView& gdal, const terrain::Terrain& terrain,
                                 const Format& format, const PixelOf& pixel, int shiftX,
                                 int shiftY) {
        const auto& header = terrain.header;
        long differences = 0;
        for (int row = 0; row < header.rows; ++row) {
            for (int column = 0; column < header.columns; ++column) {
                const auto [px, py] = pixel(column, row);
                const int x = static_cast<int>(std::lround(px)) + shiftX;
                const int y = static_cast<int>(std::lround(py)) + shiftY;
                if (x < 0 || y < 0 || x >= gdal.columns || y >= gdal.rows) {
                    ++differences;
                    continue;
                }
                const float read = gdal.at(x, y);
                const float cell = terrain.grid.at(column, row);
                if (missingCell(cell)) {
                    differences += read != static_cast<float>(gdal.noData);
                    continue;
                }
                float expected = absoluteElevation(cell, header.minElevation);
                expected = format.wholeMetres ? std::trunc(expected) : expected;
                differences += read != expected;
            }
        }
        return differences;
    }

    // Our importer's reading of the saved file against the terrain it was saved from.
    void expectOurImporterAgrees(const std::filesystem::path& file, const terrain::Terrain& saved,
                                 const Format& format) {
        shell::AppState back;
        back.shell.tempDir = state.shell.tempDir;
        support::ScriptedUi backUi;
        ASSERT_EQ(shell::runImport(back, backUi, shell::loadRequestForFiles({file})),
                  shell::CommandStatus::Done)
            << file;
        const auto& header = back.document.header();
        ASSERT_EQ(header.rows, saved.header.rows);
        ASSERT_EQ(header.columns, saved.header.columns);
        EXPECT_EQ(header.projection, saved.header.projection);
        EXPECT_EQ(header.zoneText, saved.header.zoneText);
        EXPECT_EQ(header.westBound, std::trunc(saved.header.westBound));
        EXPECT_EQ(header.northBound, std::trunc(saved.header.northBound));
        if (saved.header.projection != ProjectionKind::UTM) {
            EXPECT_NEAR(header.westLon, saved.header.westLon, 1e-6);
            EXPECT_NEAR(header.northLat, saved.header.northLat, 1e-6);
        }
        long differences = 0;
        for (int row = 0; row < header.rows; ++row) {
            for (int column = 0; column < header.columns; ++column) {
                const float cell = saved.grid.at(column, row);
                const float read = back.document.grid().at(column, row);
                if (missingCell(cell) || missingCell(read)) {
                    differences += missingCell(cell) != missingCell(read);
                    continue;
                }
                float expected = absoluteElevation(cell, saved.header.minElevation);
                expected = format.wholeMetres ? std::trunc(expected) : expected;
                const float elevation = absoluteElevation(read, header.minElevation);
                differences += std::abs(elevation - expected) > format.tolerance + 1e-3f;
            }
        }
        EXPECT_EQ(differences, 0);
    }
};

TEST_F(GdalRoundTripTest, EveryFormatOfRealTerrainReadsBackInGdalAndInOurImporters) {
    for (const auto& input : inputs) {
        const auto source =
            *input.file ? test::sharedData(input.file) : std::filesystem::path(test::sampleTerrain);
        if (!std::filesystem::exists(source) || !load(source)) {
            continue;
        }
        for (const auto& format : formats) {
            SCOPED_TRACE(source.filename().string() + " as " + format.key + format.extension);
            const auto file = path(std::string("saved") + std::to_string(int(format.encoding)) +
                                   format.extension);
            const auto saved = save(format.key, file, format.encoding);
            ASSERT_TRUE(saved) << saved.error().message() << " " << saved.error().detail;
            if (format.gdalReads) {
                const bool matrix = format.key == std::string("matrix");
                const auto gdal = test::ReadWithGdal(matrix ? test::WriteMatrixVrt(file) : file,
                                                     path("gdal.raw"));
                EXPECT_EQ(gdal.columns, terrain().header.columns);
                if (format.key == std::string("geotiff")) {
                    EXPECT_EQ(gdal.rows, terrain().header.rows);
                    EXPECT_EQ(gdal.type, "Float32");
                    EXPECT_EQ(gdal.epsg, input.epsg);
                }
                expectGdalAgrees(gdal, terrain(), format);
            }
            expectOurImporterAgrees(file, terrain(), format);
        }
    }
}

// Small terrains with holes and unequal spacings on every datum the writer names, and on two it
// has to describe key by key.
TEST_F(GdalRoundTripTest, GeoTiffKeepsRowSpacingDatumAndHoles) {
    using geodesy::EllipsoidId;
    struct Case {
        ProjectionKind projection;
        EllipsoidId ellipsoid;
        char hemisphere;
        int epsg;
        const char* inWkt;  // what GDAL must show where there is no code
    } cases[] = {
        {ProjectionKind::UTM, EllipsoidId::Wgs84, 'N', 32613, ""},
        {ProjectionKind::UTM, EllipsoidId::Wgs72, 'S', 32313, ""},
        {ProjectionKind::UTM, EllipsoidId::Clarke1866, 'N', 26713, ""},
        {ProjectionKind::UTM, EllipsoidId::Grs1980, 'S', 0, "\"False northing\",10000000"},
        {ProjectionKind::LatLon, EllipsoidId::Clarke1866, 'N', 4267, ""},
        {ProjectionKind::LatLon, EllipsoidId::Grs1980, 'N', 4269, ""},
        {ProjectionKind::LatLon, EllipsoidId::Wgs72, 'N', 4322, ""},
        {ProjectionKind::LatLon, EllipsoidId::Wgs84, 'N', 4326, ""},
        {ProjectionKind::LatLon, EllipsoidId::International, 'N', 0, "6378388"},
    };
    const float hole = std::numeric_limits<float>::quiet_NaN();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.epsg << " " << c.inWkt);
        auto made = test::SmallTerrain(3, 4, {-5, 10.5f, hole, 20, 1, 2, 3, 4, hole, 8849, 7, 6});
        auto& header = made.header;
        header.projection = c.projection;
        header.ellipsoid = c.ellipsoid;
        header.hemisphere = c.hemisphere;
        header.zoneText = "13" + std::string(1, c.hemisphere);
        if (c.projection == ProjectionKind::LatLon) {
            // 3 by 2 arc-seconds, corners on whole seconds.
            header.coordinateType = terrain::coordinateTypeGeographic;
            header.westBound = -105 * 3600;
            header.southBound = 40 * 3600;
            header.spacingX = 3;
            header.spacingY = 2;
            header.westLon = -105;
            header.southLat = 40;
            header.eastLon = static_cast<float>((header.westBound + 9) / 3600);
            header.northLat = static_cast<float>((header.southBound + 4) / 3600);
        } else {
            header.spacingY = 20;
        }
        header.eastBound = header.westBound + header.spacingX * 3;
        header.northBound = header.southBound + header.spacingY * 2;
        install(std::move(made.grid), header);
        ASSERT_TRUE(save("geotiff", path("small.tif")));
        const auto gdal = test::ReadWithGdal(path("small.tif"), path("gdal.raw"));
        EXPECT_EQ(gdal.epsg, c.epsg);
        EXPECT_NE(gdal.wkt.find(c.inWkt), std::string::npos) << gdal.wkt;
        EXPECT_EQ(gdal.type, "Float32");
        expectGdalAgrees(gdal, terrain(), formats[0]);
    }
}

}  // namespace
}  // namespace tavrok::exporters

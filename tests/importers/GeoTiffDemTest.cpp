#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MatrixFixtures.h"
#include "importers/GeoTiffDemImporter.h"
#include "importers/RawMatrixBuilder.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

class GeoTiffDemTest : public test::TemporaryFolderTest {
  protected:
    support::Result<GeoTiffDemGrid> convert(const std::filesystem::path& tiff) {
        return ConvertGeoTiffDem(tiff, folder(), RawMatrixDescription{});
    }
    // The whole pipeline: conversion, then the raw matrix builder deleting the grid file.
    support::Result<LoadedTerrain> load(const std::filesystem::path& tiff,
                                        GeoTiffDemGrid* kept = nullptr) {
        auto grid = convert(tiff);
        if (!grid) {
            return grid.error();
        }
        auto loaded = BuildRawMatrix(grid->gridFile, grid->description, true, {});
        EXPECT_FALSE(std::filesystem::exists(grid->gridFile));
        if (kept != nullptr) {
            *kept = std::move(grid).value();
        }
        return loaded;
    }
};

TEST_F(GeoTiffDemTest, RealRastersLoadAsGdalReadsThem) {
    struct Case {
        const char* file;
        double noData;  // GDAL's NoData, NaN when none or NaN
        bool projected;
        const char* zone;
        const char* ellipsoid;
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"gdal362_N57E011_float32_wgs84_utm32n_tiled_lzw.tif", -9999, true, "32N", "WGS84"},
        {"gdal362_N57E011_int16_geographic_bigendian_MM.tif", -32768, false, "", ""},
        {"gdal362_N57E011_int16_geographic_tiled_deflate.tif", -32768, false, "", ""},
        {"gdalraster_lf_elev_220_mt_hood_utm.tif", 32767, true, "10N", "NAD83"},
        {"gdalraster_south-up.tif", none, false, "", ""},
        {"gdalraster_storml_elev.tif", 32767, true, "12N", "NAD83"},
        {"gdalraster_storml_elev_orig.tif", 32767, true, "12N", "NAD83"},
        {"georust_dem-hills.tiff", -999999, false, "", ""},
        {"pdal_float32.tif", none, true, "11N", "NAD27"},
        {"pdal_int16.tif", none, true, "11N", "NAD27"},
    };
    if (!test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "GDAL absent";
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto tiff = test::sharedData(std::string("geotiff_dem/") + c.file);
        if (!std::filesystem::exists(tiff)) {
            continue;
        }
        GeoTiffDemGrid grid;
        auto loaded = load(tiff, &grid);
        ASSERT_TRUE(loaded) << loaded.error().message() << " " << loaded.error().detail;
        const auto gdal = test::ReadWithGdal(tiff, path("gdal.raw"));
        const auto& header = loaded->header;
        ASSERT_EQ(header.columns, gdal.columns);
        ASSERT_EQ(header.rows, gdal.rows);
        const auto& d = grid.description;
        EXPECT_EQ(d.coordinateSystem == terrain::ProjectionKind::UTM, c.projected);
        if (c.projected) {
            EXPECT_EQ(d.zoneText, c.zone);
            EXPECT_EQ(d.ellipsoidText, c.ellipsoid);
        }
        // Corner sample centres to 0.01 cell.
        const double cellX = std::abs(gdal.pixelX);
        const double cellY = std::abs(gdal.pixelY);
        const double gdalWest = gdal.originX + gdal.pixelX / 2;
        const double gdalTop = gdal.pixelY < 0 ? gdal.originY + gdal.pixelY / 2
                                               : gdal.originY + gdal.pixelY * (gdal.rows - 0.5);
        EXPECT_NEAR(d.west, gdalWest, 0.01 * cellX);
        EXPECT_NEAR(d.east, gdalWest + (gdal.columns - 1) * cellX, 0.01 * cellX);
        EXPECT_NEAR(d.north, gdalTop, 0.01 * cellY);
        EXPECT_NEAR(d.south, gdalTop - (gdal.rows - 1) * cellY, 0.01 * cellY);
        // Every sample: missing where GDAL sees NoData or the builder's missing rules apply.
        const bool southUp = gdal.pixelY > 0;
        long differences = 0;
        for (int r = 0; r < gdal.rows; ++r) {
            const int gridRow = southUp ? r : gdal.rows - 1 - r;
            for (int col = 0; col < gdal.columns; ++col) {
                const float value = gdal.at(col, r);
                const bool missing = std::isnan(value) || value == static_cast<float>(c.noData) ||
                                     value == -9999.0f || value <= -32767.0f;
                const float expected = missing ? terrain::missingCell
                                               : static_cast<float>(value - header.minElevation);
                const float actual = loaded->grid.at(col, gridRow);
                differences +=
                    std::abs(actual - expected) > 1e-3f * std::max(1.0f, std::abs(expected));
            }
        }
        EXPECT_EQ(differences, 0);
        EXPECT_NE(grid.listing.find("Corner Coordinates:\nUpper Left    ("), std::string::npos)
            << grid.listing;
    }
}

TEST_F(GeoTiffDemTest, RefusesRastersThatAreNotElevations) {
    struct Case {
        const char* file;
        ErrorCode code;
    };
    const Case cases[] = {
        {"geotiff_dem/rasterio_byte.tif", ErrorCode::NotAGeoTiffDem},
        {"geotiff_dem/rasterio_float.tif", ErrorCode::NotAGeoTiffDem},
        {"geotiff_dem/gdalraster_lf_elev_220_metadata.html", ErrorCode::GeoTiffFileError},
    };
    for (const auto& c : cases) {
        const auto file = test::sharedData(c.file);
        if (!std::filesystem::exists(file)) {
            continue;
        }
        auto grid = convert(file);
        ASSERT_FALSE(grid) << c.file;
        EXPECT_EQ(grid.error().code, c.code) << c.file;
        EXPECT_TRUE(listFolder().empty()) << c.file;
    }
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <sstream>

#include "MatrixFixtures.h"
#include "importers/SrtmImporter.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using SampleAt = std::function<std::int16_t(int row, int column)>;  // row 0 = first in file

// Writes a grid of 16-bit samples, rows in file order, in the chosen byte order.
std::string encode(int rows, int columns, const SampleAt& sample, bool bigEndian) {
    std::string bytes(static_cast<std::size_t>(rows) * columns * 2, '\0');
    std::size_t at = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const auto word = static_cast<std::uint16_t>(sample(r, c));
            const char high = static_cast<char>(word >> 8);
            const char low = static_cast<char>(word & 0xff);
            bytes[at++] = bigEndian ? high : low;
            bytes[at++] = bigEndian ? low : high;
        }
    }
    return bytes;
}

class SrtmImporterTest : public test::TemporaryFolderTest {
  protected:
    std::filesystem::path writeHgt(std::string_view name, const SampleAt& sample, int side = 1201) {
        return writeFile(name, encode(side, side, sample, true));
    }
    // A ".bil" with its ".hdr" and ".blw": upper-left sample centre (left, upper), square pixels.
    std::filesystem::path writeBil(std::string_view base, int rows, int columns, double left,
                                   double upper, double pixel, const SampleAt& sample) {
        std::ostringstream header;
        header << "BYTEORDER I\nLAYOUT BIL\nNROWS " << rows << "\nNCOLS   " << columns
               << "\nNBANDS 1\nNBITS 16\n";
        writeFile(std::string(base) + ".hdr", header.str());
        std::ostringstream world;
        world.precision(17);
        world << pixel << "\n0\n0\n" << -pixel << "\n" << left << "\n" << upper << "\n";
        writeFile(std::string(base) + ".blw", world.str());
        return writeFile(std::string(base) + ".bil", encode(rows, columns, sample, false));
    }
};

TEST(HgtCornerFromName, TakesTheFirstLetterFollowedByDigits) {
    struct Case {
        const char* name;
        double latitude;
        double longitude;
    };
    const Case cases[] = {
        {"N36W112", 36, -112},
        {"S12E045", -12, 45},
        {"s12e045", -12, 45},
        {"n00e000", 0, 0},
        {"tile_N57E011_v3", 57, 11},
        {"E045", 9999, 45},
        {"N36", 36, 9999},
        {"NorthN10W005", 10, -5},
        {"", 9999, 9999},
        // Beyond the tiles that exist: 89 degrees of latitude and 180 of longitude.
        {"N89W181", 89, 9999},
        {"N90E000", 9999, 0},
        {"S89W180", -89, -180},
    };
    for (const auto& c : cases) {
        const auto corner = HgtCornerFromName(c.name);
        EXPECT_EQ(corner.latitude, c.latitude) << c.name;
        EXPECT_EQ(corner.longitude, c.longitude) << c.name;
    }
}

TEST_F(SrtmImporterTest, PlacesHgtTilesByNameWithThreeArcSecondSpacing) {
    struct Case {
        const char* file;
        float south, north, west, east;
    };
    const Case cases[] = {{"N36W112.hgt", 36, 37, -112, -111}, {"S12E045.HGT", -12, -11, 45, 46}};
    for (const auto& c : cases) {
        const auto file = writeHgt(c.file, [](int r, int col) { return std::int16_t(r + col); });
        auto outcome = LoadSrtmFiles({file}, {});
        ASSERT_TRUE(outcome.terrain) << c.file;
        const auto& header = outcome.terrain->header;
        EXPECT_EQ(header.rows, 1201);
        EXPECT_EQ(header.columns, 1201);
        EXPECT_EQ(header.projection, terrain::ProjectionKind::LatLon);
        EXPECT_EQ(header.coordinateType, terrain::coordinateTypeGeographic);
        EXPECT_EQ(header.southLat, c.south);
        EXPECT_EQ(header.northLat, c.north);
        EXPECT_EQ(header.westLon, c.west);
        EXPECT_EQ(header.eastLon, c.east);
        EXPECT_EQ(header.southBound, c.south * 3600);
        EXPECT_EQ(header.westBound, c.west * 3600);
        EXPECT_FLOAT_EQ(header.spacingX, 3.0f);
        EXPECT_FLOAT_EQ(header.spacingY, 3.0f);
        const double centre = (c.south + c.north) / 2;
        EXPECT_NEAR(header.metresPerUnitX,
                    std::cos(centre / 57.29578) * 6378000 / (3600 * 57.29578), 1e-3);
        // File row 0 is the north edge; the south-west cell is file row 1200, column 0.
        const auto& grid = outcome.terrain->grid;
        EXPECT_EQ(grid.at(0, 0), 1200.0f);
        EXPECT_EQ(grid.at(5, 1200), 5.0f);
    }
}

TEST_F(SrtmImporterTest, WrongSizeOrUnplaceableHgtIsOfferedToTheRawBuilder) {
    struct Case {
        const char* file;
        std::size_t bytes;
        ErrorCode code;
    };
    const Case cases[] = {
        {"N36W112.hgt", 2884800, ErrorCode::ImproperRowsOrColumns},
        {"N36W112.hgt", 100, ErrorCode::ImproperRowsOrColumns},
        {"tile.hgt", 2884802, ErrorCode::LongitudeOutOfRange},
        {"W010.hgt", 2884802, ErrorCode::LatitudeOutOfRange},
        {"N95W010.hgt", 2884802, ErrorCode::LatitudeOutOfRange},
    };
    for (const auto& c : cases) {
        const auto file = writeFile(c.file, std::string(c.bytes, '\0'));
        auto outcome = LoadSrtmFiles({file}, {});
        ASSERT_FALSE(outcome.terrain) << c.file;
        EXPECT_EQ(outcome.terrain.error().code, c.code) << c.file;
        EXPECT_TRUE(outcome.fallback.has_value());
    }
}

TEST_F(SrtmImporterTest, OnlyTheVoidValueIsMissingInHgt) {
    // Ground below sea level and at 0 m is kept; -32768 alone is a void.
    const auto file = writeHgt("N57E011.hgt", [](int r, int c) -> std::int16_t {
        if (r == 0 && c < 3)
            return std::int16_t{-32768};
        if (r == 1 && c == 0)
            return std::int16_t{-6};
        if (r == 2 && c == 0)
            return std::int16_t{0};
        return std::int16_t{40};
    });
    auto record = ReadSrtmTile(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->minElevation, -6.0f);
    EXPECT_EQ(record->maxElevation, 40.0f);
    EXPECT_EQ(record->grid.at(0, 1200), -1.0f);
    EXPECT_EQ(record->grid.at(2, 1200), -1.0f);
    EXPECT_EQ(record->grid.at(3, 1200), 46.0f);
    EXPECT_EQ(record->grid.at(0, 1199), 0.0f);  // -6 m is the minimum
    EXPECT_EQ(record->grid.at(0, 1198), 6.0f);  // 0 m
}

TEST_F(SrtmImporterTest, TileAboveSeaLevelKeepsEverySample) {
    const auto file =
        writeHgt("N10E010.hgt", [](int r, int c) { return std::int16_t(100 + (r * 7 + c) % 50); });
    auto record = ReadSrtmTile(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->minElevation, 100.0f);
    EXPECT_EQ(record->maxElevation, 149.0f);
    for (const float cell : record->grid.cells()) {
        ASSERT_GE(cell, 0.0f);
    }
}

TEST_F(SrtmImporterTest, AdjacentTilesMergeWithTheSecondOwningTheSharedColumn) {
    const auto west = writeHgt("N36W112.hgt", [](int, int) { return std::int16_t{100}; });
    const auto east =
        writeHgt("N36W111.hgt", [](int r, int) { return std::int16_t(r == 5 ? -32768 : 50); });
    auto outcome = LoadSrtmFiles({west, east}, {});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    const auto& [grid, header, source] = outcome.terrain.value();
    EXPECT_EQ(header.rows, 1201);
    EXPECT_EQ(header.columns, 2401);
    EXPECT_EQ(header.westLon, -112.0f);
    EXPECT_EQ(header.eastLon, -110.0f);
    EXPECT_EQ(header.minElevation, 50.0);
    EXPECT_EQ(header.maxElevation, 100.0);
    EXPECT_TRUE(header.title.empty());
    EXPECT_EQ(grid.at(0, 0), 50.0f);    // west tile: 100 m
    EXPECT_EQ(grid.at(1200, 0), 0.0f);  // shared column: the east tile's 50 m
    EXPECT_EQ(grid.at(2400, 0), 0.0f);
    // A void of the east tile does not overwrite the west tile's sample on the shared column;
    // the rest of its void row is interior and filled from above and below.
    EXPECT_EQ(grid.at(1200, 1195), 50.0f);
    EXPECT_EQ(grid.at(1800, 1195), 0.0f);
}

TEST_F(SrtmImporterTest, MergeRefusesDifferentSpacingsAndUnreadableFiles) {
    const auto hgt = writeHgt("N36W112.hgt", [](int, int) { return std::int16_t{1}; });
    const auto bil =
        writeBil("fine", 11, 11, -111.0, 37.0, 0.01, [](int, int) { return std::int16_t{5}; });
    const auto broken = writeFile("N36W110.hgt", "short");
    auto incompatible = LoadSrtmFiles({hgt, bil}, {});
    ASSERT_FALSE(incompatible.terrain);
    EXPECT_EQ(incompatible.terrain.error().code, ErrorCode::IncompatibleMatrixFiles);
    EXPECT_FALSE(incompatible.fallback.has_value());
    auto unreadable = LoadSrtmFiles({hgt, broken}, {});
    ASSERT_FALSE(unreadable.terrain);
    EXPECT_EQ(unreadable.terrain.error().code, ErrorCode::CannotLoadAllMatrixFiles);
    EXPECT_FALSE(unreadable.fallback.has_value());
}

TEST_F(SrtmImporterTest, BilGridTakesItsSideFilesAndTreatsZeroAndUsgsVoidsAsMissing) {
    const auto file = writeBil("grid", 3, 4, 10.0, 20.0, 0.5, [](int r, int c) -> std::int16_t {
        const std::int16_t file[3][4] = {{0, 5, 6, 7}, {-32767, 9, -32768, 11}, {12, 13, -3, 15}};
        return file[r][c];
    });
    auto record = ReadSrtmTile(file);
    ASSERT_TRUE(record) << record.error().detail;
    EXPECT_EQ(record->rows, 3);
    EXPECT_EQ(record->columns, 4);
    EXPECT_EQ(record->upperLatitude, 20.0);
    EXPECT_EQ(record->lowerLatitude, 19.0);
    EXPECT_EQ(record->leftLongitude, 10.0);
    EXPECT_EQ(record->rightLongitude, 11.5);
    EXPECT_EQ(record->minElevation, -3.0f);
    EXPECT_EQ(record->maxElevation, 15.0f);
    const auto& grid = record->grid;
    EXPECT_EQ(grid.at(0, 2), -1.0f);  // 0 in the first (north) file row
    EXPECT_EQ(grid.at(0, 1), -1.0f);  // -32767
    EXPECT_EQ(grid.at(2, 1), -1.0f);  // -32768
    EXPECT_EQ(grid.at(2, 0), 0.0f);   // -3 m, the minimum
    EXPECT_EQ(grid.at(3, 2), 10.0f);  // 7 m
}

TEST_F(SrtmImporterTest, BilWithUnusableSideFilesIsOfferedToTheRawBuilder) {
    struct Case {
        const char* what;
        const char* sideFile;  // the side file replaced
        const char* text;      // its new contents; null: the file is removed
        ErrorCode code;
    };
    const Case cases[] = {
        {"no hdr", ".hdr", nullptr, ErrorCode::SilentFailure},
        {"no blw", ".blw", nullptr, ErrorCode::SilentFailure},
        {"value past end", ".hdr", "NCOLS 4\nNROWS", ErrorCode::SilentFailure},
        {"too many rows", ".hdr", "ncols 4 nrows 2000000000", ErrorCode::ImproperRowsOrColumns},
        {"lowest int rows", ".hdr", "ncols 4 nrows -2147483648", ErrorCode::ImproperRowsOrColumns},
        {"one column", ".hdr", "ncols 1 nrows 3", ErrorCode::ImproperRowsOrColumns},
        {"grid larger than file", ".hdr", "ncols 40 nrows 3", ErrorCode::ImproperRowsOrColumns},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file =
            writeBil("spoiled", 3, 4, 10.0, 20.0, 0.5, [](int, int) { return std::int16_t{1}; });
        const auto sideFile = std::filesystem::path(file).replace_extension(c.sideFile);
        if (c.text != nullptr) {
            writeFile(sideFile.filename().string(), c.text);
        } else {
            std::filesystem::remove(sideFile);
        }
        auto outcome = LoadSrtmFiles({file}, {});
        ASSERT_FALSE(outcome.terrain);
        EXPECT_EQ(outcome.terrain.error().code, c.code);
        EXPECT_TRUE(outcome.fallback.has_value());
    }
}

// --- Real tiles, compared with GDAL's reading -----------------------------------------------

TEST_F(SrtmImporterTest, RealHgtTileMatchesGdal) {
    const auto tile = test::sharedData("srtm/N57E011.hgt");
    if (!std::filesystem::exists(tile) || !test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "real tile or GDAL absent";
    }
    auto outcome = LoadSrtmFiles({tile}, {});
    ASSERT_TRUE(outcome.terrain);
    const auto& [grid, header, source] = outcome.terrain.value();
    EXPECT_EQ(header.minElevation, -6.0);  // sea-floor samples survive
    EXPECT_EQ(header.maxElevation, 163.0);
    EXPECT_EQ(header.westLon, 11.0f);
    EXPECT_EQ(header.northLat, 58.0f);
    const auto gdal = test::ReadWithGdal(tile, path("gdal.raw"));
    ASSERT_EQ(gdal.rows, 1201);
    long differences = 0;
    for (int r = 0; r < 1201; ++r) {
        for (int c = 0; c < 1201; ++c) {
            differences += grid.at(c, 1200 - r) != gdal.at(c, r) - header.minElevation;
        }
    }
    EXPECT_EQ(differences, 0);
    // GDAL's geotransform puts the upper-left sample centre at (11, 58).
    EXPECT_NEAR(gdal.originX + gdal.pixelX / 2, 11.0, 1e-12);
    EXPECT_NEAR(gdal.originY + gdal.pixelY / 2, 58.0, 1e-12);
}

TEST_F(SrtmImporterTest, RealUsgsBilPairMergesAlongItsSharedRow) {
    const auto south = test::sharedData("ehdr_bil/srtmlib_n15_w062_3arc_v2.bil");
    const auto north = test::sharedData("ehdr_bil/srtmlib_n16_w062_3arc_v2.bil");
    if (!std::filesystem::exists(south) || !std::filesystem::exists(north)) {
        GTEST_SKIP() << "real .bil tiles absent";
    }
    // USGS side files: ULXMAP -62, ULYMAP lat + 1, 1/1200 degree pixels.
    std::vector<std::filesystem::path> copies;
    for (const auto& [source, upper] : {std::pair{south, 16}, std::pair{north, 17}}) {
        const auto copy = path(source.filename().string());
        std::filesystem::copy_file(source, copy);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        writeFile(copy.stem().string() + ".hdr", "BYTEORDER I\nNROWS 1201\nNCOLS 1201\nNBITS 16\n");
        writeFile(
            copy.stem().string() + ".blw",
            "0.000833333333333\n0\n0\n-0.000833333333333\n-62\n" + std::to_string(upper) + "\n");
        copies.push_back(copy);
    }
    auto outcome = LoadSrtmFiles(copies, {});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().message();
    const auto& [grid, header, source] = outcome.terrain.value();
    EXPECT_EQ(header.rows, 2401);
    EXPECT_EQ(header.columns, 1201);
    EXPECT_NEAR(header.southLat, 15.0, 1e-6);
    EXPECT_EQ(header.northLat, 17.0f);
    EXPECT_EQ(header.minElevation, -32.0);
    EXPECT_EQ(header.maxElevation, 1456.0);
    if (!test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "GDAL absent";
    }
    // The north tile read by GDAL as a headerless little-endian raw grid.
    const auto vrt = path("north.vrt");
    writeFile(
        "north.vrt",
        "<VRTDataset rasterXSize=\"1201\" rasterYSize=\"1201\"><VRTRasterBand dataType=\"Int16\" "
        "band=\"1\" subClass=\"VRTRawRasterBand\"><SourceFilename relativetoVRT=\"1\">" +
            copies[1].filename().string() +
            "</SourceFilename><ByteOrder>LSB</ByteOrder><PixelOffset>2</PixelOffset>"
            "<LineOffset>2402</LineOffset></VRTRasterBand></VRTDataset>");
    const auto gdal = test::ReadWithGdal(vrt, path("north.raw"));
    ASSERT_EQ(gdal.rows, 1201);
    long differences = 0;
    for (int r = 0; r < 1201; ++r) {
        for (int c = 0; c < 1201; ++c) {
            const float sample = gdal.at(c, r);
            const float value = sample == 0 ? grid.at(c, 2400 - r) : sample - header.minElevation;
            differences += grid.at(c, 2400 - r) != value;
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MatrixFixtures.h"
#include "importers/MatrixImporter.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using terrain::ProjectionKind;

constexpr double metresPerArcSecondAtEquator = 6378000.0 / (3600 * 57.29578);

class MatrixImporterTest : public test::MatrixFolderTest {
  protected:
    ImportOutcome load(const std::filesystem::path& data,
                           const support::ProgressCallback& progress = {}) {
        return LoadMatrixFiles({data}, temporaries(), progress);
    }
    // Loads a one-file float32 matrix and returns its stored grid row by row.
    LoadedTerrain loadFloats(const test::MatrixHeaderText& header,
                             const std::vector<float>& samples) {
        auto outcome = load(writeFloatMatrix("dem", header, samples));
        EXPECT_TRUE(outcome.terrain) << outcome.terrain.error().message();
        EXPECT_TRUE(leftoverTemporaries().empty());
        return outcome.terrain ? std::move(outcome.terrain.value()) : LoadedTerrain{};
    }
};

TEST_F(MatrixImporterTest, LoadsFloat32UtmMatrixWithEveryHeaderField) {
    const std::vector<float> samples{100, 101, 102, 103, 104, -9999, 106, 107, 108, 109, 110, 111};
    const auto terrain = loadFloats({}, samples);
    ASSERT_EQ(terrain.grid.rows(), 3);
    EXPECT_EQ(terrain.grid.at(0, 0), 0.0f);  // the lowest valid cell is 0 and stays valid
    EXPECT_EQ(terrain.grid.at(3, 0), 3.0f);
    EXPECT_EQ(terrain.grid.at(1, 1), terrain::missingCell);
    EXPECT_EQ(terrain.grid.at(3, 2), 11.0f);  // the file's last row is the north edge
    const auto& header = terrain.header;
    EXPECT_EQ(header.title, "Test Matrix");
    EXPECT_EQ(header.columns, 4);
    EXPECT_EQ(header.projection, ProjectionKind::UTM);
    EXPECT_EQ(header.gridKind, terrain::gridKindDem);
    EXPECT_EQ(header.coordinateType, terrain::coordinateTypeUtm);
    EXPECT_EQ(header.zoneText, "13N");
    EXPECT_EQ(header.utmZone, 13);
    EXPECT_EQ(header.hemisphere, 'N');
    EXPECT_EQ(header.ellipsoid, geodesy::EllipsoidId::Clarke1866);
    EXPECT_EQ(header.ellipsoidCode, 1);
    EXPECT_EQ(header.westBound, 500000);
    EXPECT_EQ(header.eastBound, 500090);
    EXPECT_EQ(header.southBound, 4400000);
    EXPECT_EQ(header.northBound, 4400060);
    EXPECT_EQ(header.originX, 500000);
    EXPECT_EQ(header.maxY, 4400060);
    EXPECT_EQ(header.spacingX, 30.0f);
    EXPECT_EQ(header.spacingY, 30.0f);
    EXPECT_EQ(header.metresPerUnitX, 1.0f);
    EXPECT_EQ(header.verticalUnitFactor, 1.0f);
    EXPECT_EQ(header.minElevation, 100);
    EXPECT_EQ(header.maxElevation, 111);
    EXPECT_EQ(header.missingFlag, -9999);
    // Easting 500000 lies on the central meridian of zone 13.
    EXPECT_NEAR(header.westLon, -105.0, 1e-6);
    EXPECT_GT(header.eastLon, header.westLon);
    EXPECT_NEAR(header.southLat, 39.75, 0.05);
    EXPECT_NEAR(header.northLat - header.southLat, 60 / 111000.0, 1e-5);
    EXPECT_EQ(listFolder(), (std::vector<std::string>{"dem.bin", "dem.hdr", "temporaries"}));
}

TEST_F(MatrixImporterTest, LegacyHeaderStoresTheFirstFileRowInTheNorth) {
    auto text = test::MatrixHeaderText{}.text();
    text.replace(text.find("data_format"), 11, "data_value_unit");
    writeFile("old.hdr", text);
    const std::vector<std::int16_t> samples{9, 9, 9, 9, 5, 5, 5, 5, 1, 1, 1, 2};
    const auto data = writeBinary("old.bin", samples.data(), samples.size() * 2);
    const auto outcome = load(data);
    ASSERT_TRUE(outcome.terrain);
    EXPECT_EQ(outcome.terrain->grid.at(0, 2), 8.0f);
    EXPECT_EQ(outcome.terrain->grid.at(3, 0), 1.0f);
    EXPECT_EQ(outcome.terrain->header.minElevation, 1);
}

TEST_F(MatrixImporterTest, FeetBecomeMetres) {
    test::MatrixHeaderText header;
    header.unit = "feet";
    header.rows = 2;
    header.columns = 2;
    header.right = "500030";
    header.upper = "4400030";
    const auto terrain = loadFloats(header, {1000, 2000, -9999, 1000});
    EXPECT_FLOAT_EQ(terrain.grid.at(1, 0), 304.8f);
    EXPECT_EQ(terrain.grid.at(0, 1), terrain::missingCell);
    EXPECT_FLOAT_EQ(terrain.header.minElevation, 304.8f);
    EXPECT_FLOAT_EQ(terrain.header.maxElevation, 609.6f);
    EXPECT_EQ(terrain.header.verticalUnitFactor, 1.0f);
}

TEST_F(MatrixImporterTest, DepthsBecomeNegativeElevations) {
    test::MatrixHeaderText header;
    header.dataType = "depth";
    header.rows = 2;
    header.columns = 2;
    header.right = "500030";
    header.upper = "4400030";
    const auto terrain = loadFloats(header, {10, 500, 250, -9999});
    EXPECT_EQ(terrain.header.minElevation, -500);
    EXPECT_EQ(terrain.header.maxElevation, -10);
    EXPECT_EQ(terrain.header.dataType, terrain::DataType::Depth);
    EXPECT_EQ(terrain.grid.at(0, 0), 490.0f);
    EXPECT_EQ(terrain.grid.at(1, 0), 0.0f);
    EXPECT_EQ(terrain.grid.at(1, 1), terrain::missingCell);
}

TEST_F(MatrixImporterTest, GeographicMatrixBoundsInArcSeconds) {
    test::MatrixHeaderText header;
    header.projection = "Lat/Lon";
    header.left = "-105.5";
    header.right = "-105.25";
    header.lower = "44.1";
    header.upper = "44.2";
    header.rows = 3;
    header.columns = 6;
    std::vector<float> samples(18, 1.0f);
    samples[17] = 2;
    const auto loaded = loadFloats(header, samples);
    const auto& h = loaded.header;
    EXPECT_EQ(h.gridKind, terrain::gridKindDem);
    EXPECT_EQ(h.coordinateType, terrain::coordinateTypeGeographic);
    EXPECT_EQ(h.westBound, -379800);
    EXPECT_EQ(h.eastBound, -378900);
    EXPECT_EQ(h.southBound, 158760);
    EXPECT_EQ(h.northBound, 159120);
    EXPECT_FLOAT_EQ(h.spacingX, 180.0f);
    EXPECT_FLOAT_EQ(h.spacingY, 180.0f);
    EXPECT_FLOAT_EQ(h.westLon, -105.5f);
    EXPECT_FLOAT_EQ(h.northLat, 44.2f);
    // Square cells in degrees: one cosine of the centre latitude.
    EXPECT_NEAR(h.metresPerUnitX, metresPerArcSecondAtEquator * std::cos(44.15 * M_PI / 180), 1e-3);
}

TEST_F(MatrixImporterTest, CellsNotSquareInDegreesShrinkTheScaleOnceMore) {
    test::MatrixHeaderText header;
    header.projection = "Lat/Lon";
    header.left = "10";
    header.right = "12";
    header.lower = "60";
    header.upper = "61";
    header.rows = 2;
    header.columns = 2;
    const auto terrain = loadFloats(header, {1, 2, 3, 4});
    EXPECT_NEAR(terrain.header.metresPerUnitX,
                metresPerArcSecondAtEquator * std::pow(std::cos(60.5 * M_PI / 180), 2), 1e-3);
}

TEST_F(MatrixImporterTest, SineEqualAreaLoadsAsSinusoidal) {
    test::MatrixHeaderText header;
    header.projection = "Sine Equal Area";
    header.left = "-20";
    header.right = "40";
    header.lower = "-10";
    header.upper = "20";
    header.rows = 4;
    header.columns = 7;
    std::vector<float> samples(28, 5.0f);
    samples[0] = 1;
    const auto terrain = loadFloats(header, samples);
    const auto& h = terrain.header;
    EXPECT_EQ(h.projection, ProjectionKind::Sinusoidal);
    EXPECT_EQ(h.gridKind, terrain::gridKindSinusoidal);
    EXPECT_EQ(h.coordinateType, terrain::coordinateTypeGeographic);
    EXPECT_FLOAT_EQ(h.degreesPerRow, 10.0f);
    EXPECT_FLOAT_EQ(h.degreesPerColumn, 10.0f);
    EXPECT_FLOAT_EQ(h.sinusoidalCentralMeridian, 10.0f);
}

TEST_F(MatrixImporterTest, AsciiMatrixReadsNumbersSeparatedByAnyWhiteSpace) {
    test::MatrixHeaderText header;
    header.format = "ascii";
    writeFile("a.hdr", header.text());
    const auto data = writeFile("a.txt", "1 2 3 4\n\t5.5 6 7 8\r\n+9 10 1e1 -9999\n");
    const auto outcome = load(data);
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    EXPECT_EQ(outcome.terrain->grid.at(0, 1), 4.5f);
    EXPECT_EQ(outcome.terrain->grid.at(2, 2), 9.0f);
    EXPECT_EQ(outcome.terrain->grid.at(3, 2), terrain::missingCell);

    writeFile("a.txt", "1 2 3 4 5 6 7 8 9 10 11");
    const auto shortFile = load(data);
    EXPECT_EQ(shortFile.terrain.error().code, ErrorCode::ImproperRowsOrColumns);
    EXPECT_TRUE(shortFile.fallback.has_value());
}

TEST_F(MatrixImporterTest, NanAndInfiniteSamplesAreMissing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const auto terrain = loadFloats({}, {1, nan, infinity, -infinity, 5, 5, 5, 5, 5, 5, 5, 5});
    EXPECT_EQ(terrain.grid.at(1, 0), terrain::missingCell);
    EXPECT_EQ(terrain.grid.at(2, 0), terrain::missingCell);
    EXPECT_EQ(terrain.grid.at(3, 0), terrain::missingCell);
    EXPECT_EQ(terrain.header.maxElevation, 5);
}

TEST_F(MatrixImporterTest, StopDuringConversionLeavesNoTerrainAndNoRawBuilder) {
    const auto data = writeFloatMatrix("dem", {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    int calls = 0;
    const auto outcome = load(data, [&](long, long) { return ++calls < 2; });
    EXPECT_EQ(outcome.terrain.error().code, ErrorCode::OperationCancelled);
    EXPECT_FALSE(outcome.fallback.has_value());
}

TEST(MatrixFilesFromSelection, DropsHeaderAndDemFiles) {
    const auto kept = MatrixFilesFromSelection({"/d/a.bin", "/d/a.HDR", "/d/b.Dem", "/d/c.txt"});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept.value(), (std::vector<std::filesystem::path>{"/d/a.bin", "/d/c.txt"}));
    EXPECT_EQ(MatrixFilesFromSelection({"/d/a.hdr", "/d/b.dem"}).error().message(),
              "No Valid Matrix Files");
    EXPECT_EQ(MatrixFilesFromSelection({"/d/a.hdr"}).error().message(), "File is not valid matrix");
    EXPECT_TRUE(MatrixFilesFromSelection({"/d/a"}));
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include "MatrixFixtures.h"
#include "importers/MatrixImporter.h"
#include "importers/MatrixMerge.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

// A 5 x 3 UTM tile of 30 m spacing whose samples are base + column.
test::MatrixHeaderText Tile(int leftEasting) {
    test::MatrixHeaderText header;
    header.rows = 5;
    header.columns = 3;
    header.left = std::to_string(leftEasting);
    header.right = std::to_string(leftEasting + 60);
    header.lower = "4400000";
    header.upper = "4400120";
    return header;
}

std::vector<float> TileSamples(float base) {
    std::vector<float> samples;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            samples.push_back(base + column);
        }
    }
    return samples;
}

class MatrixMergeTest : public test::MatrixFolderTest {
  protected:
    ImportOutcome merge(const std::vector<std::filesystem::path>& paths) {
        auto outcome = LoadMatrixFiles(paths, temporaries(), {});
        EXPECT_TRUE(leftoverTemporaries().empty());
        EXPECT_FALSE(outcome.fallback.has_value());
        return outcome;
    }
    // Merges a standard first tile with a second one and returns the error text.
    std::string refusal(const test::MatrixHeaderText& second) {
        const auto first = writeFloatMatrix("first", Tile(500000), TileSamples(100));
        const auto other = writeFloatMatrix("second", second, TileSamples(200));
        const auto outcome = merge({first, other});
        return outcome.terrain ? "merged" : std::string(outcome.terrain.error().message());
    }
};

TEST_F(MatrixMergeTest, AdjacentTilesOneSampleApartFillTheMissingColumn) {
    // A file of the user's own with the name our temporaries used to take beside the data.
    writeFile("matrix_0.bin", "the user's file");
    const auto west = writeFloatMatrix("west", Tile(500000), TileSamples(100));
    const auto east = writeFloatMatrix("east", Tile(500120), TileSamples(200));
    const auto outcome = merge({west, east});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    const auto& grid = outcome.terrain->grid;
    const auto& header = outcome.terrain->header;
    ASSERT_EQ(grid.columns(), 7);
    ASSERT_EQ(grid.rows(), 5);
    EXPECT_EQ(grid.at(2, 2), 2.0f);
    EXPECT_EQ(grid.at(4, 2), 100.0f);  // lifted to the merged minimum
    EXPECT_EQ(grid.at(6, 4), 102.0f);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid.at(3, row), 51.0f) << row;
    }
    EXPECT_EQ(grid.at(3, 0), terrain::missingCell);  // edges are not seams
    EXPECT_EQ(grid.at(3, 4), terrain::missingCell);
    EXPECT_EQ(header.title, "");
    EXPECT_EQ(header.zoneText, "13N");
    EXPECT_EQ(header.westBound, 500000);
    EXPECT_EQ(header.eastBound, 500180);
    EXPECT_EQ(header.minElevation, 100);
    EXPECT_EQ(header.maxElevation, 202);
    EXPECT_EQ(test::readFile(path("matrix_0.bin")), "the user's file");
}

TEST_F(MatrixMergeTest, LaterFilesOverwriteEarlierOnesExceptWhereMissing) {
    auto laterSamples = TileSamples(50);
    laterSamples[7] = -9999;
    const auto first = writeFloatMatrix("first", Tile(500000), TileSamples(100));
    const auto later = writeFloatMatrix("later", Tile(500000), laterSamples);
    const auto outcome = merge({first, later});
    ASSERT_TRUE(outcome.terrain);
    const auto& grid = outcome.terrain->grid;
    EXPECT_EQ(grid.at(0, 0), 0.0f);   // 50, the later file's lowest valid cell
    EXPECT_EQ(grid.at(1, 2), 51.0f);  // 101 of the first file shows through
    EXPECT_EQ(outcome.terrain->header.minElevation, 50);
}

TEST_F(MatrixMergeTest, MatrixOnAnotherEllipsoidMovesOntoTheFirstOne) {
    auto second = Tile(500000);
    second.ellipsoid = "WGS84";
    const auto first = writeFloatMatrix("first", Tile(500000), TileSamples(100));
    const auto other = writeFloatMatrix("second", second, TileSamples(200));
    auto firstRecord = ReadMatrixFile(first, {});
    auto laterRecord = ReadMatrixFile(other, {});
    ASSERT_TRUE(firstRecord && laterRecord);
    ASSERT_TRUE(ReconcileWithFirst(firstRecord.value(), laterRecord.value()));
    // Expected corners from cs2cs: UTM 13 on WGS 84 to UTM 13 on Clarke 1866, no datum shift.
    EXPECT_EQ(laterRecord->ellipsoid, geodesy::EllipsoidId::Clarke1866);
    EXPECT_EQ(laterRecord->left, 500000);
    EXPECT_EQ(laterRecord->right, 500060);
    EXPECT_NEAR(laterRecord->lower, 4399790, 1);
    EXPECT_NEAR(laterRecord->upper, 4399910, 1);

    const auto outcome = merge({first, other});
    ASSERT_TRUE(outcome.terrain);
    EXPECT_EQ(outcome.terrain->header.ellipsoid, geodesy::EllipsoidId::Clarke1866);
    EXPECT_NEAR(outcome.terrain->header.southBound, 4399790, 1);
    EXPECT_EQ(outcome.terrain->grid.rows(),
              (4400120 - outcome.terrain->header.southBound) / 30 + 1);
}

TEST_F(MatrixMergeTest, RefusesMatricesThatDoNotFitTogether) {
    auto xy = Tile(500000);
    xy.projection = "X/Y";
    EXPECT_EQ(refusal(xy), "DEMs Have Different Map Projections.");

    auto coarse = Tile(500000);
    coarse.right = "500064";  // 32 m columns
    EXPECT_EQ(refusal(coarse), "DEMs Have Different Grid Resolutions.");
    coarse.right = "500062";  // 31 m columns are close enough
    EXPECT_EQ(refusal(coarse), "merged");

    auto otherZone = Tile(500000);
    otherZone.projection = "UTM Zone 14 N";
    EXPECT_EQ(refusal(otherZone), "DEMs Are From Different UTM Zones.");
    otherZone.projection = "UTM Zone 13 n";
    EXPECT_EQ(refusal(otherZone), "merged");

    auto broken = Tile(500000);
    broken.unit = "furlongs";
    EXPECT_EQ(refusal(broken), "Cannot Load All Matrix Files");
}

TEST_F(MatrixMergeTest, GeographicTilesNeedTheSameAngularSpacing) {
    test::MatrixHeaderText south;
    south.projection = "Lat/Lon";
    south.rows = 121;
    south.columns = 61;
    south.left = "-62";
    south.right = "-61.5";
    south.lower = "15";
    south.upper = "16";
    auto north = south;
    north.lower = "16";
    north.upper = "17";
    std::vector<float> samples(121 * 61, 10.0f);
    samples[0] = 0;
    const auto a = writeFloatMatrix("south", south, samples);
    std::vector<float> northSamples(121 * 61, 20.0f);
    northSamples.back() = 21;
    const auto b = writeFloatMatrix("north", north, northSamples);
    const auto outcome = merge({a, b});
    ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
    EXPECT_EQ(outcome.terrain->grid.rows(), 241);
    EXPECT_EQ(outcome.terrain->grid.columns(), 61);
    EXPECT_EQ(outcome.terrain->grid.at(5, 120), 20.0f);  // the shared row comes from the later tile
    EXPECT_EQ(outcome.terrain->grid.at(5, 119), 10.0f);
    EXPECT_EQ(outcome.terrain->header.southBound, 15 * 3600);
    EXPECT_EQ(outcome.terrain->header.northBound, 17 * 3600);

    north.rows = 101;
    northSamples.resize(101 * 61);
    northSamples.back() = 21;
    const auto c = writeFloatMatrix("finer", north, northSamples);
    EXPECT_EQ(merge({a, c}).terrain.error().message(), "DEMs Have Differnt Grid Resolutions.");

    south.projection = north.projection = "Sinusoidal";
    north.rows = 121;
    const auto d = writeFloatMatrix("sinusoidal_south", south, samples);
    const auto e = writeFloatMatrix("sinusoidal_north", north, samples);
    EXPECT_EQ(merge({d, e}).terrain.error().code, ErrorCode::SinusoidalMergeRefused);
}

TEST_F(MatrixMergeTest, StopAndAnUnwritableTemporaryFolderEndTheMergeCleanly) {
    const auto west = writeFloatMatrix("west", Tile(500000), TileSamples(100));
    const auto east = writeFloatMatrix("east", Tile(500120), TileSamples(200));
    int calls = 0;
    const auto stopped =
        LoadMatrixFiles({west, east}, temporaries(), [&](long, long) { return ++calls < 3; });
    EXPECT_EQ(stopped.terrain.error().code, ErrorCode::OperationCancelled);
    EXPECT_TRUE(leftoverTemporaries().empty());
    const auto unwritable = LoadMatrixFiles({west, east}, path("no/such/folder"), {});
    EXPECT_EQ(unwritable.terrain.error().code, ErrorCode::CannotLoadAllMatrixFiles);
    EXPECT_NE(unwritable.terrain.error().detail.find("Cannot Load Temporary Files"),
              std::string::npos);
}

TEST(FillSeams, VerticalMeanFirstThenTheHorizontalMeanWins) {
    auto grid = terrain::TerrainModel::create(3, 3, terrain::missingCell).value();
    grid.at(1, 0) = 2;
    grid.at(1, 2) = 4;
    auto vertical = grid.clone().value();
    FillSeams(vertical);
    EXPECT_EQ(vertical.at(1, 1), 3.0f);
    grid.at(0, 1) = 10;
    grid.at(2, 1) = 20;
    FillSeams(grid);
    EXPECT_EQ(grid.at(1, 1), 15.0f);
    EXPECT_EQ(grid.at(0, 0), terrain::missingCell);
}

}  // namespace
}  // namespace tavrok::importers

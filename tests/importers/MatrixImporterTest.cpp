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

// A UTM matrix of 30 m cells from easting 500000, northing 4400000.
test::MatrixHeaderText Utm(int rows, int columns) {
    test::MatrixHeaderText header;
    header.rows = rows;
    header.columns = columns;
    header.right = std::to_string(500000 + 30 * (columns - 1));
    header.upper = std::to_string(4400000 + 30 * (rows - 1));
    return header;
}

test::MatrixHeaderText Geographic(std::string projection, std::string left, std::string right,
                                  std::string lower, std::string upper, int rows, int columns) {
    test::MatrixHeaderText header;
    header.projection = std::move(projection);
    header.left = std::move(left);
    header.right = std::move(right);
    header.lower = std::move(lower);
    header.upper = std::move(upper);
    header.rows = rows;
    header.columns = columns;
    return header;
}

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

// Two rows of samples, south row first, and the stored cells they become.
struct ConversionCase {
    std::string unit;
    std::string dataType;
    std::vector<float> samples;
    std::vector<float> cells;
    float minimum;
    float maximum;
    long missing;
};

TEST_F(MatrixImporterTest, ConvertsSamplesToStoredCells) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const float m = terrain::missingCell;
    const ConversionCase cases[] = {
        {"feet", "height", {1000, 2000, -9999, 1000}, {0, 304.8f, m, 0}, 304.8f, 609.6f, 1},
        {"meters", "depth", {10, 500, 250, -9999}, {490, 0, 250, m}, -500, -10, 1},
        {"meters", "height", {1, nan, infinity, -infinity, 5, 5}, {0, m, m, m, 4, 4}, 1, 5, 3},
    };
    for (const auto& c : cases) {
        auto header = Utm(2, static_cast<int>(c.samples.size() / 2));
        header.unit = c.unit;
        header.dataType = c.dataType;
        const auto terrain = loadFloats(header, c.samples);
        const auto cells = terrain.grid.cells();
        ASSERT_EQ(cells.size(), c.cells.size()) << c.unit << ' ' << c.dataType;
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            EXPECT_FLOAT_EQ(cells[i], c.cells[i]) << c.unit << ' ' << c.dataType << ' ' << i;
        }
        EXPECT_FLOAT_EQ(terrain.header.minElevation, c.minimum) << c.unit << ' ' << c.dataType;
        EXPECT_FLOAT_EQ(terrain.header.maxElevation, c.maximum) << c.unit << ' ' << c.dataType;
        EXPECT_EQ(terrain.header.missingCells, c.missing) << c.unit << ' ' << c.dataType;
        EXPECT_EQ(terrain.header.verticalUnitFactor, 1.0f);
    }
}

// Grids of a million cells and more are read by every core, each part in pieces; rows must
// still land where they belong and the counts of every part must add up.
TEST_F(MatrixImporterTest, BigGridsGiveEveryCellItsValue) {
    constexpr int rows = 1100;
    constexpr int columns = 1000;
    const auto sample = [](int fileRow, int column) { return (fileRow * 7 + column) % 3000 - 500; };
    const auto isHole = [](int fileRow, int column) {
        return (fileRow * columns + column) % 997 == 3;
    };
    auto header = Utm(rows, columns);
    std::vector<float> floats;
    std::vector<std::int16_t> shorts;
    long holes = 0;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const bool hole = isHole(row, column);
            holes += hole ? 1 : 0;
            floats.push_back(hole ? -9999.0f : static_cast<float>(sample(row, column)));
            shorts.push_back(static_cast<std::int16_t>(hole ? -9999 : sample(row, column)));
        }
    }
    writeFloatMatrix("float", header, floats);
    header.format = "int16";
    writeInt16Matrix("legacy", header, shorts);
    auto legacyHeader = header.text();
    legacyHeader.replace(legacyHeader.find("data_format"), 11, "data_value_unit");
    writeFile("legacy.hdr", legacyHeader);
    for (const bool northFirst : {false, true}) {
        const auto outcome = load(path(northFirst ? "legacy.bin" : "float.bin"));
        ASSERT_TRUE(outcome.terrain) << outcome.terrain.error().detail;
        const auto& terrain = outcome.terrain.value();
        EXPECT_EQ(terrain.header.minElevation, -500);
        EXPECT_EQ(terrain.header.maxElevation, 2499);
        EXPECT_EQ(terrain.header.missingCells, holes);
        for (int fileRow = 0; fileRow < rows; ++fileRow) {
            const auto cells = terrain.grid.row(northFirst ? rows - 1 - fileRow : fileRow);
            for (int column = 0; column < columns; ++column) {
                const float expected = isHole(fileRow, column)
                                           ? terrain::missingCell
                                           : static_cast<float>(sample(fileRow, column) + 500);
                ASSERT_EQ(cells[column], expected) << fileRow << ',' << column;
            }
        }
    }
}

TEST_F(MatrixImporterTest, GeographicMatrixBoundsInArcSeconds) {
    std::vector<float> samples(18, 1.0f);
    samples[17] = 2;
    const auto loaded =
        loadFloats(Geographic("Lat/Lon", "-105.5", "-105.25", "44.1", "44.2", 3, 6), samples);
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
    // Cells not square in degrees shrink the scale by the cosine once more.
    const auto notSquare =
        loadFloats(Geographic("Lat/Lon", "10", "12", "60", "61", 2, 2), {1, 2, 3, 4});
    EXPECT_NEAR(notSquare.header.metresPerUnitX,
                metresPerArcSecondAtEquator * std::pow(std::cos(60.5 * M_PI / 180), 2), 1e-3);
}

TEST_F(MatrixImporterTest, SineEqualAreaLoadsAsSinusoidal) {
    std::vector<float> samples(28, 5.0f);
    samples[0] = 1;
    const auto terrain =
        loadFloats(Geographic("Sine Equal Area", "-20", "40", "-10", "20", 4, 7), samples);
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

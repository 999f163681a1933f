#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tavrok::test {
namespace {

const std::string cli = TAVROK_CLI;
const std::string sampleTif =
    sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif").string();

std::vector<double> numbersIn(const std::string& text) {
    std::istringstream stream(text);
    std::vector<double> numbers;
    double number = 0;
    while (stream >> number) {
        numbers.push_back(number);
    }
    return numbers;
}

// Rows of our grid run south to north; GDAL counts lines from the north.
TEST(CliElevation, MatchesGdalAtCellCentres) {
    if (!haveProgram("gdallocationinfo")) {
        GTEST_SKIP() << "gdallocationinfo is not installed";
    }
    for (const auto& [column, row] : std::vector<std::pair<int, int>>{
             {500, 400}, {0, 0}, {1011, 797}, {250, 100}, {800, 650}, {17, 530}}) {
        const auto ours = numbersIn(runCommand(cli + " elevation " + sampleTerrain + " --at " +
                                               std::to_string(column) + "," + std::to_string(row)));
        const auto gdal =
            numbersIn(runCommand("gdallocationinfo -valonly " + sampleTif + " " +
                                 std::to_string(column) + " " + std::to_string(798 - row)));
        ASSERT_EQ(ours.size(), 1u);
        ASSERT_EQ(gdal.size(), 1u);
        if (gdal[0] == 32767) {
            continue;  // missing in the source: we interpolate from valid neighbours instead
        }
        EXPECT_NEAR(ours[0], gdal[0], 1e-3) << column << "," << row;
    }
}

TEST(CliElevation, LooksUpGeographicPositionsThroughTheUtmZone) {
    if (!haveProgram("gdallocationinfo")) {
        GTEST_SKIP() << "gdallocationinfo is not installed";
    }
    // The summit area of Mount Hood, near 45.3736 N 121.6959 W; GDAL picks the cell the
    // point falls in, we interpolate: they agree within the local relief of one cell.
    const auto ours =
        numbersIn(runCommand(cli + " elevation " + sampleTerrain + " --geo 45.3736,-121.6959"));
    const auto gdal = numbersIn(
        runCommand("gdallocationinfo -valonly -wgs84 " + sampleTif + " -121.6959 45.3736"));
    ASSERT_EQ(ours.size(), 1u);
    ASSERT_EQ(gdal.size(), 1u);
    EXPECT_NEAR(ours[0], gdal[0], 25.0);
    EXPECT_GT(ours[0], 3000.0);
}

class CliConversion : public TemporaryFolderTest {};

// Expected values from: cs2cs +proj=longlat +ellps=GRS80 +to +proj=utm +zone=10 +ellps=GRS80
TEST_F(CliConversion, ConvertsLinesLikeCs2csAndReportsFailuresInPlace) {
    const auto input = writeFile("points.txt", "45.3736 -121.6959\n85 10\n-33 151\n");
    const std::string output = runCommand(cli + " geo2utm --ellipsoid NAD83 < " + input.string());
    std::istringstream lines(output);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    const auto numbers = numbersIn(first.substr(0, first.rfind(' ')));
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_NEAR(numbers[0], 602112.781, 0.03);
    EXPECT_NEAR(numbers[1], 5025281.119, 0.03);
    EXPECT_EQ(first.substr(first.rfind(' ') + 1), "10N");
    EXPECT_EQ(second, "error 1");
    EXPECT_EQ(third.substr(third.rfind(' ') + 1), "56S");
}

TEST_F(CliConversion, RoundTripsThroughUtm) {
    const auto input = writeFile("points.txt", "602112.781 5025281.119 10N\n1 1 61N\n");
    const std::string output = runCommand(cli + " utm2geo --ellipsoid 11 < " + input.string());
    std::istringstream lines(output);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    const auto numbers = numbersIn(first);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_NEAR(numbers[0], 45.3736, 1e-6);
    EXPECT_NEAR(numbers[1], -121.6959, 1e-6);
    EXPECT_EQ(second.rfind("error ", 0), 0u) << second;
}

// Big inputs are converted on two cores; the answers must still come back in input order.
TEST_F(CliConversion, KeepsTheOrderOfLinesInBigInputs) {
    std::string points;
    constexpr int count = 80000;  // about 2 MB, above the split size
    for (int i = 0; i < count; ++i) {
        points += std::to_string(10.0 + i * 0.0005) + " -105.123456789\n";
    }
    const auto input = writeFile("many.txt", points);
    std::istringstream lines(runCommand(cli + " geo2utm < " + input.string()));
    std::string line;
    double previousNorthing = 0;
    int seen = 0;
    while (std::getline(lines, line)) {
        const auto numbers = numbersIn(line.substr(0, line.rfind(' ')));
        ASSERT_EQ(numbers.size(), 2u) << line;
        EXPECT_GT(numbers[1], previousNorthing) << "line " << seen;
        previousNorthing = numbers[1];
        ++seen;
    }
    EXPECT_EQ(seen, count);
}

}  // namespace
}  // namespace tavrok::test

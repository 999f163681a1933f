#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
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

std::vector<std::string> linesOf(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
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
    const auto lines = linesOf(runCommand(cli + " geo2utm --ellipsoid NAD83 < " + input.string()));
    ASSERT_EQ(lines.size(), 3u);
    const auto numbers = numbersIn(lines[0].substr(0, lines[0].rfind(' ')));
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_NEAR(numbers[0], 602112.781, 0.03);
    EXPECT_NEAR(numbers[1], 5025281.119, 0.03);
    EXPECT_EQ(lines[0].substr(lines[0].rfind(' ') + 1), "10N");
    EXPECT_EQ(lines[1], "error 1");
    EXPECT_EQ(lines[2].substr(lines[2].rfind(' ') + 1), "56S");
}

TEST_F(CliConversion, RoundTripsThroughUtm) {
    const auto input = writeFile("points.txt", "602112.781 5025281.119 10N\n1 1 61N\n");
    const auto lines = linesOf(runCommand(cli + " utm2geo --ellipsoid 11 < " + input.string()));
    ASSERT_EQ(lines.size(), 2u);
    const auto numbers = numbersIn(lines[0]);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_NEAR(numbers[0], 45.3736, 1e-6);
    EXPECT_NEAR(numbers[1], -121.6959, 1e-6);
    EXPECT_EQ(lines[1].rfind("error ", 0), 0u) << lines[1];
}

// Big inputs are converted on two cores; the answers must still come back in input order.
TEST_F(CliConversion, KeepsTheOrderOfLinesInBigInputs) {
    std::string points;
    constexpr int count = 80000;  // about 2 MB, above the split size
    for (int i = 0; i < count; ++i) {
        points += std::to_string(10.0 + i * 0.0005) + " -105.123456789\n";
    }
    const auto input = writeFile("many.txt", points);
    const auto lines = linesOf(runCommand(cli + " geo2utm < " + input.string()));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
    double previousNorthing = 0;
    for (const auto& line : lines) {
        const auto numbers = numbersIn(line.substr(0, line.rfind(' ')));
        ASSERT_EQ(numbers.size(), 2u) << line;
        ASSERT_GT(numbers[1], previousNorthing) << line;
        previousNorthing = numbers[1];
    }
}

class CliRender : public TemporaryFolderTest {};

// A grid of 1201 rows and 2 columns drawn 300 pixels wide would be 180,150 pixels tall: refused
// before anything is drawn or written; a zoom that fits is drawn.
TEST_F(CliRender, BoundsTheImageInBothDimensions) {
    std::string samples;
    for (int i = 0; i < 2 * 1201; ++i) {
        samples += static_cast<char>(i % 100);
        samples += '\0';
    }
    const auto grid = writeFile("tall.bin", samples).string();
    const std::string describe =
        " --rows 1201 --columns 2 --projection xy --west 0 --east 1 --south 0 --north 1200";
    struct Case {
        const char* size;
        const char* answer;
        bool written;
    };
    const Case cases[] = {
        {"--width 300",
         "tavrok-cli: the image would be 300 x 180150 pixels; at most 16384 per side and 512 MB "
         "are written: choose a smaller --zoom or --width\nexit 1\n",
         false},
        {"--zoom 0.5", "tall.png: 1 x 601 pixels\nexit 0\n", true},
    };
    for (const auto& c : cases) {
        const auto output =
            runCommand("cd " + folder().string() + " && " + cli + " render " + grid + describe +
                       " -o tall.png " + c.size + " 2>&1; echo exit $?");
        EXPECT_EQ(output, c.answer) << c.size;
        EXPECT_EQ(std::filesystem::exists(path("tall.png")), c.written) << c.size;
        std::filesystem::remove(path("tall.png"));
    }
}

}  // namespace
}  // namespace tavrok::test

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
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
TEST(CliElevation, MatchesGdalAtCellCentresAndGeographicPositions) {
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
    // Through the UTM zone: the summit area of Mount Hood, near 45.3736 N 121.6959 W. GDAL
    // picks the cell the point falls in, we interpolate: they agree within one cell's relief.
    const auto summit =
        numbersIn(runCommand(cli + " elevation " + sampleTerrain + " --geo 45.3736,-121.6959"));
    const auto gdalSummit = numbersIn(
        runCommand("gdallocationinfo -valonly -wgs84 " + sampleTif + " -121.6959 45.3736"));
    ASSERT_EQ(summit.size(), 1u);
    ASSERT_EQ(gdalSummit.size(), 1u);
    EXPECT_NEAR(summit[0], gdalSummit[0], 25.0);
    EXPECT_GT(summit[0], 3000.0);
}

class CliConversion : public TemporaryFolderTest {};

// Expected values from: cs2cs +proj=longlat +ellps=GRS80 +to +proj=utm +zone=10 +ellps=GRS80,
// and back again.
TEST_F(CliConversion, ConvertsLinesLikeCs2csBothWaysAndReportsFailuresInPlace) {
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

    const auto utm = writeFile("utm.txt", "602112.781 5025281.119 10N\n1 1 61N\n");
    const auto back = linesOf(runCommand(cli + " utm2geo --ellipsoid 11 < " + utm.string()));
    ASSERT_EQ(back.size(), 2u);
    const auto geographic = numbersIn(back[0]);
    ASSERT_EQ(geographic.size(), 2u);
    EXPECT_NEAR(geographic[0], 45.3736, 1e-6);
    EXPECT_NEAR(geographic[1], -121.6959, 1e-6);
    EXPECT_EQ(back[1].rfind("error ", 0), 0u) << back[1];
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

// What a failing run leaves: its exit status and the lines it wrote to standard error.
struct FailedRun {
    int exitCode = 0;
    std::vector<std::string> errors;
};

FailedRun runForErrors(const std::string& arguments) {
    const std::string command = cli + " " + arguments + " 2>&1 >/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    for (std::size_t count = 0; (count = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;) {
        output.append(buffer.data(), count);
    }
    const int status = pclose(pipe.release());
    return {WEXITSTATUS(status), linesOf(output)};
}

// Each `info` run fails with exit status 1 and exactly these lines on standard error.
using ExpectedErrors = std::vector<std::pair<std::string, std::vector<std::string>>>;
void expectInfoFailures(const ExpectedErrors& cases) {
    for (const auto& [arguments, errors] : cases) {
        const auto run = runForErrors("info " + arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments;
        EXPECT_EQ(run.errors, errors) << arguments;
    }
}

// Copies a file with one run of bytes replaced; the original bytes are checked first, so a
// changed sample file fails here rather than testing something else.
void copyPatched(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string_view original, std::string_view replacement) {
    std::string bytes = readFile(from);
    const auto at = bytes.find(original);
    ASSERT_NE(at, std::string::npos) << from;
    bytes.replace(at, original.size(), replacement);
    std::ofstream(to, std::ios::binary) << bytes;
}

class CliFailures : public TemporaryFolderTest {};

// Every bad input ends with exit status 1 and says what was wrong, in as many lines as needed:
// the system's message, then the file and the reason where one is known.
TEST_F(CliFailures, SayWhatWasWrong) {
    const auto source = std::filesystem::path(sourceDir) / "data";
    const std::string header = readFile(source / "mt_hood.hdr");
    std::filesystem::copy(source / "mt_hood.bin", path("zone99.bin"));
    writeFile("zone99.hdr", header.substr(0, header.find("UTM Zone 10 N")) + "UTM Zone 99 N" +
                                header.substr(header.find("UTM Zone 10 N") + 13));
    writeFile("alone.bil", std::string(8, '\0'));
    writeFile("grid.bin", std::string(8, '\0'));
    std::filesystem::create_directory(path("folder.hgt"));
    const std::string at = folder().string() + "/";
    expectInfoFailures({
        {at + "zone99.bin",
         {"tavrok-cli: " + at + "zone99.hdr: UTM zone 99N cannot place the corners on the globe"}},
        {at + "alone.bil", {"tavrok-cli: " + at + "alone.hdr: No such file or directory"}},
        {at + "folder.hgt",
         {"tavrok-cli: Cannot Open Matrix", "tavrok-cli: " + at + "folder.hgt: Is a directory"}},
        {at + "missing.hgt",
         {"tavrok-cli: Cannot Open Matrix",
          "tavrok-cli: " + at + "missing.hgt: No such file or directory"}},
        {at + "grid.bin",
         {"tavrok-cli: describe the grid: --rows and --columns are needed, with the options of "
          "--help"}},
        {sampleTerrain + std::string(" ") + at + "x.dem",
         {"tavrok-cli: Cannot Combine Files",
          "tavrok-cli: mt_hood.bin (terrain matrix) cannot be combined with x.dem (USGS DEM)"}},
        {"--type usgs " + at + "a.dem " + at + "grid.bin",
         {"tavrok-cli: Cannot Combine Files",
          "tavrok-cli: a.dem (USGS DEM) cannot be combined with grid.bin (headerless grid)"}},
        {at + "a.dem " + at + "b.tgz", {"tavrok-cli: Cannot Mix ASCII DEMs and TGZ DEMs"}},
        {at + "grid.bin " + at + "grid.bin",
         {"tavrok-cli: Cannot Combine Files",
          "tavrok-cli: grid.bin and grid.bin: a headerless grid is loaded by itself"}},
    });
}

// Damaged georeferences in the sample files of other tools: a DEM's A record and an SDTS
// transfer's XREF name zone 99, a transfer's RSDF puts a corner off the zone, and two GeoTIFFs
// lie in different zones.
TEST_F(CliFailures, NameTheDamageInRealFiles) {
    const auto dem = sharedData("usgsdem/gdal362_storml_elev_utm12n_nad83.dem");
    const auto sdts = sharedData("sdts/node-gdal_8821");
    if (!std::filesystem::exists(dem) || !std::filesystem::exists(sdts)) {
        GTEST_SKIP() << "the shared sample files are not here";
    }
    // The zone is the integer ending at byte 168 of the A record.
    std::string record = readFile(dem);
    ASSERT_EQ(record.substr(162, 6), "    12");
    record.replace(162, 6, "    99");
    writeFile("zone99.dem", record);
    runCommand("gzip -c " + path("zone99.dem").string() + " > " + path("zone99.dem.gz").string());
    // The transfer with one module changed: XREF's zone (after the datum and a unit separator),
    // or RSDF's west edge moved far out.
    const auto transferWith = [&](const std::string& module, std::string_view original,
                                  std::string_view replacement) {
        const auto copy = path(module);
        std::filesystem::create_directory(copy);
        for (const auto& file : std::filesystem::directory_iterator(sdts)) {
            if (file.path().filename() != "8821" + module + ".DDF") {
                std::filesystem::copy(file.path(), copy / file.path().filename());
            }
        }
        copyPatched(sdts / ("8821" + module + ".DDF"), copy / ("8821" + module + ".DDF"), original,
                    replacement);
        return (copy / "8821CATD.DDF").string();
    };
    const auto xref = transferWith("XREF", "NAS\03712", "NAS\03799");
    const auto rsdf = transferWith("RSDF", "659010.0000000", "-99999.0000000");
    const std::vector<std::string> demZone{"tavrok-cli: Incorrect Zone",
                                           "tavrok-cli: the A record names UTM zone 99"};
    expectInfoFailures({
        {path("zone99.dem").string(), demZone},
        {path("zone99.dem.gz").string(), demZone},
        {xref,
         {"tavrok-cli: SDTS2DEM: Error Reading SDTS",
          "tavrok-cli: 8821XREF.DDF: there is no UTM zone 99"}},
        {rsdf,
         {"tavrok-cli: SDTS2DEM: Error Reading SDTS",
          "tavrok-cli: 8821RSDF.DDF: the corner -99999, 4915260 lies outside UTM zone 12"}},
        {sampleTif + " " + sharedData("geotiff_dem/gdalraster_storml_elev.tif").string(),
         {"tavrok-cli: Cannot Combine Files",
          "tavrok-cli: gdalraster_lf_elev_220_mt_hood_utm.tif and gdalraster_storml_elev.tif: "
          "they lie in different UTM zones (10N and 12N)"}},
    });
}

// A unit code PROJ does not know (9999 for the linear unit 9001) still loads, and PROJ's own
// complaint stays off standard error.
TEST_F(CliFailures, KeepProjQuiet) {
    const auto tiff = sharedData("geotiff_dem/pdal_int16.tif");
    if (!std::filesystem::exists(tiff)) {
        GTEST_SKIP() << "the shared sample files are not here";
    }
    // The ProjLinearUnitsGeoKey entry: key 3076, location 0, count 1, value 9001, little-endian.
    copyPatched(tiff, path("unit.tif"), std::string("\x04\x0c\0\0\x01\0\x29\x23", 8),
                std::string("\x04\x0c\0\0\x01\0\x0f\x27", 8));
    const auto run = runForErrors("info " + path("unit.tif").string());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, std::vector<std::string>{});
}

}  // namespace
}  // namespace tavrok::test

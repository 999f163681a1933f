#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>

#include "ExportFixtures.h"
#include "exporters/GeoTiffExporter.h"
#include "exporters/MatrixExporter.h"
#include "exporters/UsgsDemExporter.h"
#include "importers/MatrixHeaderWriter.h"

namespace tavrok::exporters {
namespace {

using importers::MatrixEncoding;
using support::ErrorCode;
using terrain::DataType;
using terrain::ProjectionKind;

const float hole = std::numeric_limits<float>::quiet_NaN();

class WriterRulesTest : public test::ExportFolderTest {
  protected:
    void install(terrain::Terrain made) {
        ExportFolderTest::install(std::move(made.grid), std::move(made.header));
    }
};

TEST_F(WriterRulesTest, RefusalsNameTheReasonAndWriteNothing) {
    struct Case {
        const char* key;
        void (*change)(terrain::TerrainHeader&);
        ErrorCode expected;
    } cases[] = {
        {"usgs", [](auto& h) { h.hemisphere = 'S', h.dataType = DataType::Depth; },
         ErrorCode::UsgsDemInSouthernHemisphere},
        {"usgs", [](auto& h) { h.dataType = DataType::Depth; }, ErrorCode::UsgsDemOfDepthMatrix},
        {"usgs", [](auto& h) { h.projection = ProjectionKind::Sinusoidal; },
         ErrorCode::UsgsDemOfSinusoidalProjection},
        {"usgs", [](auto& h) { h.gridKind = terrain::gridKindMarsPolar; },
         ErrorCode::UsgsDemOfMarsPolar},
        {"usgs", [](auto& h) { h.projection = ProjectionKind::XY; }, ErrorCode::IncorrectZone},
        {"geotiff",
         [](auto& h) {
             h.planet = terrain::Planet::Mars;
             h.gridKind = terrain::gridKindSinusoidal;
             h.projection = ProjectionKind::Sinusoidal;
         },
         ErrorCode::GeoTiffOfMola},
        {"geotiff", [](auto& h) { h.gridKind = terrain::gridKindMarsPolar; },
         ErrorCode::GeoTiffOfMarsPolar},
        {"geotiff", [](auto& h) { h.projection = ProjectionKind::Sinusoidal; },
         ErrorCode::GeoTiffOfSinusoidalProjection},
        {"geotiff", [](auto& h) { h.utmZone = 0; }, ErrorCode::IncorrectZone},
        {"matrix", [](auto& h) { h.maxElevation = 40000; },
         ErrorCode::ElevationsBeyondSignedInteger},
        {"matrix", [](auto& h) { h.dataType = DataType::Depth, h.minElevation = -32768.5; },
         ErrorCode::ElevationsBeyondSignedInteger},
        {"matrix", [](auto& h) { h.missingFlag = -99999; },
         ErrorCode::ElevationsBeyondSignedInteger},
    };
    for (const auto& c : cases) {
        auto made = test::SmallTerrain(2, 2, {1, 2, 3, 4});
        c.change(made.header);
        install(std::move(made));
        const auto saved = save(c.key, path("out.x"), MatrixEncoding::Int16);
        ASSERT_FALSE(saved) << c.key << " " << support::messageText(c.expected);
        EXPECT_EQ(saved.error().code, c.expected);
        EXPECT_TRUE(listFolder() == std::vector<std::string>{"work"});
    }
    EXPECT_EQ(support::messageText(ErrorCode::UsgsDemInSouthernHemisphere),
              "Cannot Save UTM USGS DEM in Southern Hemisphere\n"
              "                Save as Terrain Matrix Instead");
}

TEST_F(WriterRulesTest, SignedIntegerTakesTheWholeRangeAndTruncatesTowardZero) {
    // -32768 and 32767 fit; a depth of 12.7 is written -12; holes take the missing value.
    auto made = test::SmallTerrain(1, 4, {-32768, 32767, 12.7f, hole});
    install(std::move(made));
    ASSERT_TRUE(save("matrix", path("range.bin"), MatrixEncoding::Int16));
    auto depth = test::SmallTerrain(1, 3, {-30, -12.7f, hole});
    depth.header.dataType = DataType::Depth;
    depth.header.missingFlag = 0;
    install(std::move(depth));
    ASSERT_TRUE(save("matrix", path("depth.bin"), MatrixEncoding::Int16));
    const std::int16_t range[] = {-32768, 32767, 12, -9999};
    const std::int16_t depths[] = {30, 12, -9999};
    EXPECT_EQ(test::readFile(path("range.bin")),
              std::string(reinterpret_cast<const char*>(range), 8));
    EXPECT_EQ(test::readFile(path("depth.bin")),
              std::string(reinterpret_cast<const char*>(depths), 6));
    EXPECT_NE(test::readFile(path("depth.hdr")).find("elev_m_missing_flag    = -9999\r\n"),
              std::string::npos);
}

TEST_F(WriterRulesTest, MatrixHeaderHasTheKeysInOrderWithTheirLayout) {
    struct Case {
        void (*change)(terrain::TerrainHeader&);
        const char* expected;
    } cases[] = {
        {[](auto& h) {
             h.ellipsoid = geodesy::EllipsoidId::Grs1980;
             h.title.clear();
             h.dataType = DataType::Depth;
         },
         "file_title             = grid\r\n"
         "data_format            = float32\r\n"
         "data_type              = depth\r\n"
         "map_projection         = UTM Zone 13N\r\n"
         "ellipsoid              =NAD83\r\n"
         "left_map_x             = 500000\r\n"
         "lower_map_y            = 4400000\r\n"
         "right_map_x            = 500060\r\n"
         "upper_map_y            = 4400030\r\n"
         "number_of_rows         = 2\r\n"
         "number_of_columns      = 3\r\n"
         "elev_m_unit            = meters\r\n"
         "elev_m_minimum         = -12\r\n"
         "elev_m_maximum         = 1500\r\n"
         "elev_m_missing_flag    = -9999\r\n"},
        // Rows are spaced by the row spacing: the upper bound is (2 - 1) x 30 x 0.3048.
        {[](auto& h) {
             h.projection = ProjectionKind::XY;
             h.metresPerUnitX = 0.3048f;
             h.elevationUnit = terrain::ElevationUnit::Feet;
         },
         "file_title             = Small\r\n"
         "data_format            = float32\r\n"
         "map_projection         = X/Y\r\n"
         "left_map_x             = 0\r\n"
         "lower_map_y            = 0\r\n"
         "right_map_x            = 18\r\n"
         "upper_map_y            = 4\r\n"
         "number_of_rows         = 2\r\n"
         "number_of_columns      = 3\r\n"
         "elev_m_unit            = feet\r\n"
         "elev_m_minimum         = -12\r\n"
         "elev_m_maximum         = 1500\r\n"
         "elev_m_missing_flag    = -9999\r\n"},
        {[](auto& h) {
             h.projection = ProjectionKind::LatLon;
             h.westBound = -105.5 * 3600, h.eastBound = -104.5 * 3600;
             h.southBound = 40 * 3600, h.northBound = 40.25 * 3600;
             h.westLon = -105.5f, h.eastLon = -104.5f, h.southLat = 40, h.northLat = 40.25f;
         },
         "file_title             = Small\r\n"
         "data_format            = float32\r\n"
         "map_projection         = Lat/Lon\r\n"
         "left_map_x             = -105.500000\r\n"
         "lower_map_y            = 40.000000\r\n"
         "right_map_x            = -104.500000\r\n"
         "upper_map_y            = 40.250000\r\n"
         "number_of_rows         = 2\r\n"
         "number_of_columns      = 3\r\n"
         "elev_m_unit            = meters\r\n"
         "elev_m_minimum         = -12\r\n"
         "elev_m_maximum         = 1500\r\n"
         "elev_m_missing_flag    = -9999\r\n"},
    };
    for (const auto& c : cases) {
        auto made = test::SmallTerrain(2, 3, {-12.9f, 0, 1, 2, 3, 1500});
        made.header.spacingY = 15;
        c.change(made.header);
        install(std::move(made));
        ASSERT_TRUE(save("matrix", path("grid.bin")));
        EXPECT_EQ(test::readFile(path("grid.hdr")), c.expected);
    }
}

// Record B header fields of one profile: column number, elevation count, first y, extremes.
struct ProfileHeader {
    int column = 0;
    int count = 0;
    std::string firstY;
    std::string lowest;
    std::string highest;
};

ProfileHeader profileAt(const std::string& file, std::size_t record) {
    const std::string text = file.substr(record * 1024, 144);
    return {std::stoi(text.substr(6, 6)), std::stoi(text.substr(12, 6)), text.substr(48, 24),
            text.substr(96, 24), text.substr(120, 24)};
}

TEST_F(WriterRulesTest, UsgsDemRecordsAreBlocksOf1024CharactersWithTheirProfiles) {
    // 300 rows: profiles of 146 + 154 elevations; column 0 loses its first and last rows.
    std::vector<float> elevations(600, 100.5f);
    elevations[0] = elevations[598] = elevations[200] = hole;
    install(test::SmallTerrain(300, 2, elevations));
    ASSERT_TRUE(save("usgs", path("grid.dem")));
    const auto file = test::readFile(path("grid.dem"));
    ASSERT_EQ(file.size(), 1024u * 6);  // A, 2 x 2 profile blocks, the closing record
    EXPECT_EQ(file.find('\n'), std::string::npos);
    const auto first = profileAt(file, 1);
    EXPECT_EQ(first.column, 1);
    EXPECT_EQ(first.count, 298);
    EXPECT_EQ(first.firstY, "   4.400030000000000D+06");
    EXPECT_EQ(first.lowest, "   1.000000000000000D+02");
    EXPECT_EQ(file.substr(1024 + 144 + 99 * 6, 6), "-32767");  // the hole in row 100
    EXPECT_EQ(profileAt(file, 3).count, 300);
    std::string closing = " ";
    for (int field = 0; field < 10; ++field) {
        closing += "     0";
    }
    EXPECT_EQ(file.substr(5 * 1024), closing + std::string(1024 - closing.size(), ' '));
    // Record A: D exponents except in the spacing fields, zone 13, NAD 27's code 3 for WGS 84.
    const auto recordA = usgsDemRecordA(terrain().header);
    EXPECT_EQ(recordA.substr(144, 24), "     1     1     1    13");
    EXPECT_EQ(recordA.substr(816, 36), " 3.00000e+01 3.00000e+01 1.00000e+00");
    EXPECT_EQ(recordA.substr(864, 28), std::string(24, ' ') + " 2 3");
}

TEST_F(WriterRulesTest, UsgsDemOfLatLonTerrainWritesZoneZeroAndWholeEmptyProfiles) {
    auto made = test::SmallTerrain(3, 2, {5, hole, 6, hole, 7, hole});
    auto& header = made.header;
    header.projection = ProjectionKind::LatLon;
    header.westBound = 11 * 3600, header.eastBound = 11 * 3600 + 3;
    header.southBound = 57 * 3600, header.northBound = 57 * 3600 + 6;
    header.utmZone = 32;
    install(std::move(made));
    ASSERT_TRUE(save("usgs", path("grid.dem")));
    const auto file = test::readFile(path("grid.dem"));
    EXPECT_EQ(file.substr(144, 24), "     1     1     0     0");
    EXPECT_EQ(terrain().header.utmZone, 32);  // the file says 0, the terrain keeps its zone
    const auto empty = profileAt(file, 2);
    EXPECT_EQ(empty.count, 3);
    EXPECT_EQ(empty.lowest, "   1.000000000000000D+08");
    EXPECT_EQ(empty.highest, "  -1.000000000000000D+08");
    EXPECT_EQ(file.substr(2 * 1024 + 144, 18), "-32767-32767-32767");
}

// Writes that the disk refuses: every writer fails, leaves no file of its own, and a file
// that was there before stays as it was.
TEST_F(WriterRulesTest, OnAFullDiskNoWriterLeavesAPartialFileOrHarmsTheOldOne) {
    ASSERT_TRUE(load(test::sampleTerrain));
    const struct Case {
        const char* key;
        const char* name;
        MatrixEncoding encoding;
    } cases[] = {{"matrix", "hood.bin", MatrixEncoding::Float32},
                 {"matrix", "hood.txt", MatrixEncoding::Ascii},
                 {"usgs", "hood.dem", MatrixEncoding::Float32},
                 {"geotiff", "hood.tif", MatrixEncoding::Float32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = listFolder();
        writeFile(c.name, "the user's old file");
        const auto saved = [&] {
            const test::FileSizeLimit fullDisk(256 * 1024);
            return save(c.key, path(c.name), c.encoding);
        }();
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error().code, ErrorCode::CannotWriteFile);
        EXPECT_EQ(test::readFile(path(c.name)), "the user's old file");
        auto after = before;
        after.push_back(c.name);
        std::sort(after.begin(), after.end());
        EXPECT_EQ(listFolder(), after);
        ASSERT_TRUE(save(c.key, path(c.name), c.encoding));
        EXPECT_GT(std::filesystem::file_size(path(c.name)), 1000000u);
        std::filesystem::remove(path(c.name));
        auto header = path(c.name);
        std::filesystem::remove(header.replace_extension(".hdr"));
    }
}

// A folder nobody may write into: without write permission, and for the superuser, whom
// permissions do not stop, immutable where the file system allows it. Unlocked at the end.
class LockedFolder {
  public:
    explicit LockedFolder(const std::filesystem::path& folder) : m_folder(folder) {
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(
            folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        m_locked = geteuid() != 0 || run("chattr +i");
    }
    ~LockedFolder() {
        if (geteuid() == 0) {
            run("chattr -i");
        }
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all);
    }
    bool locked() const { return m_locked; }

  private:
    bool run(const std::string& command) const {
        return std::system((command + " '" + m_folder.string() + "' 2>/dev/null").c_str()) == 0;
    }
    std::filesystem::path m_folder;
    bool m_locked = false;
};

TEST_F(WriterRulesTest, FoldersThatTakeNoFileAndStopLeaveNothing) {
    install(test::SmallTerrain(2, 2, {1, 2, 3, 4}));
    std::vector<std::filesystem::path> folders{"/proc/self", path("missing")};
    std::optional<LockedFolder> locked(path("locked"));
    if (locked->locked()) {
        folders.push_back(path("locked"));
    }
    const std::pair<const char*, ErrorCode> writers[] = {{"matrix", ErrorCode::CannotOpenFile},
                                                         {"usgs", ErrorCode::UnableToOpenDemFile},
                                                         {"geotiff", ErrorCode::CannotOpenFile}};
    for (const auto& folder : folders) {
        for (const auto& [key, code] : writers) {
            const auto saved = save(key, folder / "grid.out");
            ASSERT_FALSE(saved) << folder << " " << key;
            EXPECT_EQ(saved.error().code, code);
        }
    }
    for (const auto& [key, code] : writers) {
        exporters::ExportRequest request;
        request.file = path("stopped.out");
        const auto stopped =
            exporterFor(key)->save(terrain(), request, [](long, long) { return false; });
        // A grid this small may be written before the first report.
        EXPECT_TRUE(stopped || stopped.error().code == ErrorCode::OperationCancelled) << key;
    }
    EXPECT_TRUE(std::filesystem::is_empty(path("locked")));
    locked.reset();
    EXPECT_EQ(listFolder(),
              (std::vector<std::string>{"locked", "stopped.hdr", "stopped.out", "work"}));
}

}  // namespace
}  // namespace tavrok::exporters

namespace tavrok::exporters {
namespace {

// Random headers the saved layout can express, written and read back by our own reader:
// every field comes back, geographic corners to the six decimals written.
TEST(SavedMatrixHeader, RandomHeadersReadBackWithinTheLayoutsPrecision) {
    using importers::MatrixHeader;
    std::mt19937 random(20261207);
    auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto degrees = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const geodesy::EllipsoidId datums[] = {
        geodesy::EllipsoidId::Clarke1866, geodesy::EllipsoidId::Grs1980,
        geodesy::EllipsoidId::Wgs72, geodesy::EllipsoidId::Wgs84};
    for (int trial = 0; trial < 2000; ++trial) {
        MatrixHeader written;
        written.title.resize(static_cast<std::size_t>(between(1, 80)));
        for (char& c : written.title) {
            c = static_cast<char>(between(32, 126));
        }
        written.title[0] = 'T';  // blanks after "=" are skipped
        written.encoding = static_cast<MatrixEncoding>(between(0, 2));
        written.dataType = between(0, 1) ? DataType::Depth : DataType::Height;
        written.projection = static_cast<ProjectionKind>(between(0, 3));
        written.rows = between(2, 100000);
        written.columns = between(2, 100000);
        written.missingFlag = between(-100000, 100000);
        written.elevationUnit =
            between(0, 1) ? terrain::ElevationUnit::Feet : terrain::ElevationUnit::Meters;
        if (written.geographic()) {
            written.left = degrees(-180, 179);
            written.right = degrees(written.left + 1e-5, 180);
            written.lower = degrees(-90, 89);
            written.upper = degrees(written.lower + 1e-5, 90);
        } else {
            written.left = between(100000, 800000);
            written.right = written.left + between(1, 100000);
            written.lower = between(0, 9000000);
            written.upper = written.lower + between(1, 900000);
        }
        if (written.projection == ProjectionKind::UTM) {
            written.zone = between(1, 60);
            written.hemisphere = between(0, 1) ? 'S' : 'N';
            written.zoneText = std::to_string(written.zone) + written.hemisphere;
            written.ellipsoid = datums[between(0, 3)];
        }
        const auto text = importers::WriteMatrixHeader(written, std::nullopt,
                                                       importers::MatrixHeaderLayout::Saved);
        const auto read = importers::ParseMatrixHeader(text);
        ASSERT_TRUE(read) << read.error().detail << "\n" << text;
        EXPECT_EQ(read->title, written.title);
        EXPECT_EQ(read->encoding, written.encoding);
        EXPECT_EQ(read->dataType, written.dataType);
        EXPECT_EQ(read->projection, written.projection);
        EXPECT_EQ(read->zoneText, written.zoneText);
        EXPECT_EQ(read->ellipsoid, written.ellipsoid) << text;
        EXPECT_EQ(read->rows, written.rows);
        EXPECT_EQ(read->columns, written.columns);
        EXPECT_EQ(read->missingFlag, written.missingFlag);
        EXPECT_EQ(read->elevationUnit, written.elevationUnit);
        const double precision = written.geographic() ? 5e-7 : 0;
        EXPECT_NEAR(read->left, written.left, precision);
        EXPECT_NEAR(read->right, written.right, precision);
        EXPECT_NEAR(read->lower, written.lower, precision);
        EXPECT_NEAR(read->upper, written.upper, precision);
        if (testing::Test::HasFailure()) {
            FAIL() << text;
        }
    }
}

}  // namespace
}  // namespace tavrok::exporters

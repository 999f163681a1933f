#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "importers/ArchiveLoad.h"
#include "importers/Registry.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

class RegistryTest : public test::TemporaryFolderTest {};

TEST_F(RegistryTest, IdentifiesASelectionByItsFirstFile) {
    writeFile("grid.bin", "1 2 3");
    writeFile("grid.hdr", "header");
    writeFile("tile.bil", "");
    writeFile("tile.hdr", "");  // a ".bil" keeps its own header beside it
    writeFile("alone.bin", "1 2 3");
    const struct {
        std::filesystem::path file;
        std::string_view key;
    } cases[] = {
        {"a/b.DEM", "usgs"},         {"name.tar.gz", "usgs"},
        {"name.TGZ", "usgs"},        {"x.ddf", "sdts"},
        {"N57E011.hgt", "srtm"},     {path("tile.bil"), "srtm"},
        {"scan.TIFF", "geotiff"},    {"cloud.las", "las"},
        {"grid.hdr", "matrix"},      {path("grid.bin"), "matrix"},
        {path("alone.bin"), "raw"},  {"no_extension", "raw"},
        {"megt00n000gb.img", "raw"},  // the MOLA sets are chosen on the map
    };
    for (const auto& c : cases) {
        EXPECT_EQ(identifyFiles({c.file, "later.hgt"}).key, c.key) << c.file;
    }
    EXPECT_EQ(identifyFiles({}).key, "raw");
}

TEST(Registry, KeysAreUniqueAndTheRawBuilderTakesAnything) {
    const auto keys = importerKeys();
    EXPECT_EQ(std::set<std::string_view>(keys.begin(), keys.end()).size(), keys.size());
    EXPECT_EQ(keys.back(), "raw");
    EXPECT_TRUE(Importers().back().identify(ImportProbe{}));
    EXPECT_EQ(importerFor("jpeg"), nullptr);
    EXPECT_TRUE(importerFor("las")->available());
    EXPECT_TRUE(importerFor("xyz")->available());
    EXPECT_TRUE(importerFor("mola-polar")->available());
}

TEST(Registry, FileTypeButtonsNameTheirImporters) {
    const struct {
        int fileType;
        std::string_view key;
    } cases[] = {{1298, "srtm"}, {1299, "usgs"},      {1301, "matrix"},  {1302, "mola"},
                 {1303, "las"},  {1304, "gtopo30"},   {1305, "geotiff"}, {1306, "globe"},
                 {1307, "xyz"},  {1308, "mola-polar"}};
    for (const auto& c : cases) {
        ASSERT_NE(importerForFileType(c.fileType), nullptr) << c.fileType;
        EXPECT_EQ(importerForFileType(c.fileType)->key, c.key);
    }
    EXPECT_EQ(importerForFileType(1300), nullptr);
    EXPECT_EQ(importerForFileType(0), nullptr);
}

TEST_F(RegistryTest, ProbeReadsTheStartAndTheCompoundExtension) {
    const auto file = writeFile("Tile.Tar.GZ", "CDF\x01 rest");
    const auto probe = ProbeFile(file);
    EXPECT_EQ(probe.fullExtension, ".tar.gz");
    EXPECT_EQ(probe.lastExtension, ".gz");
    EXPECT_EQ(probe.firstBytes.substr(0, 4), "CDF\x01");
    EXPECT_FALSE(probe.headerBeside);
    EXPECT_TRUE(ProbeFile(path("missing.bin")).firstBytes.empty());
}

TEST(UsgsSelection, SortsASelectionBeforeAnythingIsRead) {
    using Files = std::vector<std::filesystem::path>;
    const struct {
        Files files;
        bool sdts;
        UsgsSelection expected;
    } cases[] = {
        {{}, false, UsgsSelection::Empty},
        {{"a.dem", "b.tar.gz"}, false, UsgsSelection::MixedDemsAndArchives},
        {{"b.tgz", "a.DEM"}, false, UsgsSelection::MixedDemsAndArchives},
        {{"TR01CATD.DDF"}, false, UsgsSelection::SdtsModules},
        {{"anything.gz"}, true, UsgsSelection::SdtsModules},
        {{"dem.tif"}, false, UsgsSelection::GeoTiff},
        {{"a10g"}, false, UsgsSelection::GlobeTile},
        {{"W180N90.DEM"}, false, UsgsSelection::Gtopo30Tile},
        {{"a.dem", "b.DEM"}, false, UsgsSelection::AsciiDems},
        {{"a.tar.gz", "b.tgz"}, false, UsgsSelection::Archives},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyUsgsSelection(c.files, c.sdts), c.expected)
            << (c.files.empty() ? "" : c.files.front().string());
    }
}

TEST_F(RegistryTest, UsgsHandsTileNamesOverAndRefusesMixedSelections) {
    ImportRequest request;
    request.files = {"W180N90.DEM"};
    auto outcome = importerFor("usgs")->load(request, {});
    EXPECT_EQ(outcome.terrain.error().code, ErrorCode::SilentFailure);
    EXPECT_EQ(outcome.handOverTo, "gtopo30");
    request.files = {"a.dem", "b.gz"};
    outcome = importerFor("usgs")->load(request, {});
    EXPECT_EQ(outcome.terrain.error().code, ErrorCode::CannotMixAsciiAndArchiveDems);
    EXPECT_TRUE(outcome.handOverTo.empty());
}

TEST_F(RegistryTest, ArchivesNeedTheWorkFolderAndRefuseWhatIsNoArchive) {
    ImportRequest request;
    request.files = {writeFile("junk.tar.gz", "not an archive at all")};
    request.temporaryDirectory = path("absent");
    EXPECT_EQ(importerFor("usgs")->load(request, {}).terrain.error().code,
              ErrorCode::CannotSaveTemporaryFiles);
    std::filesystem::create_directories(path("run/tavrok_temp"));
    request.temporaryDirectory = path("run/tavrok_temp");
    EXPECT_EQ(importerFor("usgs")->load(request, {}).terrain.error().code,
              ErrorCode::FaultyArchiveFile);
    request.files.push_back(request.files.front());
    const auto several = importerFor("usgs")->load(request, {});
    EXPECT_EQ(several.terrain.error().code, ErrorCode::IncompatibleArchive);
    EXPECT_EQ(several.terrain.error().detail, "junk.tar.gz");
    EXPECT_FALSE(std::filesystem::exists(path("run/tavrok_terrain")));
}

}  // namespace
}  // namespace tavrok::importers

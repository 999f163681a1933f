#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "UsgsDemFixtures.h"
#include "importers/ArchiveExtractor.h"
#include "importers/MatrixImporter.h"
#include "importers/SdtsTransfer.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

// The real 7.5-minute transfer, copied so that single bytes can be changed.
class SdtsTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        copyModules();
        std::filesystem::create_directories(path("out"));
    }
    // Fresh writable copies of the transfer's modules.
    void copyModules() const {
        std::filesystem::create_directories(path("modules"));
        for (const auto& entry :
             std::filesystem::directory_iterator(test::sharedData("sdts/node-gdal_8821"))) {
            std::filesystem::copy_file(entry.path(), path("modules") / entry.path().filename());
            std::filesystem::permissions(path("modules") / entry.path().filename(),
                                         std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        }
    }
    std::filesystem::path module(const std::string& name) const {
        return path("modules") / ("8821" + name + ".DDF");
    }
    void patch(const std::string& name, std::size_t offset, std::string_view bytes) const {
        std::fstream file(module(name), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(offset));
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void replaceText(const std::string& name, std::string_view from, std::string_view to) const {
        ASSERT_EQ(from.size(), to.size());
        const auto at = test::readFile(module(name)).find(from);
        ASSERT_NE(at, std::string::npos);
        patch(name, at, to);
    }
    // Converts and loads the transfer as the program does.
    support::Result<LoadedTerrain> load(std::string* headerText = nullptr) {
        auto transfer = ReadSdtsTransfer(module("CATD"));
        if (!transfer) {
            return transfer.error();
        }
        auto pair = WriteSdtsMatrix(transfer.value(), path("out"), "8821_matrix");
        if (!pair) {
            return pair.error();
        }
        if (headerText != nullptr) {
            *headerText = test::readFile(pair->header);
        }
        return LoadMatrixFiles({pair->grid}, path("out"), {}).terrain;
    }
};

TEST_F(SdtsTest, ReadsEveryItemOfTheRealTransfer) {
    auto transfer = ReadSdtsTransfer(module("CATD"));
    ASSERT_TRUE(transfer) << transfer.error().detail;
    EXPECT_EQ(transfer->rows, 471);
    EXPECT_EQ(transfer->columns, 343);
    EXPECT_EQ(transfer->zone, 12);
    EXPECT_EQ(transfer->datumCode, 1);
    EXPECT_EQ(transfer->referenceSystem, "UTM");
    EXPECT_EQ(transfer->title, "OREGON BASIN, WY-24000");
    EXPECT_EQ(transfer->origin.x, 659010);
    EXPECT_EQ(transfer->origin.y, 4929360);
    EXPECT_EQ(transfer->spacingX, 30);
    EXPECT_EQ(transfer->domainValues[2], 1520);
    EXPECT_EQ(transfer->domainValues[3], 1826);
    ASSERT_EQ(transfer->domainCorners.size(), 4u);
    EXPECT_DOUBLE_EQ(transfer->domainCorners[1].x, 659000.755295);
    EXPECT_FALSE(transfer->feet);
    EXPECT_FALSE(transfer->float32Cells);
    EXPECT_EQ(transfer->cells.size(), 471u * 343u);
}

TEST_F(SdtsTest, HeaderCornersFollowTheOriginOnlyWhenItLiesOnTheGrid) {
    SdtsTransfer transfer;
    transfer.rows = 3;
    transfer.columns = 2;
    transfer.spacingX = transfer.spacingY = 30;
    transfer.domainCorners = {{1005, 2095}, {1001, 2200}, {1100, 2200}, {1100, 2090}};
    struct Case {
        SdtsPoint origin;
        SdtsCorners expected;
    };
    const Case cases[] = {
        {{990, 2160}, {990, 2100, 1020, 2160}},     // on the grid: the origin rules
        {{990.5, 2160}, {1020, 2100, 1050, 2160}},  // off the grid: raised domain corners
        {{990, 2161}, {1020, 2100, 1050, 2160}},
    };
    for (const auto& c : cases) {
        transfer.origin = c.origin;
        const auto corners = SdtsHeaderCorners(transfer);
        EXPECT_EQ(corners.left, c.expected.left) << c.origin.x << " " << c.origin.y;
        EXPECT_EQ(corners.lower, c.expected.lower);
        EXPECT_EQ(corners.right, c.expected.right);
        EXPECT_EQ(corners.upper, c.expected.upper);
    }
}

TEST_F(SdtsTest, LoadsAsGdalReadsTheTransfer) {
    std::string header;
    auto loaded = load(&header);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_NE(header.find("map_projection         = UTM Zone 12N\r\n"), std::string::npos);
    EXPECT_NE(header.find("ellipsoid              = NAD27\r\n"), std::string::npos);
    EXPECT_NE(header.find("left_map_x             = 659010\r\n"), std::string::npos);
    EXPECT_EQ(loaded->header.rows, 471);
    EXPECT_EQ(loaded->header.columns, 343);
    EXPECT_EQ(loaded->header.westBound, 659010);
    EXPECT_EQ(loaded->header.southBound, 4915260);
    EXPECT_EQ(loaded->header.title, "OREGON BASIN, WY-24000");
    EXPECT_EQ(loaded->header.ellipsoid, geodesy::EllipsoidId::Clarke1866);
    if (!test::haveProgram("gdal_translate")) {
        GTEST_SKIP() << "GDAL is not installed";
    }
    EXPECT_GT(test::ExpectSameAsGdal(loaded.value(), module("CATD"), folder(), -32766), 100000);
}

TEST_F(SdtsTest, FeetTransferIsMarkedFeetAndConverted) {
    replaceText("DDSH",
                "METERS\x1f"
                "1.00000000",
                "FEET\x1f"
                "1.0000000000");
    std::string header;
    auto loaded = load(&header);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_NE(header.find("elev_m_unit            = feet\r\n"), std::string::npos);
    EXPECT_NEAR(loaded->header.maxElevation, 1826 * 0.3048, 1e-3);
}

TEST_F(SdtsTest, CellOfMinus32767IsMissing) {
    // After the 188-byte descriptive record comes the first data record (767 bytes, the
    // northern row); the later ones repeat only its 715-byte field area, whose cell values
    // start 28 bytes in. File row 235 is grid row 470 - 235.
    const std::size_t row235 = 188 + 767 + 234 * 715 + 28;
    patch("CEL0", row235 + 2 * 171, std::string("\x80\x01", 2));
    auto loaded = load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->grid.at(171, 235), terrain::missingCell);
    EXPECT_NE(loaded->grid.at(170, 235), terrain::missingCell);
    EXPECT_NE(loaded->grid.at(172, 235), terrain::missingCell);
}

TEST_F(SdtsTest, RefusesDamagedOrIncompleteTransfers) {
    struct Case {
        const char* what;
        std::function<void()> damage;
        ErrorCode expected;
    };
    const Case cases[] = {
        {"no cell module", [&] { std::filesystem::remove(module("CEL0")); },
         ErrorCode::CannotOpenDemCellFile},
        {"no LDEF", [&] { std::filesystem::remove(module("LDEF")); }, ErrorCode::ErrorReadingSdts},
        {"unknown unit", [&] { replaceText("DDSH", "METERS", "YARDS "); },
         ErrorCode::ErrorReadingSdts},
        {"damaged leader", [&] { patch("IREF", 0, "X"); }, ErrorCode::ErrorReadingSdts},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(path("modules"));
        copyModules();
        c.damage();
        auto transfer = ReadSdtsTransfer(module("CATD"));
        ASSERT_FALSE(transfer) << c.what;
        EXPECT_EQ(transfer.error().code, c.expected) << c.what;
    }
}

TEST_F(SdtsTest, VectorTransfersHaveNoCellModule) {
    for (const auto* archive :
         {"sdts/SDTS-Browser_850101.HY.sdts.tar.gz", "sdts/SDTS-Browser_916286.BD.sdts.tar"}) {
        const auto folder = path("x") / archive;
        std::filesystem::create_directories(folder);
        auto extracted = Untar(test::sharedData(archive), folder);
        ASSERT_TRUE(extracted) << archive << extracted.error().detail;
        EXPECT_GT(extracted->files.size(), 20u);
        const auto transfers = SdtsTransfersIn(folder);
        ASSERT_EQ(transfers.size(), 1u);
        auto transfer = ReadSdtsTransfer(transfers.front());
        ASSERT_FALSE(transfer);
        EXPECT_EQ(transfer.error().code, ErrorCode::CannotOpenDemCellFile);
    }
}

}  // namespace
}  // namespace tavrok::importers

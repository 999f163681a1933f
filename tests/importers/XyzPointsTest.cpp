#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "TestSupport.h"
#include "importers/CloudImporter.h"
#include "importers/XyzPoints.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

TEST(XyzText, TriplesSeparatedByAnyWhiteSpaceUntilTheEnd) {
    struct Case {
        const char* text;
        std::size_t points;
        std::optional<std::string> causeHas;
    };
    const Case cases[] = {
        {"1 2 3\n4 5 6\n", 2, std::nullopt},
        {"1\t2\r\n3 +4.5e1\n\n5 -6", 2, std::nullopt},
        {"1 2 3 4 5", 1, std::nullopt},  // the incomplete triple is dropped
        {"", 0, std::nullopt},
        {"X,Y,Z\n1,2,3\n", 0, "line 1: \"X,Y,Z\""},
        {"1 2 3\n4 5 nan\n", 0, "line 2: \"nan\""},
        {"1 2 3\n4 5 6abc\n", 0, "\"6abc\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto points = ParseXyzText(c.text);
        if (c.causeHas) {
            ASSERT_FALSE(points);
            EXPECT_EQ(points.error().code, ErrorCode::ImproperXyzData);
            EXPECT_NE(points.error().cause.find(*c.causeHas), std::string::npos)
                << points.error().cause;
            continue;
        }
        ASSERT_TRUE(points);
        EXPECT_EQ(points.value().size(), c.points);
    }
    EXPECT_EQ(ParseXyzText("1 2 3\n4 5 6\n").value()[1].x, 4.0);
    EXPECT_EQ(ParseXyzText("3 +4.5e1 7").value()[0].y, 45.0);
}

std::string binaryRecords(std::size_t records, double nanAt = -1) {
    std::string bytes(records * 24, '\0');
    for (std::size_t index = 0; index < records * 3; ++index) {
        const double value = static_cast<double>(index) == nanAt
                                 ? std::numeric_limits<double>::quiet_NaN()
                                 : 1000.0 + static_cast<double>(index);
        std::memcpy(bytes.data() + index * 8, &value, 8);
    }
    return bytes;
}

TEST(XyzBinary, RecordsOfTwentyFourBytesAndNoNaN) {
    EXPECT_EQ(ParseXyzBinary(binaryRecords(100)).value().size(), 100u);
    EXPECT_EQ(ParseXyzBinary(binaryRecords(100) + std::string(10, '\1')).value().size(), 100u);
    EXPECT_EQ(ParseXyzBinary(binaryRecords(2)).value()[1].z, 1005.0);
    const auto withNan = ParseXyzBinary(binaryRecords(5, 7));
    ASSERT_FALSE(withNan);
    EXPECT_EQ(withNan.error().code, ErrorCode::ImproperBinaryXyzData);
    EXPECT_EQ(withNan.error().message(), "Improper data. 64 bit floating point required.");
}

TEST(XyzBinary, PrintableNumbersAreText) {
    const std::pair<std::string, bool> cases[] = {
        {"1 2 3\n", true},       {"-1.5e3\t2 3", true},     {"   \n", false},
        {"X Y Z\n1 2 3", false}, {binaryRecords(3), false},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(holdsTextNumbers(bytes), text);
    }
}

class XyzLoadTest : public test::TemporaryFolderTest {};

// The shared text sample: 400 points on a 20 x 20 lattice 60 m apart, gridded at 60 m over their
// own extent.
TEST_F(XyzLoadTest, TheSharedSampleGridsOverItsOwnExtent) {
    const auto chooseSixty = [](CloudSurvey& survey, bool lidar) {
        EXPECT_FALSE(lidar);
        EXPECT_EQ(survey.points, 400);
        EXPECT_EQ(survey.spacing, 20.0);  // 0.0003 points per square metre
        survey.spacing = 60;
        return true;
    };
    auto loaded =
        LoadXyzPoints(test::sharedData("xyz/pdal_data.xyz"), chooseSixty, nullptr, nullptr);
    ASSERT_TRUE(loaded) << loaded.error().cause;
    const auto& header = loaded->header;
    EXPECT_EQ(header.projection, terrain::ProjectionKind::XY);
    EXPECT_EQ(header.rows, 20);
    EXPECT_EQ(header.columns, 20);
    EXPECT_EQ(header.westBound, 440750);
    EXPECT_EQ(header.originX, 440750);

    // The same points as binary records under a ".bin" name, and as text under ".dat".
    const auto text = test::runCommand("cat " + test::sharedData("xyz/pdal_data.xyz").string());
    const auto asDat = writeFile("points.dat", text);
    auto fromDat = LoadXyzPoints(asDat, chooseSixty, nullptr, nullptr);
    ASSERT_TRUE(fromDat);
    EXPECT_EQ(fromDat->grid.at(7, 9), loaded->grid.at(7, 9));

    const auto bad = LoadXyzPoints(test::sharedData("xyz/pdal_utm17_1_csv_with_header.txt"),
                                   nullptr, nullptr, nullptr);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().code, ErrorCode::ImproperXyzData);
    const auto empty = LoadXyzPoints(writeFile("empty.txt", ""), nullptr, nullptr, nullptr);
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().code, ErrorCode::SilentFailure);
}

}  // namespace
}  // namespace tavrok::importers

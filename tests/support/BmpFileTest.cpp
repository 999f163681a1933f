#include <gtest/gtest.h>

#include "TestSupport.h"
#include "support/BmpFile.h"

namespace tavrok::support {
namespace {

class BmpFileTest : public test::TemporaryFolderTest {};

TEST_F(BmpFileTest, WritesBottomUpBgrRowsPaddedToFourBytes) {
    RgbImage image(5, 3, {0, 0, 0});
    image.setPixel(0, 2, {10, 20, 30});  // bottom-left
    image.setPixel(4, 0, {40, 50, 60});  // top-right
    ASSERT_TRUE(writeBmp(image, path("a.bmp")).ok());
    const auto text = test::readFile(path("a.bmp"));
    const std::vector<unsigned char> bytes(text.begin(), text.end());
    // 54 header bytes and three rows of 15 pixel bytes padded to 16.
    ASSERT_EQ(bytes.size(), 54u + 3 * 16);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[2], 102);
    EXPECT_EQ(bytes[18], 5);
    EXPECT_EQ(bytes[22], 3);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 54, bytes.begin() + 57),
              (std::vector<unsigned char>{30, 20, 10}));
    EXPECT_EQ(bytes[54 + 15], 0);
    EXPECT_EQ(
        std::vector<unsigned char>(bytes.begin() + 54 + 32 + 12, bytes.begin() + 54 + 32 + 15),
        (std::vector<unsigned char>{60, 50, 40}));

    const auto back = readBmp(path("a.bmp"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back->pixel(0, 2), (Rgb{10, 20, 30}));
    EXPECT_EQ(back->pixel(4, 0), (Rgb{40, 50, 60}));
}

TEST_F(BmpFileTest, GdalReadsOurBitmap) {
    if (!test::haveProgram("gdalinfo")) {
        GTEST_SKIP() << "gdalinfo not installed";
    }
    RgbImage image(7, 2, {200, 100, 50});
    ASSERT_TRUE(writeBmp(image, path("b.bmp")).ok());
    const auto info = test::runCommand("gdalinfo -stats " + path("b.bmp").string() + " 2>&1");
    EXPECT_NE(info.find("Size is 7, 2"), std::string::npos) << info;
    EXPECT_NE(info.find("Minimum=200.000, Maximum=200.000"), std::string::npos) << info;
    EXPECT_NE(info.find("Minimum=50.000, Maximum=50.000"), std::string::npos) << info;
}

TEST_F(BmpFileTest, ReportsFilesItCannotUse) {
    EXPECT_EQ(writeBmp(RgbImage(1, 1), folder() / "no" / "x.bmp").error().message(),
              "Cannot Open File");
    EXPECT_EQ(readBmp(writeFile("text.bmp", "hello")).error().message(), "File Error");
}

}  // namespace
}  // namespace tavrok::support

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "support/FileHandle.h"
#include "support/ParallelLoop.h"
#include "support/Text.h"

namespace tavrok::support {
namespace {

class FileHandleTest : public test::TemporaryFolderTest {};

// A FIFO would block open() until a writer came; a folder or device is no data file.
TEST_F(FileHandleTest, OpensOnlyRegularFilesAndNeverWaitsOnAFifo) {
    const auto data = writeFile("data.bin", "abc");
    ASSERT_EQ(::mkfifo(path("pipe.dem").c_str(), 0600), 0);
    EXPECT_NE(openForReading(data), nullptr);
    EXPECT_EQ(openForReading(path("pipe.dem")), nullptr);
    EXPECT_EQ(openForReading(folder()), nullptr);
    EXPECT_EQ(openForReading("/dev/zero"), nullptr);
    EXPECT_EQ(openForReading(path("absent.bin")), nullptr);
    EXPECT_EQ(fileSizeOf(data), 3u);
    EXPECT_FALSE(fileSizeOf(path("absent.bin")).has_value());
}

TEST_F(FileHandleTest, ACheckedCloseReportsWhetherTheBytesWereWritten) {
    auto file = openForWriting(path("out.bin"));
    ASSERT_NE(file, nullptr);
    EXPECT_GE(std::fputs("xyz", file.get()), 0);
    EXPECT_TRUE(closeChecked(file));
    EXPECT_EQ(file, nullptr);
    EXPECT_FALSE(closeChecked(file));
    if (auto full = openForWriting("/dev/full")) {
        std::fputs("cannot land", full.get());
        EXPECT_FALSE(closeChecked(full));
    }
}

TEST(Text, MapsAsciiCaseOnlyAndQuotesNames) {
    EXPECT_EQ(lowerCase("X.DEM Ä"), "x.dem Ä");
    EXPECT_EQ(lowerExtension("a/B.TAR.GZ"), ".gz");
    EXPECT_TRUE(equalsIgnoringCase("WGS84", "wgs84"));
    EXPECT_FALSE(equalsIgnoringCase("WGS84", "WGS8"));
    EXPECT_EQ(quotedThen("Save GeoTiff DEM", " is not available yet"),
              "\"Save GeoTiff DEM\" is not available yet");
    EXPECT_EQ(formatText("%-ld Points Patched", 12L), "12 Points Patched");
}

// Every index is visited once whatever the thread count, and one refusing part fails the loop.
TEST(ParallelLoop, CoversEveryIndexOnceAndReportsAStoppedPart) {
    for (const int threads : {1, 2, 3, 7}) {
        std::vector<int> visits(101, 0);
        EXPECT_TRUE(parallelParts(0, 101, threads, [&](int, long first, long last) {
            for (long index = first; index < last; ++index) {
                ++visits[static_cast<std::size_t>(index)];
            }
            return true;
        }));
        EXPECT_EQ(visits, std::vector<int>(101, 1)) << threads;
    }
    EXPECT_FALSE(parallelParts(0, 10, 2, [](int part, long, long) { return part == 0; }));
    int bands = 0;
    EXPECT_FALSE(inReportedBands(
        600, 2, [&](long, long) { return ++bands < 2; }, [](int, int) {}));
    EXPECT_EQ(bands, 2);
}

}  // namespace
}  // namespace tavrok::support

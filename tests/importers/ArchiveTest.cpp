#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "TestSupport.h"
#include "importers/ArchiveExtractor.h"
#include "importers/TarReader.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

// One tar member written by hand, for entries no tar program would make.
std::string Member(const std::string& name, char type, const std::string& data,
                   const std::string& link = "") {
    std::string header(512, '\0');
    header.replace(0, std::min<std::size_t>(name.size(), 100), name.substr(0, 100));
    std::snprintf(header.data() + 100, 8, "%07o", 0644);
    std::snprintf(header.data() + 124, 12, "%011o", static_cast<unsigned>(data.size()));
    header[156] = type;
    header.replace(157, link.size(), link);
    header.replace(257, 6, std::string("ustar\0", 6));
    header.replace(148, 8, "        ");
    unsigned sum = 0;
    for (const char c : header) {
        sum += static_cast<unsigned char>(c);
    }
    std::snprintf(header.data() + 148, 8, "%06o", sum);
    std::string padded = data;
    padded.resize((data.size() + 511) / 512 * 512, '\0');
    return header + padded;
}

class ArchiveTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        std::filesystem::create_directories(path("box/in"));
        std::filesystem::create_directories(path("src/sub"));
        writeFile("src/a.dem", "first file");
        writeFile("src/sub/" + std::string(120, 'n') + ".ddf", "long name");
    }
    // What lies under the folder "box", which holds the extraction folder "box/in".
    std::vector<std::string> boxContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path("box"))) {
            names.push_back(std::filesystem::relative(entry.path(), path("box")).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    support::Result<ExtractedFiles> untarBytes(const std::string& bytes,
                                               const ExtractionLimits& limits = {}) {
        return Untar(writeFile("box/archive.tar", bytes), path("box/in"), limits);
    }
    std::string read(const std::filesystem::path& file) const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(ArchiveTest, ExtractsEveryTarFormatTheToolsWrite) {
    if (!test::haveProgram("tar") || !test::haveProgram("gzip")) {
        GTEST_SKIP() << "tar is not installed";
    }
    for (const std::string format : {"ustar", "v7", "gnu", "pax"}) {
        const auto archive = path(format + ".tar.gz");
        const std::string names = format == "ustar" || format == "v7" ? "a.dem" : "a.dem sub";
        test::runCommand(
            "cd '" + path("src").string() +
            "' && ln -sf a.dem link.dem && ln -f a.dem hard.dem && tar --format=" + format +
            " -czf '" + archive.string() + "' " + names + " link.dem hard.dem");
        std::filesystem::remove_all(path("box/in"));
        std::filesystem::create_directories(path("box/in"));
        auto extracted = Untar(archive, path("box/in"));
        ASSERT_TRUE(extracted) << format << ": " << extracted.error().detail;
        EXPECT_EQ(read(path("box/in/a.dem")), "first file") << format;
        EXPECT_EQ(read(path("box/in/link.dem")), "first file") << format;
        EXPECT_EQ(read(path("box/in/hard.dem")), "first file") << format;
        EXPECT_FALSE(std::filesystem::is_symlink(path("box/in/link.dem"))) << format;
        if (names.find("sub") != std::string::npos) {
            EXPECT_EQ(read(path("box/in/sub/" + std::string(120, 'n') + ".ddf")), "long name")
                << format;
        }
    }
}

TEST_F(ArchiveTest, HostileOrBrokenArchivesAreFaultyAndWriteNothingOutside) {
    const std::string end(1024, '\0');
    const std::string good = Member("ok.dem", '0', "x");
    std::string gzipWrongMethod = "\x1f\x8b\x07";
    gzipWrongMethod += std::string(20, '\0');
    const struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"parent", good + Member("../x", '0', "evil") + end},
        {"absolute", Member("/etc/x", '0', "evil") + end},
        {"deep parent", Member("a/../../x", '0', "evil") + end},
        {"link to parent then through it",
         Member("up", '2', "", "..") + Member("up/x", '0', "evil") + end},
        {"link to an absolute file", Member("passwd", '1', "", "/etc/passwd") + end},
        {"truncated block", (good + end).substr(0, 700)},
        {"truncated header", good.substr(0, 300)},
        {"bad checksum", std::string(100, 'a') + std::string(412, '\0')},
        {"wrong gzip method", gzipWrongMethod},
        {"neither tar nor gzip", "plain text"},
    };
    for (const auto& c : cases) {
        auto extracted = untarBytes(c.bytes);
        ASSERT_FALSE(extracted) << c.what;
        EXPECT_EQ(extracted.error().code, ErrorCode::FaultyArchiveFile) << c.what;
        for (const auto& name : boxContents()) {
            EXPECT_TRUE(name == "archive.tar" || name == "in" || name.rfind("in/", 0) == 0)
                << c.what << " wrote " << name;
            EXPECT_FALSE(std::filesystem::is_symlink(path("box") / name)) << c.what;
        }
        std::filesystem::remove_all(path("box"));
        std::filesystem::create_directories(path("box/in"));
    }
    EXPECT_FALSE(std::filesystem::exists(path("x")));
}

TEST_F(ArchiveTest, LimitsStopABombEarly) {
    const std::string big = Member("a", '0', std::string(4000, 'z')) + std::string(1024, '\0');
    auto bytes = untarBytes(big, ExtractionLimits{1000, 10});
    ASSERT_FALSE(bytes);
    EXPECT_EQ(bytes.error().code, ErrorCode::FaultyArchiveFile);
    std::string many;
    for (int i = 0; i < 5; ++i) {
        many += Member("f" + std::to_string(i), '0', "1");
    }
    auto files = untarBytes(many + std::string(1024, '\0'), ExtractionLimits{1000, 3});
    ASSERT_FALSE(files);
    EXPECT_EQ(files.error().code, ErrorCode::FaultyArchiveFile);
}

TEST_F(ArchiveTest, GzipOfOneFileAndCompressedMembersAreUnpacked) {
    if (!test::haveProgram("gzip") || !test::haveProgram("tar")) {
        GTEST_SKIP() << "gzip is not installed";
    }
    test::runCommand(
        "cd '" + path("src").string() +
        "' && gzip -k a.dem && cat a.dem.gz a.dem.gz > twice.dem.gz && tar -cf both.tar a.dem.gz");
    auto single = Untar(path("src/twice.dem.gz"), path("box/in"));
    ASSERT_TRUE(single) << single.error().detail;
    ASSERT_EQ(single->files.size(), 1u);
    EXPECT_EQ(read(path("box/in/twice.dem")), "first filefirst file");
    auto nested = Untar(path("src/both.tar"), path("box/in"));
    ASSERT_TRUE(nested) << nested.error().detail;
    ASSERT_EQ(nested->files.size(), 1u);
    EXPECT_EQ(nested->files.front(), path("box/in/a.dem"));
    EXPECT_FALSE(std::filesystem::exists(path("box/in/a.dem.gz")));
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "TestSupport.h"
#include "importers/ArchiveExtractor.h"
#include "importers/TarReader.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

// One tar member written by hand, for entries no tar program would make; its header may
// declare more data than follows.
std::string Member(const std::string& name, char type, const std::string& data,
                   const std::string& link = "", std::size_t declaredSize = 0) {
    std::string header(512, '\0');
    header.replace(0, std::min<std::size_t>(name.size(), 100), name.substr(0, 100));
    std::snprintf(header.data() + 100, 8, "%07o", 0644);
    std::snprintf(header.data() + 124, 12, "%011o",
                  static_cast<unsigned>(std::max(declaredSize, data.size())));
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

// A gzip member holding head followed by zeroBytes zeros, compressed a piece at a time.
std::string Gzip(const std::string& head, std::size_t zeroBytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::string output;
    std::string out(1 << 16, '\0');
    const std::string zeros(1 << 20, '\0');
    auto feed = [&](const std::string& bytes, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream.avail_in = static_cast<uInt>(bytes.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            output.append(out.data(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    for (std::size_t left = zeroBytes; left > 0; left -= std::min(left, zeros.size())) {
        feed(zeros.substr(0, std::min(left, zeros.size())), Z_NO_FLUSH);
    }
    feed("", Z_FINISH);
    deflateEnd(&stream);
    return output;
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
        EXPECT_EQ(test::readFile(path("box/in/a.dem")), "first file") << format;
        EXPECT_EQ(test::readFile(path("box/in/link.dem")), "first file") << format;
        EXPECT_EQ(test::readFile(path("box/in/hard.dem")), "first file") << format;
        EXPECT_FALSE(std::filesystem::is_symlink(path("box/in/link.dem"))) << format;
        if (names.find("sub") != std::string::npos) {
            EXPECT_EQ(test::readFile(path("box/in/sub/" + std::string(120, 'n') + ".ddf")),
                      "long name")
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
    const std::string end(1024, '\0');
    constexpr std::size_t bombBytes = 16 << 20;
    const std::string header = Member("zeros.dem", '0', "", "", bombBytes);
    const std::string bomb = Gzip("", bombBytes);
    // Checked for their ratio after 4 MiB instead of 128, to keep the test small.
    const ExtractionLimits bombLimits{std::uint64_t{2} << 30, 2048, 4 << 20, 100};
    std::string many;
    for (int i = 0; i < 10000; ++i) {
        many += Member("f" + std::to_string(i), '0', "1");
    }
    const struct Case {
        const char* what;
        std::string bytes;
        ExtractionLimits limits;
        const char* detail;
    } cases[] = {
        {"member over the size cap",
         Member("a", '0', std::string(4000, 'z')) + end,
         {1000, 10},
         "more data"},
        {"gzip over the size cap", Gzip(std::string(4000, 'z'), 0), {1000, 10}, "beyond 1000"},
        {"members over the count cap", many.substr(0, 5 * 1024) + end, {1000, 3}, "more than 3"},
        {"ten thousand members", many + end, {}, "more than 2048 members"},
        {"gzip bomb", bomb, bombLimits, "compression bomb"},
        {"tar.gz bomb", Gzip(header, bombBytes), bombLimits, "compression bomb"},
        {"gzip bomb inside a tar", Member("zeros.dem.gz", '0', bomb) + end, bombLimits,
         "compression bomb"},
    };
    for (const auto& c : cases) {
        auto extracted = untarBytes(c.bytes, c.limits);
        ASSERT_FALSE(extracted) << c.what;
        EXPECT_EQ(extracted.error().code, ErrorCode::FaultyArchiveFile) << c.what;
        EXPECT_NE(extracted.error().detail.find(c.detail), std::string::npos)
            << c.what << ": " << extracted.error().detail;
        // Stopped by a limit long before the whole bomb reached the disk.
        std::size_t files = 0;
        std::uintmax_t bytes = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path("box/in"))) {
            ++files;
            bytes += entry.file_size();
        }
        EXPECT_LE(files, 2048u) << c.what;
        EXPECT_LE(bytes, std::uintmax_t{5} << 20) << c.what;
        std::filesystem::remove_all(path("box/in"));
        std::filesystem::create_directories(path("box/in"));
    }
}

TEST_F(ArchiveTest, AFailedWriteBlamesTheDiskNotTheArchive) {
    const auto archive = writeFile(
        "box/big.tar", Member("big.dem", '0', std::string(200000, 'x')) + std::string(1024, '\0'));
    auto extracted = [&] {
        const test::FileSizeLimit fullDisk(65536);
        return Untar(archive, path("box/in"));
    }();
    ASSERT_FALSE(extracted);
    EXPECT_EQ(extracted.error().code, ErrorCode::CannotSaveTemporaryFiles);
    EXPECT_NE(extracted.error().detail.find("big.dem"), std::string::npos);
    EXPECT_NE(extracted.error().detail.find(std::strerror(EFBIG)), std::string::npos)
        << extracted.error().detail;
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
    EXPECT_EQ(test::readFile(path("box/in/twice.dem")), "first filefirst file");
    auto nested = Untar(path("src/both.tar"), path("box/in"));
    ASSERT_TRUE(nested) << nested.error().detail;
    ASSERT_EQ(nested->files.size(), 1u);
    EXPECT_EQ(nested->files.front(), path("box/in/a.dem"));
    EXPECT_FALSE(std::filesystem::exists(path("box/in/a.dem.gz")));
    // A .tgz inside a .tgz is left packed.
    test::runCommand("cd '" + path("src").string() +
                     "' && tar -czf inner.tgz a.dem && tar -czf outer.tgz inner.tgz");
    std::filesystem::create_directories(path("box/deeper"));
    auto deeper = Untar(path("src/outer.tgz"), path("box/deeper"));
    ASSERT_TRUE(deeper) << deeper.error().detail;
    ASSERT_EQ(deeper->files.size(), 1u);
    EXPECT_EQ(deeper->files.front(), path("box/deeper/inner.tgz"));
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "shell/RunDirectory.h"
#include "shell/TemporaryDirectory.h"

namespace tavrok::shell {
namespace {

class TemporaryDirectoryTest : public test::TemporaryFolderTest {};

TEST_F(TemporaryDirectoryTest, ProbeLeavesNothingBehindAndNeverTouchesTheUsersFiles) {
    writeFile("test.txt", "the user's notes");
    EXPECT_EQ(ProbeWritableDirectory(folder()), 0);
    EXPECT_EQ(listFolder(), std::vector<std::string>{"test.txt"});
    std::string kept;
    std::getline(std::ifstream(path("test.txt")), kept);
    EXPECT_EQ(kept, "the user's notes");
    EXPECT_EQ(ProbeWritableDirectory(folder() / "missing"), -1);
}

TEST_F(TemporaryDirectoryTest, ClearDirectoryDeletesFilesButNotFolders) {
    writeFile("a.bin", "a");
    writeFile("b.hdr", "b");
    writeFile("keep/inner.bin", "c");
    EXPECT_EQ(ClearDirectory(folder()), 1);
    EXPECT_EQ(listFolder(), (std::vector<std::string>{"keep", "keep/inner.bin"}));
    EXPECT_EQ(ClearDirectory(folder() / "missing"), 0);
}

TEST(ClearDirectory, RefusesSystemFoldersAndHome) {
    for (const char* folder : {"C:\\Program Files\\", "c:\\WINDOWS", "c:\\", "/", "/usr/", "/etc",
                               "/home", "/tmp/", "/bin", ""}) {
        EXPECT_EQ(ClearDirectory(folder), 0) << folder;
    }
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(ClearDirectory(std::string(home) + "/"), 0);
    }
}

TEST_F(TemporaryDirectoryTest, ChoosesTmpdirFirst) {
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    setenv("TMPDIR", folder().c_str(), 1);
    EXPECT_EQ(chooseTemporaryDirectory(), folder());
    setenv("TMPDIR", (folder() / "missing").c_str(), 1);
    EXPECT_EQ(chooseTemporaryDirectory(), std::filesystem::path("/tmp"));
    previous ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
}

// Each run gets its own folder that only its user can enter, and leaves nothing behind, links
// planted in it included (their targets stay).
TEST_F(TemporaryDirectoryTest, EachRunHasAPrivateFolderRemovedWithEverythingInIt) {
    const auto outside = writeFile("outside.txt", "keep");
    std::filesystem::path first;
    {
        auto run = RunDirectory::createIn(folder());
        auto other = RunDirectory::createIn(folder());
        ASSERT_TRUE(run && other);
        EXPECT_NE(run->path(), other->path());
        first = run->path();
        const auto permissions = std::filesystem::status(first).permissions();
        EXPECT_EQ(permissions & std::filesystem::perms::all, std::filesystem::perms::owner_all);
        std::filesystem::create_directories(first / "tavrok_terrain/0");
        std::ofstream(first / "tavrok_terrain/0/a.dem") << "x";
        std::filesystem::create_symlink(outside, first / "link.txt");
        auto moved = std::move(*run);
        EXPECT_EQ(moved.path(), first);
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_FALSE(RunDirectory::createIn(folder() / "missing").has_value());
}

}  // namespace
}  // namespace tavrok::shell

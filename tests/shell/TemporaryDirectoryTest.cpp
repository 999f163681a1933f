#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ScopedEnvironment.h"
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

// Folders that exist: without the refusal each would be cleared and report 1.
TEST(ClearDirectory, RefusesSystemFoldersAndHome) {
    for (const char* folder : {"/", "/usr/", "/etc", "/home", "/tmp/", "/bin"}) {
        EXPECT_EQ(ClearDirectory(folder), 0) << folder;
    }
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(ClearDirectory(std::string(home) + "/"), 0);
    }
}

TEST_F(TemporaryDirectoryTest, ChoosesTmpdirFirst) {
    const test::ScopedEnvironment tmpdir("TMPDIR", folder().string());
    EXPECT_EQ(chooseTemporaryDirectory(), folder());
    tmpdir.set((folder() / "missing").string());
    EXPECT_EQ(chooseTemporaryDirectory(), std::filesystem::path("/tmp"));
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

// A run that died without cleaning up leaves its folder; the next run removes it, and nothing
// else: not a living run's folder, not a link with our name, not a folder of another name.
TEST_F(TemporaryDirectoryTest, RemovesOnlyFoldersThatCrashedRunsLeft) {
    const pid_t child = fork();
    if (child == 0) {
        auto crashed = RunDirectory::createIn(folder());
        std::ofstream(crashed->path() / "unpacked.dem") << "x";
        _exit(0);  // no destructors: the folder stays, as after a crash
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const auto living = RunDirectory::createIn(folder());
    ASSERT_TRUE(living);
    const auto target = writeFile("target/kept.txt", "keep");
    std::filesystem::create_directory_symlink(target.parent_path(), folder() / "tavrok-linked");
    std::filesystem::create_directory(folder() / "tavrok-other-name");
    EXPECT_EQ(listFolder().size(), 7u);  // two runs, the link, two folders and a file

    EXPECT_EQ(RunDirectory::removeAbandonedIn(folder(), 3600), 0) << "too young to remove";
    EXPECT_EQ(RunDirectory::removeAbandonedIn(folder(), 0), 1);
    EXPECT_TRUE(std::filesystem::exists(living->path()));
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_TRUE(std::filesystem::is_symlink(folder() / "tavrok-linked"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "tavrok-other-name"));
    EXPECT_EQ(listFolder().size(), 5u);
}

}  // namespace
}  // namespace tavrok::shell

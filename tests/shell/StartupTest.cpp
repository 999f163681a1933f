#include <gtest/gtest.h>

#include <fstream>

#include "ScopedEnvironment.h"
#include "TestSupport.h"
#include "shell/SettingsFile.h"
#include "shell/WindowPlacement.h"

namespace tavrok::shell {
namespace {

TEST(WindowPlacement, DefaultsToMostOfTheScreenCentred) {
    const auto landscape = defaultPlacement(1280, 1024);
    EXPECT_EQ(landscape.width, 1228);
    EXPECT_EQ(landscape.height, 921);
    EXPECT_EQ(landscape.left, 26);
    EXPECT_EQ(landscape.top, 51);
    const auto portrait = defaultPlacement(768, 1024);
    EXPECT_EQ(portrait.width, 737);
    EXPECT_EQ(portrait.height, 552);
    EXPECT_EQ(portrait.top, 236);
}

TEST(WindowPlacement, RemembersOnlyNormalRectanglesThatFitTheScreen) {
    const WindowRectangle normal{10, 10, 800, 600};
    EXPECT_TRUE(shouldRememberRectangle(normal, {}, 1280, 1024));
    EXPECT_FALSE(shouldRememberRectangle(normal, {.creating = true}, 1280, 1024));
    EXPECT_FALSE(shouldRememberRectangle({0, 0, 200, 600}, {}, 1280, 1024));
    EXPECT_FALSE(shouldRememberRectangle({0, 0, 800, 150}, {}, 1280, 1024));
    EXPECT_FALSE(shouldRememberRectangle({0, 0, 1280, 600}, {}, 1280, 1024));
    EXPECT_FALSE(
        shouldRememberRectangle(normal, {.maximized = true, .fromResize = true}, 1280, 1024));
    EXPECT_FALSE(
        shouldRememberRectangle(normal, {.overlayView = true, .fromResize = true}, 1280, 1024));
    EXPECT_TRUE(shouldRememberRectangle(normal, {.maximized = true}, 1280, 1024));
}

TEST(WindowPlacement, UsesTheStoredRectangleOnlyWithWidthAndHeight) {
    SettingsFile settings;
    settings.window = {5, 6, 0, 500};
    EXPECT_EQ(startupPlacement(&settings, 1280, 1024).width, 1228);
    settings.window = {5, 6, 700, 500};
    EXPECT_EQ(startupPlacement(&settings, 1280, 1024).left, 5);
}

TEST(CommandLine, LosesEveryQuoteCharacter) {
    EXPECT_EQ(withoutQuotes("\"/data/my terrain/hood.bin\""), "/data/my terrain/hood.bin");
    EXPECT_EQ(withoutQuotes("a\"b\"c"), "abc");
    EXPECT_EQ(withoutQuotes("\"\""), "");
}

class SettingsFileTest : public test::TemporaryFolderTest {};

TEST_F(SettingsFileTest, RoundTripsEveryField) {
    SettingsFile settings;
    settings.lastFileType = 1305;
    settings.userColorTables[1][19] = {1, 2, 3};
    settings.directory(support::DirectoryFamily::Flyby) = "/home/user/movies";
    settings.directories[0] = std::string(300, 'x');  // longer than a slot: cut
    settings.window = {-4, 20, 1000, 700};
    ASSERT_TRUE(settings.write(path("config/tavrok/tavrok.ini")));
    EXPECT_EQ(std::filesystem::file_size(path("config/tavrok/tavrok.ini")), 2260u);
    const auto read = SettingsFile::read(path("config/tavrok/tavrok.ini"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->lastFileType, 1305);
    EXPECT_EQ(read->userColorTables[1][19].blue, 3);
    EXPECT_EQ(read->directories[7], "/home/user/movies");
    EXPECT_EQ(read->directories[0].size(), 259u);
    EXPECT_EQ(read->window.left, -4);
    EXPECT_EQ(read->window.height, 700);
}

TEST_F(SettingsFileTest, DeletesAFileOfAnyOtherSize) {
    for (const std::size_t size : {2259u, 2261u, 0u}) {
        const auto file = writeFile("tavrok.ini", std::string(size, '\1'));
        EXPECT_FALSE(SettingsFile::read(file).has_value()) << size;
        EXPECT_FALSE(std::filesystem::exists(file)) << size;
    }
    EXPECT_FALSE(SettingsFile::read(path("absent.ini")).has_value());
}

TEST_F(SettingsFileTest, ReadsGarbageOfTheRightSizeWithoutHarm) {
    std::string noise(2260, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>(i * 37 + 11);
    }
    const auto settings = SettingsFile::read(writeFile("tavrok.ini", noise));
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->lastFileType, 1301);  // not a file-type id: the default
    for (const auto& directory : settings->directories) {
        EXPECT_LT(directory.size(), 260u);
    }
}

TEST(SettingsFile, LivesInTheUsersConfigFolder) {
    const test::ScopedEnvironment config("XDG_CONFIG_HOME", "/somewhere/config");
    const test::ScopedEnvironment home("HOME", "/home/hiker");
    EXPECT_EQ(SettingsFile::defaultPath(), "/somewhere/config/tavrok/tavrok.ini");
    config.set(std::nullopt);
    EXPECT_EQ(SettingsFile::defaultPath(), "/home/hiker/.config/tavrok/tavrok.ini");
}

}  // namespace
}  // namespace tavrok::shell

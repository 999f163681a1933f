#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "support/Result.h"
#include "support/RgbImage.h"
#include "support/ScriptedUi.h"
#include "support/TemporaryFiles.h"

namespace tavrok::support {
namespace {

TEST(Result, CarriesAValueOrTheMessageOfItsError) {
    Result<int> good = 4;
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(*good, 4);
    Result<int> bad(ErrorCode::ImproperRowsOrColumns, "rows = 0");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().message(), "Improper Rows or Columns");
    EXPECT_EQ(bad.error().detail, "rows = 0");
    // Only the codes that name a value show their detail.
    EXPECT_EQ(bad.error().shownText(), "Improper Rows or Columns");
    EXPECT_EQ((Error{ErrorCode::ElevationOutOfRange, "3e+38"}.shownText()),
              "Elevation Out of Range: 3e+38");
}

TEST(RgbImage, PicturesWithoutPixelsAreEmptyAndCanBeFilled) {
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{0, 768}, std::pair{-3, 2}}) {
        RgbImage image(width, height, {10, 20, 30});
        image.fill({1, 1, 1});
        EXPECT_TRUE(image.empty()) << width << " x " << height;
        EXPECT_EQ(image.width() * image.height(), 0);
    }
}

TEST(ErrorCode, KeepsTheWordingUsersKnow) {
    EXPECT_EQ(messageText(ErrorCode::DifferentAngularResolutions),
              "DEMs Have Differnt Grid Resolutions.");
    EXPECT_EQ(messageText(ErrorCode::IncorrectRowAndColumn), "Incorrect Row & Column");
    EXPECT_EQ(messageText(ErrorCode::NotEnoughMemory), "Not Enough Memory");
}

class TemporaryFilesTest : public test::TemporaryFolderTest {};

TEST_F(TemporaryFilesTest, DeletesWhatItTracksWhenItGoesOutOfScope) {
    const auto kept = writeFile("kept.bin", "x");
    {
        TemporaryFiles files;
        files.add(writeFile("a.bin", "a"));
        files.add(writeFile("b.bin", "b"));
        files.add(path("never_made.bin"));
        files.remove(path("a.bin"));
        EXPECT_EQ(files.paths().size(), 2u);
        EXPECT_EQ(listFolder(), (std::vector<std::string>{"b.bin", "kept.bin"}));
    }
    EXPECT_EQ(listFolder(), std::vector<std::string>{"kept.bin"});
}

TEST_F(TemporaryFilesTest, MovedSetsDeleteOnlyOnce) {
    {
        TemporaryFiles inner;
        inner.add(writeFile("a.bin", "a"));
        TemporaryFiles moved(std::move(inner));
        EXPECT_EQ(moved.paths().size(), 1u);
        EXPECT_TRUE(inner.paths().empty());
    }
    EXPECT_TRUE(listFolder().empty());
}

class AlwaysRefuses : public DialogModel {
  public:
    std::string_view dialogId() const override { return "IDD_TEST"; }
    std::string_view title() const override { return "Test"; }
    Status accept() override {
        ++attempts;
        return attempts < 2 ? Status(ErrorCode::IncorrectZone) : success();
    }
    int attempts = 0;
};

TEST(ScriptedUi, KeepsADialogOpenAfterARejectedOk) {
    ScriptedUi ui;
    ui.queueDialog([](DialogModel&) { return true; });
    ui.queueDialog([](DialogModel&) { return true; });
    AlwaysRefuses dialog;
    EXPECT_TRUE(ui.runDialog(dialog));
    EXPECT_EQ(dialog.attempts, 2);
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Incorrect Zone"});
    EXPECT_FALSE(ui.runDialog(dialog));  // nothing queued: Cancel
}

TEST(ScriptedUi, AnswersInOrderAndStopsWhenTold) {
    ScriptedUi ui;
    ui.queueAnswer(true);
    EXPECT_TRUE(ui.askYesNo("Load?", Ui::defaultCaption));
    EXPECT_FALSE(ui.askYesNo("Again?", Ui::defaultCaption));
    EXPECT_EQ(ui.questions.size(), 2u);
    ui.stopAfterPolls(1);
    EXPECT_FALSE(ui.stopRequested());
    EXPECT_TRUE(ui.stopRequested());
}

}  // namespace
}  // namespace tavrok::support

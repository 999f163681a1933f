#include <gtest/gtest.h>

#include "terrain/AreaSelectionDialog.h"
#include "terrain/FileTypeDialog.h"

namespace tavrok::terrain {
namespace {

TEST(FileTypeDialog, StartsAtTheLastChoiceAndIgnoresIdsWithoutAButton) {
    FileTypeDialog dialog(fileTypeGeoTiff);
    EXPECT_EQ(dialog.choice(), fileTypeGeoTiff);
    dialog.choose(1300);
    EXPECT_EQ(dialog.choice(), fileTypeGeoTiff);
    dialog.choose(fileTypeSrtm);
    EXPECT_EQ(dialog.choice(), fileTypeSrtm);
    EXPECT_EQ(FileTypeDialog(42).choice(), fileTypeMatrix);
}

TEST(AreaSelectionDialog, ClampsTheWidthAndRoundsOddWidthsUpOnOk) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Earth, 24, 720, 360);
    dialog.scrollPage(+1);
    EXPECT_EQ(dialog.widthDegrees(), 26);
    dialog.setWidthDegrees(40);
    EXPECT_EQ(dialog.widthDegrees(), 36);
    dialog.setWidthDegrees(3);
    EXPECT_EQ(dialog.widthDegrees(), 12);
    dialog.scrollLine(+1);
    EXPECT_EQ(dialog.widthDegrees(), 13);
    ASSERT_TRUE(dialog.accept().ok());
    EXPECT_EQ(dialog.widthDegrees(), 14);
}

TEST(AreaSelectionDialog, ReadsPositionsUnderTheMouse) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Earth, 24, 720, 360);
    const auto centre = dialog.positionAt(360, 180);
    ASSERT_TRUE(centre.has_value());
    EXPECT_EQ(centre->latitude, 0);
    EXPECT_EQ(centre->longitude, 0);
    const auto corner = dialog.positionAt(0, 0);
    EXPECT_EQ(corner->latitude, 90);
    EXPECT_EQ(corner->longitude, -180);
    EXPECT_EQ(dialog.positionAt(100, 101)->latitude, 39);  // 39.5 truncates toward zero
    EXPECT_EQ(dialog.positionAt(359, 181)->longitude, 0);  // -0.5 truncates to 0
    EXPECT_FALSE(dialog.positionAt(720, 10).has_value());
    EXPECT_FALSE(dialog.positionAt(-1, 10).has_value());
}

TEST(AreaSelectionDialog, KeepsTheAreaRectangleInsideThePicture) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Earth, 24, 720, 360);
    auto area = dialog.areaRectangle();
    EXPECT_EQ(area.width, 48);
    EXPECT_EQ(area.height, 48);
    EXPECT_EQ(area.left, 336);
    EXPECT_EQ(area.top, 156);
    dialog.selectAt(2, 2);  // 89 N, 178 W
    EXPECT_EQ(dialog.centreLatitude(), 89);
    area = dialog.areaRectangle();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
}

TEST(AreaSelectionDialog, MarsShowsEastLongitudesAndFixedWidths) {
    AreaSelectionDialog dialog(AreaSelectionDialog::Planet::Mars, 24, 720, 360);
    EXPECT_EQ(dialog.widthDegrees(), 30);
    EXPECT_EQ(dialog.positionAt(0, 180)->longitude, 0);
    EXPECT_EQ(dialog.positionAt(719, 180)->longitude, 359);
    dialog.setWidthDegrees(60);
    EXPECT_EQ(dialog.widthDegrees(), 60);
    dialog.selectAt(360, 180);
    EXPECT_EQ(dialog.centreLongitude(), 180);
    EXPECT_EQ(dialog.areaRectangle().left, 360 - 60);
}

}  // namespace
}  // namespace tavrok::terrain

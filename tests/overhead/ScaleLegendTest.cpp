#include <gtest/gtest.h>

#include "overhead/ScaleLegend.h"
#include "support/Units.h"

namespace tavrok::overhead {
namespace {

using namespace colour;

ScaleLegendInput legend(double low, double high, int lo, int hi) {
    ScaleLegendInput input;
    input.terrainMinimum = low;
    input.terrainMaximum = high;
    input.scaleMinimum = lo;
    input.scaleMaximum = hi;
    input.spacingX = 30;
    return input;
}

TEST(ScaleLegend, BarRunsFromTheTopOfTheRampDownToItsStart) {
    const auto indices = legendBarIndices(legend(0, 2320, 0, 2320));
    // The top row would be 232; the ramp stops at 226.
    EXPECT_EQ(indices[0], 6 + 226);
    EXPECT_EQ(indices[116], 6 + 116);
    EXPECT_EQ(indices[232], 6);
    // Halves go away from zero: 10.5 becomes 11.
    const auto half = legendBarIndices(legend(0, 2320, -105, 2215));
    EXPECT_EQ(half[232], 6 + 11);
}

TEST(ScaleLegend, AnEmptyScaleSplitsTheBarAtTheScaleMinimum) {
    const auto indices = legendBarIndices(legend(0, 2320, 1160, 1160));
    EXPECT_EQ(indices[0], 6 + 226);
    EXPECT_EQ(indices[115], 6 + 226);
    // 0/0 counts as 0, and below the minimum the quotient is minus infinity.
    EXPECT_EQ(indices[116], 6);
    EXPECT_EQ(indices[232], 6);
}

TEST(ScaleLegend, HeightLabelsInKilometresAndFeet) {
    auto input = legend(1000, 3000, 0, 0);
    EXPECT_EQ(legendHeightLabels(input),
              (std::array<std::string, 4>{"3.00  km", "2.50  km", "2.00  km", "1.50  km"}));
    input.feet = true;
    EXPECT_EQ(legendHeightLabels(input)[0], "9842  ft");
    input.feet = false;
    input.globalTiles = true;
    EXPECT_EQ(legendHeightLabels(input)[0], "4.00  km");
    input.globalTiles = false;
    input.verticalUnitFactor = static_cast<float>(support::metresPerFoot);
    EXPECT_EQ(legendHeightLabels(input)[0], "1.61  km");
}

TEST(ScaleLegend, WidthLabelCountsTheScenesOddCells) {
    auto input = legend(0, 1, 0, 1);
    input.zoom = 1.0f;
    EXPECT_EQ(legendWidthLabel(input), "3.87   km");
    input.feet = true;
    EXPECT_EQ(legendWidthLabel(input), "2.40   mi");
    input.feet = false;
    input.zoom = 2.0f;
    EXPECT_EQ(legendWidthLabel(input), "1.95   km");
}

TEST(ScaleLegend, DrawsTheBarFromThePalette) {
    const auto palette = buildOverheadPalette(overheadDefaultScale());
    const auto input = legend(0, 2320, 0, 2320);
    const auto image = drawScaleLegend(input, palette);
    const auto indices = legendBarIndices(input);
    ASSERT_GE(image.height(), legendBarHeight);
    int matching = 0;
    for (int r = 0; r < legendBarHeight; ++r) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(image.width() / 8, y) == palette[indices[r]]) {
                ++matching;
                break;
            }
        }
    }
    EXPECT_EQ(matching, legendBarHeight);
    EXPECT_EQ(image.pixel(image.width() / 8, image.height() - 1), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace tavrok::overhead

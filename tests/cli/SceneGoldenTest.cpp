#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace tavrok::test {
namespace {

const std::string cli = TAVROK_CLI;
const std::string sample = TAVROK_SAMPLE;
const std::string goldenFolder = TAVROK_GOLDEN;

// How far a picture may stray from its reviewed golden: renderers round differently, so a
// few pixels along edges may change, but the terrain, the sky and the title stay put.
struct Difference {
    double meanPerChannel = 0;
    double shareBeyond40 = 0;  // pixels with a channel more than 40 off
};

Difference compare(const QImage& a, const QImage& b) {
    Difference difference;
    long beyond = 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int dr = std::abs(qRed(p) - qRed(q));
            const int dg = std::abs(qGreen(p) - qGreen(q));
            const int db = std::abs(qBlue(p) - qBlue(q));
            sum += dr + dg + db;
            beyond += std::max({dr, dg, db}) > 40;
        }
    }
    const double pixels = static_cast<double>(a.width()) * a.height();
    difference.meanPerChannel = sum / (3 * pixels);
    difference.shareBeyond40 = beyond / pixels;
    return difference;
}

class SceneGolden : public TemporaryFolderTest {};

// The sample seen in each mode; the goldens were made once and looked at.
TEST_F(SceneGolden, TheSampleMatchesItsReviewedPicturesInEveryMode) {
    const std::string placed = " --observer 560,240 --heading 20 --area-factor 2";
    const struct {
        const char* golden;
        std::string options;
    } cases[] = {
        {"hood_color.png", placed + " --size 480x360"},
        {"hood_red_blue.png", placed + " --size 480x360 --mode red-blue"},
        {"hood_side_by_side.png", placed + " --mode side-by-side"},
        {"hood_background.png",
         " --position background --observer 560,120 --size 480x360 --altitude 400 --tilt 10"
         " --terrain-type lowlands --sea-level 1400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        const std::string output = (folder() / c.golden).string();
        runCommand(cli + " scene " + sample + " -o " + output + c.options);
        const QImage drawn(QString::fromStdString(output));
        const QImage golden(QString::fromStdString(goldenFolder + "/" + c.golden));
        ASSERT_FALSE(drawn.isNull());
        ASSERT_FALSE(golden.isNull());
        ASSERT_EQ(drawn.size(), golden.size());
        const Difference difference = compare(drawn, golden);
        EXPECT_LT(difference.meanPerChannel, 3.0);
        EXPECT_LT(difference.shareBeyond40, 0.02);
    }
}

}  // namespace
}  // namespace tavrok::test

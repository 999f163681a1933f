#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "TestSupport.h"
#include "overhead/ScaleLegend.h"
#include "paint/QtPainter.h"
#include "shell/Dispatch.h"
#include "support/ScriptedUi.h"

namespace tavrok::paint {
namespace {

// Fonts need a GUI application; one serves every test of the run.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "tests_paint";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

class PaintTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        ensureApplication();
    }
};

TEST_F(PaintTest, TextFontHasTheCellOfTheProgramsFont) {
    support::RgbImage image(200, 40);
    QtPainter painter(image);
    EXPECT_NEAR(painter.lineHeight(), 22, 1);
    EXPECT_GE(painter.averageCharWidth(), 7);
    EXPECT_LE(painter.averageCharWidth(), 11);
    EXPECT_GT(painter.textWidth("-121.70 "), painter.textWidth("45.45"));
}

TEST_F(PaintTest, DrawsTextAndLinesIntoTheImageMemory) {
    support::RgbImage image(120, 40);
    {
        QtPainter painter(image);
        painter.drawText(2, 2, "45:30", {0, 0, 0});
        painter.drawLine(0, 35, 119, 35, {255, 0, 0}, 1);
    }
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            dark += image.pixel(x, y).red < 128;
        }
    }
    EXPECT_GT(dark, 30);
    EXPECT_EQ(image.pixel(60, 35), (support::Rgb{255, 0, 0}));
    EXPECT_EQ(image.pixel(60, 38), (support::Rgb{255, 255, 255}));
}

TEST_F(PaintTest, LegendCarriesItsCaptions) {
    overhead::ScaleLegendInput input;
    input.terrainMaximum = 3000;
    input.scaleMaximum = 3000;
    input.spacingX = 30;
    const auto image =
        drawScaleLegend(input, overhead::buildOverheadPalette(overhead::overheadDefaultScale()),
                        QtPainter::factory());
    int dark = 0;
    for (int y = image.height() - 50; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += image.pixel(x, y).red < 100;
        }
    }
    EXPECT_GT(dark, 50);
}

// The sample as the main window shows it at zoom 0.4, beside a reviewed rendering. Text
// rasterisation may differ slightly between FreeType builds, so up to 1% of the pixels may
// differ, by at most 3 per channel on average over the image.
TEST_F(PaintTest, SampleTerrainMatchesTheGoldenImage) {
    shell::AppState state;
    support::ScriptedUi ui;
    state.shell.tempDir = folder();
    state.overhead.painterFactory = QtPainter::factory();
    shell::runImport(state, ui,
                     shell::LoadRequest{shell::CommandId::LoadMatrixFiles, 0, {test::sampleTerrain}});
    ASSERT_TRUE(state.document.loaded());
    state.map.overheadZoom = 0.4;
    shell::dispatch(state, ui, shell::CommandId::BuildOverhead, 1);
    const QImage rendered = toQImage(state.overhead.image);
    const std::string golden = std::string(test::sourceDir) + "/tests/paint/golden/mt_hood_0.4.png";
    if (std::getenv("TAVROK_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(rendered.save(QString::fromStdString(golden)));
    }
    const QImage expected =
        QImage(QString::fromStdString(golden)).convertToFormat(QImage::Format_RGB888);
    ASSERT_FALSE(expected.isNull()) << golden;
    ASSERT_EQ(expected.size(), rendered.size());
    long differing = 0;
    long totalDifference = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const uchar* a = expected.constScanLine(y);
        const uchar* b = rendered.constScanLine(y);
        for (int i = 0; i < expected.width() * 3; ++i) {
            const int difference = std::abs(a[i] - b[i]);
            totalDifference += difference;
            differing += difference > 3;
        }
    }
    const long samples = static_cast<long>(expected.width()) * expected.height() * 3;
    EXPECT_LE(differing, samples / 100);
    EXPECT_LE(static_cast<double>(totalDifference) / samples, 3.0);
    if (differing > 0) {
        rendered.save(QString::fromStdString((folder() / "rendered.png").string()));
    }
}

}  // namespace
}  // namespace tavrok::paint

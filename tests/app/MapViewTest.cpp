#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "TestSupport.h"
#include "WindowTest.h"
#include "app/MainWindow.h"

namespace tavrok::app {
namespace {

const QColor rubberBand(200, 50, 0);

class MapViewTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        loadSample();
    }

    MapView& map() { return window->mapView(); }
    // Where image pixel (x, y) is in the map widget.
    QPoint onImage(int x, int y) { return imageOrigin() + QPoint(x, y); }
    // Whether the rubber band's colour is at or next to a widget pixel.
    bool bandNear(const QImage& shown, QPoint at) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (shown.pixelColor(at + QPoint(dx, dy)) == rubberBand) {
                    return true;
                }
            }
        }
        return false;
    }
};

// Scrolling moves the map's pixels; boxes fixed in the window must not be left behind in
// copies. What the window shows after wheel steps must equal a fresh paint of it.
TEST_F(MapViewTest, WheelScrollingLeavesNoStaleReadoutBoxes) {
    window->resize(420, 320);
    QApplication::processEvents();
    QScrollBar* vertical = window->scrollArea().verticalScrollBar();
    ASSERT_GT(vertical->maximum(), 0);
    QWidget* viewport = window->scrollArea().viewport();
    const QPoint pointer = map().mapFrom(viewport, QPoint(viewport->width() / 3, 40));
    QTest::mouseMove(&map(), pointer);
    ASSERT_FALSE(map().readoutLines().isEmpty());
    QApplication::processEvents();
    // The map leaves the wheel to the scroll area, which receives it on its viewport.
    for (int step = 0; step < 3; ++step) {
        const QPoint at(viewport->width() / 3, 40);
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QApplication::processEvents();
    }
    ASSERT_GT(vertical->value(), 0);
    const QRect shownArea(viewport->mapTo(window.get(), QPoint(0, 0)), viewport->size());
    const QImage onScreen = window->screen()
                                ->grabWindow(window->winId())
                                .toImage()
                                .copy(shownArea)
                                .convertToFormat(QImage::Format_RGB32);
    const QImage fresh =
        window->grab().toImage().copy(shownArea).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(onScreen.size(), fresh.size());
    EXPECT_TRUE(onScreen == fresh);
}

TEST_F(MapViewTest, ADraggedRectangleIsDrawnAndEnterHandsOverTheArea) {
    state.mapTools.start(shell::MapTool::SelectArea);
    QTest::mousePress(&map(), Qt::LeftButton, {}, onImage(20, 10));
    QTest::mouseMove(&map(), onImage(60, 50));
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, onImage(60, 50));
    QImage shown = map().grab().toImage();
    EXPECT_TRUE(bandNear(shown, onImage(40, 10)));
    EXPECT_TRUE(bandNear(shown, onImage(60, 30)));
    EXPECT_FALSE(bandNear(shown, onImage(40, 30)));

    QSignalSpy finished(&map(), &MapView::mapToolFinished);
    QTest::keyClick(&map(), Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    const auto result = map().takeToolResult();
    ASSERT_TRUE(result);
    const auto* selected = std::get_if<shell::SelectedArea>(&*result);
    ASSERT_NE(selected, nullptr);
    const double zoom = state.overhead.geometry.zoom;
    const int height = map().image().height();
    EXPECT_NEAR(selected->area.west, 20 / zoom, 1e-9);
    EXPECT_NEAR(selected->area.east, 60 / zoom, 1e-9);
    EXPECT_NEAR(selected->area.north, (height - 1 - 10) / zoom, 1e-9);
    EXPECT_NEAR(selected->area.south, (height - 1 - 50) / zoom, 1e-9);
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::Readout);
    EXPECT_FALSE(map().takeToolResult());
    shown = map().grab().toImage();
    EXPECT_FALSE(bandNear(shown, onImage(40, 10)));
}

TEST_F(MapViewTest, EscapeDropsTheRectangleAndTheRightButtonDrawsAProfileLine) {
    QSignalSpy cancelled(&map(), &MapView::mapToolCancelled);
    state.mapTools.start(shell::MapTool::PatchArea);
    QTest::mousePress(&map(), Qt::LeftButton, {}, onImage(20, 10));
    QTest::mouseMove(&map(), onImage(60, 50));
    QTest::keyClick(&map(), Qt::Key_Escape);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::SceneMarker);
    EXPECT_FALSE(map().takeToolResult());
    EXPECT_FALSE(state.shell.stopRequested);

    QTest::mousePress(&map(), Qt::RightButton, {}, onImage(10, 40));
    QTest::mouseMove(&map(), onImage(50, 40));
    EXPECT_TRUE(bandNear(map().grab().toImage(), onImage(30, 40)));
    QTest::mouseRelease(&map(), Qt::RightButton, {}, onImage(50, 40));
    const auto result = map().takeToolResult();
    ASSERT_TRUE(result);
    const auto* line = std::get_if<shell::ProfileLine>(&*result);
    ASSERT_NE(line, nullptr);
    const double zoom = state.overhead.geometry.zoom;
    EXPECT_NEAR(line->start.column, 10 / zoom, 1e-9);
    EXPECT_NEAR(line->end.column, 50 / zoom, 1e-9);
    EXPECT_NEAR(line->end.row, (map().image().height() - 1 - 40) / zoom, 1e-9);
}

}  // namespace
}  // namespace tavrok::app

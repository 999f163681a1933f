#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "TestSupport.h"
#include "WindowTest.h"
#include "app/MainWindow.h"
#include "shell/TerrainLoading.h"

namespace tavrok::app {
namespace {

using shell::CommandId;

class GridReadoutIndependenceTest : public WindowTest {
  protected:
    // The map drawn afresh, grid and labels included, without the readout boxes over it.
    QImage redrawnMap() {
        window->runCommand(CommandId::LatLonGridOff);
        window->runCommand(CommandId::LatLonGridOn);
        return window->mapView().image().copy();
    }
};

// A NAD27 transfer on Clarke 1866: its UTM lines lie some 200 m from where WGS-84 would put
// them, so a grid that followed any state of the readout's conversion would move.
TEST_F(GridReadoutIndependenceTest, ReadoutsInEveryModeLeaveTheGridWhereItWas) {
    const auto module = test::sharedData("sdts/node-gdal_8821/8821CATD.DDF");
    window->runImport(shell::loadRequestForFiles({module}));
    ASSERT_TRUE(state.document.loaded());
    ASSERT_TRUE(state.overhead.latLonGrid);
    window->runCommand(CommandId::LatLonGridOff);
    const QImage withoutGrid = window->mapView().image().copy();
    ASSERT_NE(redrawnMap(), withoutGrid) << "no grid is drawn on this terrain";

    MapView& map = window->mapView();
    // Each mode labels the lines its own way: images are compared within one mode.
    for (const CommandId mode :
         {CommandId::UtmMeters, CommandId::DecimalDegree, CommandId::DegreeMinSec}) {
        SCOPED_TRACE(static_cast<int>(mode));
        window->runCommand(mode);
        const QImage before = redrawnMap();
        const struct {
            int x;
            int y;
        } pointers[] = {
            {5, 5},
            {before.width() / 2, before.height() / 2},
            {before.width() - 3, before.height() - 3},
            {before.width() / 3, 2 * before.height() / 3},
        };
        for (const auto& p : pointers) {
            QTest::mouseMove(&map, imageOrigin() + QPoint(p.x, p.y));
            ASSERT_FALSE(map.readoutLines().isEmpty()) << p.x << ", " << p.y;
        }
        const QImage after = redrawnMap();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after, before);
    }
}

}  // namespace
}  // namespace tavrok::app

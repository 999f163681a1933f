#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OverheadFixtures.h"
#include "overhead/LatLonGrid.h"

namespace tavrok::overhead {
namespace {

// Fixed metrics: 7 pixels a character, 13 a line. Records where each label went.
class RecordingPainter : public support::Painter {
  public:
    struct Text {
        int x;
        int y;
        std::string text;
    };

    void drawLine(int, int, int, int, support::Rgb, int) override {}
    void drawText(int x, int y, std::string_view text, support::Rgb) override {
        texts.push_back({x, y, std::string(text)});
    }
    int textWidth(std::string_view text) const override {
        return 7 * static_cast<int>(text.size());
    }
    int lineHeight() const override { return 13; }
    int averageCharWidth() const override { return 7; }

    std::vector<Text> texts;
};

// A geographic terrain of rows × columns 3″ cells whose south-west cell lies at the given
// degrees.
terrain::Terrain geographicAt(double south, double west, int rows, int columns) {
    return test::geographicTerrain(rows, columns, west * 3600, south * 3600, 3,
                                   [](int, int) { return 0.0f; });
}

struct LabelCase {
    const char* name;
    double south;
    double west;
    int rows;
    int columns;
    // A label that must be drawn whole, though its line lies on or near the edge.
    std::string edgeLabel;
};

// Lines on the west, east, south and north edges, and a meridian near the east edge whose
// label, moved inside, meets the parallels' labels.
const LabelCase cases[] = {
    {"meridian on the west edge", 45.0, 11.0, 400, 601, "11.00"},
    {"meridian on the east edge", 45.0, -121.75, 400, 301, "-121.50"},
    {"parallel on the south edge", 46.0 - 3.0 / 3600, -113.4, 301, 400, "46.00"},
    {"parallel on the north edge", 45.75, -113.4, 301, 400, "46.00"},
    {"meridian label meeting a parallel label", 45.8, -113.33, 401, 401, "-113.00"},
};

TEST(GridLabelPlacement, LabelsOnTheEdgesAreMovedInsideAndNeverOverlap) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto terrain = geographicAt(c.south, c.west, c.rows, c.columns);
        const auto geometry = ViewGeometry::compute(c.rows, c.columns, 1.0f, 1024, 768);
        support::RgbImage image(geometry.width, geometry.height);
        RecordingPainter painter;
        drawLatLonGrid(image, terrain, geometry, {1, 2, 3}, false, &painter);
        ASSERT_FALSE(painter.texts.empty());
        bool edgeLabelDrawn = false;
        for (std::size_t i = 0; i < painter.texts.size(); ++i) {
            const auto& t = painter.texts[i];
            const int width = painter.textWidth(t.text);
            EXPECT_GE(t.x, 0) << t.text;
            EXPECT_GE(t.y, 0) << t.text;
            EXPECT_LE(t.x + width, geometry.width) << t.text;
            EXPECT_LE(t.y + painter.lineHeight(), geometry.height) << t.text;
            edgeLabelDrawn = edgeLabelDrawn || t.text == c.edgeLabel;
            for (std::size_t j = 0; j < i; ++j) {
                const auto& u = painter.texts[j];
                const bool apart = t.x >= u.x + painter.textWidth(u.text) || u.x >= t.x + width ||
                                   t.y >= u.y + painter.lineHeight() ||
                                   u.y >= t.y + painter.lineHeight();
                EXPECT_TRUE(apart) << t.text << " over " << u.text;
            }
        }
        EXPECT_TRUE(edgeLabelDrawn) << c.edgeLabel;
    }
}

// Of two labels that would overlap, the one drawn first stays.
TEST(GridLabelPlacement, TheLaterOfTwoOverlappingLabelsIsLeftOut) {
    // Parallels every 0.01° are 12 rows apart, less than a line of text: 46.01 would cover
    // 46.00, 46.03 would cover 46.02.
    const auto terrain = geographicAt(46.0 - 3.0 / 3600, -113.3, 37, 1201);
    const auto geometry = ViewGeometry::compute(37, 1201, 1.0f, 1024, 768);
    ASSERT_EQ(gridSpacing(terrain.header.northLat - terrain.header.southLat), 0.01);
    support::RgbImage image(geometry.width, geometry.height);
    RecordingPainter painter;
    drawLatLonGrid(image, terrain, geometry, {1, 2, 3}, false, &painter);
    std::vector<std::string> parallels;
    for (const auto& t : painter.texts) {
        if (t.text.rfind("46.", 0) == 0) {
            parallels.push_back(t.text);
        }
    }
    EXPECT_EQ(parallels, (std::vector<std::string>{"46.00", "46.02"}));
}

}  // namespace
}  // namespace tavrok::overhead

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <string>
#include <vector>

#include "overhead/LatLonGrid.h"
#include "paint/QtPainter.h"

namespace tavrok::paint {
namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "tests_paint";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

// Draws through the program's own font and keeps each label's box as that font measures it.
class MeasuredLabels : public support::Painter {
  public:
    struct Box {
        int x;
        int y;
        int width;
        int height;
        std::string text;
    };

    explicit MeasuredLabels(support::RgbImage& image) : m_painter(image) {}

    void drawLine(int x0, int y0, int x1, int y1, support::Rgb colour, int width) override {
        m_painter.drawLine(x0, y0, x1, y1, colour, width);
    }
    void drawText(int x, int y, std::string_view text, support::Rgb colour) override {
        boxes.push_back(
            {x, y, m_painter.textWidth(text), m_painter.lineHeight(), std::string(text)});
        m_painter.drawText(x, y, text, colour);
    }
    int textWidth(std::string_view text) const override { return m_painter.textWidth(text); }
    int lineHeight() const override { return m_painter.lineHeight(); }
    int averageCharWidth() const override { return m_painter.averageCharWidth(); }

    std::vector<Box> boxes;

  private:
    QtPainter m_painter;
};

// rows × columns 3″ cells from the given south-west corner, in degrees.
terrain::Terrain geographicAt(double south, double west, int rows, int columns) {
    terrain::Terrain terrain;
    terrain.grid = terrain::TerrainModel::create(rows, columns).value();
    terrain.loaded = true;
    auto& h = terrain.header;
    h.rows = rows;
    h.columns = columns;
    h.projection = terrain::ProjectionKind::LatLon;
    h.gridKind = terrain::gridKindDem;
    h.coordinateType = terrain::coordinateTypeGeographic;
    h.spacingX = 3;
    h.spacingY = 3;
    h.westBound = west * 3600;
    h.eastBound = h.westBound + 3.0 * (columns - 1);
    h.southBound = south * 3600;
    h.northBound = h.southBound + 3.0 * (rows - 1);
    h.westLon = static_cast<float>(h.westBound / 3600);
    h.eastLon = static_cast<float>(h.eastBound / 3600);
    h.southLat = static_cast<float>(h.southBound / 3600);
    h.northLat = static_cast<float>(h.northBound / 3600);
    return terrain;
}

// With the program's font every label lies wholly on the map and none covers another, on
// maps whose lines run along their edges: 11.00 on the west edge, -121.50 on the east edge,
// 46.00 on the south and on the north edge.
TEST(GridLabels, StayWholeAndApartInTheProgramsFont) {
    ensureApplication();
    const struct {
        const char* name;
        double south;
        double west;
        int rows;
        int columns;
        std::string edgeLabel;
    } cases[] = {
        {"west edge", 57.0, 11.0, 400, 601, "11.00"},
        {"east edge", 45.0, -121.75, 400, 301, "-121.50"},
        {"south edge", 46.0 - 3.0 / 3600, -113.4, 301, 400, "46.00"},
        {"north edge", 45.75, -113.4, 301, 400, "46.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto terrain = geographicAt(c.south, c.west, c.rows, c.columns);
        const auto geometry = overhead::ViewGeometry::compute(c.rows, c.columns, 1.0f, 1024, 768);
        support::RgbImage image(geometry.width, geometry.height);
        MeasuredLabels labels(image);
        overhead::drawLatLonGrid(image, terrain, geometry, {0, 0, 0}, false, &labels);
        bool edgeLabelDrawn = false;
        for (std::size_t i = 0; i < labels.boxes.size(); ++i) {
            const auto& b = labels.boxes[i];
            EXPECT_GE(b.x, 0) << b.text;
            EXPECT_GE(b.y, 0) << b.text;
            EXPECT_LE(b.x + b.width, geometry.width) << b.text;
            EXPECT_LE(b.y + b.height, geometry.height) << b.text;
            edgeLabelDrawn = edgeLabelDrawn || b.text == c.edgeLabel;
            for (std::size_t j = 0; j < i; ++j) {
                const auto& o = labels.boxes[j];
                const bool apart = b.x >= o.x + o.width || o.x >= b.x + b.width ||
                                   b.y >= o.y + o.height || o.y >= b.y + b.height;
                EXPECT_TRUE(apart) << b.text << " over " << o.text;
            }
        }
        EXPECT_TRUE(edgeLabelDrawn) << c.edgeLabel;
    }
}

}  // namespace
}  // namespace tavrok::paint

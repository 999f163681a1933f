#include "overhead/LatLonGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "geodesy/Utm.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

using support::degreesPerRadian;

struct Pixel {
    int x = 0;
    int y = 0;  // top row 0
};

// The label strips that stay clear of lines and the places of the labels.
struct Layout {
    int width = 0;
    int height = 0;
    TextMetrics metrics;

    bool inMeridianLabelStrip(int y) const {
        return y >= 2 * metrics.lineHeight - 2 && y <= 3 * metrics.lineHeight;
    }
    bool inParallelLabelStrip(int x) const {
        return x >= width - 13 * metrics.averageCharWidth &&
               x <= width - 4 * metrics.averageCharWidth;
    }
};

class GridPainter {
  public:
    GridPainter(support::RgbImage& image, support::Rgb colour, support::Painter* painter,
                bool degreesMinutes)
        : m_image(image), m_colour(colour), m_painter(painter), m_degreesMinutes(degreesMinutes) {
        m_layout.width = image.width();
        m_layout.height = image.height();
        if (painter != nullptr) {
            m_layout.metrics = {painter->averageCharWidth(), painter->lineHeight()};
        }
    }

    const Layout& layout() const { return m_layout; }

    void meridianPoint(Pixel p) {
        if (!m_layout.inMeridianLabelStrip(p.y)) {
            m_image.setPixelClipped(p.x, p.y, m_colour);
        }
    }
    void parallelPoint(Pixel p) {
        if (!m_layout.inParallelLabelStrip(p.x)) {
            m_image.setPixelClipped(p.x, p.y, m_colour);
        }
    }
    // Near the top edge, three character widths left of the line. A line off the image has
    // no label: moved inside, it would name a line that is not there.
    void meridianLabel(double degrees, int x) {
        if (x < 0 || x >= m_layout.width) {
            return;
        }
        label(degrees, x - 3 * m_layout.metrics.averageCharWidth,
              2 * m_layout.metrics.lineHeight - 1);
    }
    // Near the right edge, twelve character widths from it, centred on the line.
    void parallelLabel(double degrees, int y) {
        if (y < 0 || y >= m_layout.height) {
            return;
        }
        label(degrees, m_layout.width - 12 * m_layout.metrics.averageCharWidth,
              y - m_layout.metrics.lineHeight / 2);
    }

  private:
    struct Box {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;

        bool overlaps(const Box& other) const {
            return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
                   other.y < y + height;
        }
    };

    // A label that would stick out of the map is moved just inside it, so no digit is cut
    // off; one that would cover a label already drawn is left out.
    void label(double degrees, int x, int y) {
        if (m_painter == nullptr) {
            return;
        }
        std::string text = gridLabel(degrees, m_degreesMinutes);
        // The trailing blank is part of the label's format, not of what is seen.
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        Box box{x, y, m_painter->textWidth(text), m_painter->lineHeight()};
        box.x = std::clamp(box.x, 0, std::max(0, m_layout.width - box.width));
        box.y = std::clamp(box.y, 0, std::max(0, m_layout.height - box.height));
        for (const Box& placed : m_placed) {
            if (box.overlaps(placed)) {
                return;
            }
        }
        m_placed.push_back(box);
        m_painter->drawText(box.x, box.y, text, m_colour);
    }

    support::RgbImage& m_image;
    support::Rgb m_colour;
    support::Painter* m_painter;
    bool m_degreesMinutes;
    Layout m_layout;
    std::vector<Box> m_placed;
};

void drawUtmGrid(GridPainter& out, const terrain::Terrain& terrain, const ViewGeometry& geometry) {
    const auto& header = terrain.header;
    // A converter of its own, set from the terrain's header alone: the lines lie where the
    // terrain's datum puts them, however often the readout has converted since.
    geodesy::UtmConverter converter;
    const int status = converter.setUtmParameters(header.ellipsoid, header.utmZone);
    if (status != 0 || !(header.spacingX > 0) || !(header.spacingY > 0)) {
        return;
    }
    const int width = geometry.width;
    const int height = geometry.height;
    const auto toPixel = [&](double latitude, double longitude) -> std::optional<Pixel> {
        const auto utm = converter.latLonToUtm(latitude, longitude);
        if (utm.flags != 0) {
            return std::nullopt;
        }
        return Pixel{
            terrain::RoundToInt((utm.easting - header.westBound) * geometry.zoom / header.spacingX),
            terrain::RoundToInt(
                height - 1 - (utm.northing - header.southBound) * geometry.zoom / header.spacingY)};
    };
    const double west = header.westLon;
    const double east = header.eastLon;
    const double south = header.southLat;
    const double north = header.northLat;

    const double lonSpacing = gridSpacing(east - west);
    for (const double meridian : gridLines(GridLayout::Utm, west, east - west, lonSpacing)) {
        std::optional<Pixel> last;
        for (int y = 0; y < height; ++y) {
            last = toPixel(south + y * (north - south) / height, meridian);
            if (last) {
                out.meridianPoint(*last);
            }
        }
        if (last) {
            out.meridianLabel(meridian, last->x);
        }
    }
    const double latSpacing = gridSpacing(north - south);
    const int steps = std::max(1, width / 2);
    for (const double parallel : gridLines(GridLayout::Utm, south, north - south, latSpacing)) {
        std::optional<Pixel> last;
        for (int s = 0; s <= steps; ++s) {
            last = toPixel(parallel, west + s * (east - west) / steps);
            if (last) {
                out.parallelPoint(*last);
            }
        }
        if (last) {
            out.parallelLabel(parallel, last->y);
        }
    }
}

void drawStraightMeridian(GridPainter& out, double degrees, int x, int height) {
    for (int y = 0; y < height; ++y) {
        out.meridianPoint({x, y});
    }
    out.meridianLabel(degrees, x);
}

void drawStraightParallel(GridPainter& out, double degrees, int y, int width) {
    for (int x = 0; x < width; ++x) {
        out.parallelPoint({x, y});
    }
    out.parallelLabel(degrees, y);
}

void drawLatLonTerrainGrid(GridPainter& out, const terrain::TerrainHeader& header,
                           const ViewGeometry& geometry) {
    if (!(header.spacingX > 0) || !(header.spacingY > 0)) {
        return;
    }
    const double west = header.westLon;
    const double east = header.eastLon;
    const double south = header.southLat;
    const double north = header.northLat;
    for (const double meridian :
         gridLines(GridLayout::LatLon, west, east - west, gridSpacing(east - west))) {
        const auto x = static_cast<int>((meridian * 3600 - header.westBound) * geometry.zoom /
                                        header.spacingX);
        drawStraightMeridian(out, meridian, x, geometry.height);
    }
    for (const double parallel :
         gridLines(GridLayout::LatLon, south, north - south, gridSpacing(north - south))) {
        const auto y = static_cast<int>(geometry.height - (parallel * 3600 - header.southBound) *
                                                              geometry.zoom / header.spacingY);
        drawStraightParallel(out, parallel, y, geometry.width);
    }
}

void drawGlobalTileGrid(GridPainter& out, const terrain::TerrainHeader& header,
                        const ViewGeometry& geometry) {
    if (!(header.degreesPerColumn > 0) || !(header.degreesPerRow > 0)) {
        return;
    }
    const double west = header.westLon;
    const double east = header.eastLon;
    const double south = header.southLat;
    const double north = header.northLat;
    const bool sinusoidal = header.projection == terrain::ProjectionKind::Sinusoidal;
    const int width = geometry.width;
    const int height = geometry.height;
    for (const double meridian :
         gridLines(GridLayout::GlobalTile, west, east - west, globalGridSpacing(east - west))) {
        if (!sinusoidal) {
            const auto x =
                static_cast<int>((meridian - west) * geometry.zoom / header.degreesPerColumn);
            drawStraightMeridian(out, meridian, x, height);
            continue;
        }
        // Meridians of the sinusoidal projection bend towards the central one with latitude.
        int lastX = 0;
        for (int top = 0; top < height; ++top) {
            const double latitude =
                south + (height - 1 - top) * geometry.rowsPerPixel * header.degreesPerRow;
            lastX =
                static_cast<int>(width / 2.0 + std::cos(latitude / degreesPerRadian) *
                                                   (meridian - header.sinusoidalCentralMeridian) *
                                                   geometry.zoom / header.degreesPerColumn);
            out.meridianPoint({lastX, top});
        }
        out.meridianLabel(meridian, lastX);
    }
    for (const double parallel : gridLines(GridLayout::GlobalTile, south, north - south,
                                           globalGridSpacing(north - south))) {
        const auto y =
            static_cast<int>(height - (parallel - south) * geometry.zoom / header.degreesPerRow);
        drawStraightParallel(out, parallel, y, width);
    }
}

}  // namespace

GridLayout gridLayoutFor(const terrain::TerrainHeader& header) {
    if (header.gridKind == terrain::gridKindSinusoidal) {
        return GridLayout::GlobalTile;
    }
    if (header.gridKind != terrain::gridKindDem) {
        return GridLayout::None;
    }
    return header.coordinateType == terrain::coordinateTypeUtm ? GridLayout::Utm
                                                               : GridLayout::LatLon;
}

double gridSpacing(double extentDegrees) {
    static constexpr std::array candidates{0.01, 0.02, 0.05, 0.1,  0.2,  0.5,  1.0,
                                           2.0,  5.0,  10.0, 20.0, 50.0, 100.0};
    const double target = std::abs(extentDegrees) / 3;
    double best = candidates.front();
    for (const double candidate : candidates) {
        // Strictly nearer only: on a tie the smaller, earlier candidate stays.
        if (std::abs(candidate - target) < std::abs(best - target) - 1e-12) {
            best = candidate;
        }
    }
    return best;
}

double globalGridSpacing(double extentDegrees) {
    const double extent = std::abs(extentDegrees);
    if (extent >= 30) {
        return 15;
    }
    if (extent >= 15) {
        return 10;
    }
    if (extent >= 10) {
        return 5;
    }
    if (extent >= 5) {
        return 2;
    }
    if (extent >= 2) {
        return 1;
    }
    return extent > 1 ? 0.5 : 0.2;
}

std::vector<double> gridLines(GridLayout layout, double bound, double extent, double spacing) {
    std::vector<double> lines;
    if (!(spacing > 0) || !(extent >= 0) || layout == GridLayout::None) {
        return lines;
    }
    // A small allowance keeps a bound that is a multiple of the spacing from slipping to the
    // next line through rounding. Lines are whole multiples of the spacing, so 0 is exactly 0.
    constexpr double allowance = 1e-9;
    const double ratio = extent / spacing;
    double firstIndex = 0;
    double count = 0;
    switch (layout) {
        case GridLayout::Utm:
            firstIndex = std::ceil(bound / spacing - allowance);
            count = std::floor(ratio + 0.5) + 1;
            break;
        case GridLayout::LatLon:
            firstIndex = std::ceil(bound / spacing - allowance);
            count = std::floor(ratio + 1 + 0.5);
            break;
        case GridLayout::GlobalTile:
            firstIndex = std::trunc(bound / spacing + (bound < 0 ? -allowance : allowance));
            count = std::ceil(ratio - 0.5) + 1;
            break;
        case GridLayout::None:
            break;
    }
    for (int k = 0; k < std::min(count, 10000.0); ++k) {
        lines.push_back((firstIndex + k) * spacing);
    }
    return lines;
}

std::string gridLabel(double degrees, bool degreesMinutes) {
    char text[32];
    if (!degreesMinutes) {
        std::snprintf(text, sizeof text, "%-6.2f ", degrees);
        return text;
    }
    int whole = static_cast<int>(degrees);
    int minutes = terrain::RoundToInt(std::abs(degrees - whole) * 60);
    if (minutes >= 60) {
        minutes -= 60;
        whole += degrees < 0 ? -1 : 1;
    }
    std::snprintf(text, sizeof text, "%02i:%02i ", whole, minutes);
    return text;
}

void drawLatLonGrid(support::RgbImage& image, const terrain::Terrain& terrain,
                    const ViewGeometry& geometry, support::Rgb colour, bool degreesMinutes,
                    support::Painter* painter) {
    if (!terrain.loaded || image.width() != geometry.width || image.height() != geometry.height) {
        return;
    }
    GridPainter out(image, colour, painter, degreesMinutes);
    switch (gridLayoutFor(terrain.header)) {
        case GridLayout::Utm:
            drawUtmGrid(out, terrain, geometry);
            break;
        case GridLayout::LatLon:
            drawLatLonTerrainGrid(out, terrain.header, geometry);
            break;
        case GridLayout::GlobalTile:
            drawGlobalTileGrid(out, terrain.header, geometry);
            break;
        case GridLayout::None:
            break;
    }
}

}  // namespace tavrok::overhead

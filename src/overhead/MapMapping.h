#pragma once

#include "overhead/ViewGeometry.h"

namespace tavrok::overhead {

// A position in the overhead image, in pixels: x from the image's left edge, y down from its
// top edge. Fractional positions come from the inverse mapping; the mouse gives whole pixels.
struct MapPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

// A position on the terrain grid in cells: column 0 is the west edge, row 0 the south edge.
struct GridPoint {
    double column = 0;
    double row = 0;

    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

// The one mapping between overhead-image pixels and grid cells. The image shows `zoom` pixels
// per cell; its rows run north to south while grid rows run south to north, so the image's
// bottom pixel row is grid row 0.
class MapMapping {
  public:
    MapMapping() = default;
    // zoom: image pixels per grid cell (> 0); image size in pixels; grid size in cells.
    MapMapping(float zoom, int imageWidth, int imageHeight, int columns, int rows);
    // The mapping of an image built with `geometry` for a rows × columns grid.
    static MapMapping of(const ViewGeometry& geometry, int rows, int columns);

    // column = x / zoom, row = (imageHeight − 1 − y) / zoom. Not clamped: a pixel off the
    // image gives a position off the grid. A mapping without zoom gives (0, 0).
    GridPoint gridPoint(MapPoint pixel) const;
    // The inverse: x = column × zoom, y = imageHeight − 1 − row × zoom.
    MapPoint mapPoint(GridPoint cell) const;

    // The pixel moved onto the image (0 .. width − 1, 0 .. height − 1); an empty image gives
    // (0, 0).
    MapPoint clampToImage(MapPoint pixel) const;
    // Whether the pixel lies on the image.
    bool containsPixel(MapPoint pixel) const;

    float zoom() const { return m_zoom; }
    int imageWidth() const { return m_imageWidth; }
    int imageHeight() const { return m_imageHeight; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

    friend bool operator==(const MapMapping&, const MapMapping&) = default;

  private:
    float m_zoom = 0.0f;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_columns = 0;
    int m_rows = 0;
};

// A window position to an image pixel: the image is drawn at the centring offsets and the
// window shows it from the scroll positions on.
MapPoint imagePixel(int windowX, int windowY, const ViewGeometry& geometry, int scrollX,
                    int scrollY);

}  // namespace tavrok::overhead

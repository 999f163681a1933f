#include "overhead/MapMapping.h"

#include <algorithm>

namespace tavrok::overhead {

MapMapping::MapMapping(float zoom, int imageWidth, int imageHeight, int columns, int rows)
    : m_zoom(zoom),
      m_imageWidth(std::max(imageWidth, 0)),
      m_imageHeight(std::max(imageHeight, 0)),
      m_columns(std::max(columns, 0)),
      m_rows(std::max(rows, 0)) {}

MapMapping MapMapping::of(const ViewGeometry& geometry, int rows, int columns) {
    return {geometry.zoom, geometry.width, geometry.height, columns, rows};
}

GridPoint MapMapping::gridPoint(MapPoint pixel) const {
    if (!(m_zoom > 0)) {
        return {};
    }
    return {pixel.x / m_zoom, (m_imageHeight - 1 - pixel.y) / m_zoom};
}

MapPoint MapMapping::mapPoint(GridPoint cell) const {
    return {cell.column * m_zoom, m_imageHeight - 1 - cell.row * m_zoom};
}

MapPoint MapMapping::clampToImage(MapPoint pixel) const {
    return {std::clamp(pixel.x, 0.0, std::max(m_imageWidth - 1, 0) * 1.0),
            std::clamp(pixel.y, 0.0, std::max(m_imageHeight - 1, 0) * 1.0)};
}

bool MapMapping::containsPixel(MapPoint pixel) const {
    return pixel.x >= 0 && pixel.y >= 0 && pixel.x <= m_imageWidth - 1 &&
           pixel.y <= m_imageHeight - 1;
}

MapPoint imagePixel(int windowX, int windowY, const ViewGeometry& geometry, int scrollX,
                    int scrollY) {
    return {static_cast<double>(windowX - geometry.offsetX + scrollX),
            static_cast<double>(windowY - geometry.offsetY + scrollY)};
}

}  // namespace tavrok::overhead

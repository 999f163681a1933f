#include "overhead/MapScaleDialog.h"

#include <algorithm>
#include <cstdio>

#include "overhead/ViewGeometry.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

int raisedToFour(int width) {
    return width % 4 == 0 ? width : width + 4 - width % 4;
}

}  // namespace

MapScaleDialog::MapScaleDialog(int rows, int columns, float zoom, int clientWidth, int clientHeight)
    : m_rows(std::max(rows, 1)),
      m_columns(std::max(columns, 1)),
      m_clientWidth(clientWidth),
      m_clientHeight(clientHeight),
      m_zoom(zoom) {
    const int width = raisedToFour(static_cast<int>(static_cast<float>(m_columns) * zoom));
    const int clamped = std::clamp(width, minimumWidth(), maximumWidth());
    m_width = clamped;
    if (clamped != width) {
        m_zoom = static_cast<float>(m_width) / static_cast<float>(m_columns);
    }
    m_pixelRows = static_cast<int>(static_cast<float>(m_rows) * m_zoom);
}

void MapScaleDialog::setWidth(int width) {
    m_width = std::clamp(raisedToFour(width), minimumWidth(), maximumWidth());
    m_zoom = static_cast<float>(m_width) / static_cast<float>(m_columns);
    m_pixelRows = static_cast<int>(static_cast<float>(m_rows) * m_zoom);
}

void MapScaleDialog::fitWindow() {
    m_zoom = fitWindowZoom(m_rows, m_columns, m_clientWidth, m_clientHeight);
    m_width = terrain::RoundToInt(static_cast<double>(m_columns) * m_zoom);
    m_pixelRows = terrain::RoundToInt(static_cast<double>(m_rows) * m_zoom);
}

std::string MapScaleDialog::zoomText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%-1.2f   ", m_zoom);
    return text;
}

}  // namespace tavrok::overhead

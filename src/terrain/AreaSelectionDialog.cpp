#include "terrain/AreaSelectionDialog.h"

#include <algorithm>

namespace tavrok::terrain {

namespace {

constexpr int narrowestEarthArea = 12;
constexpr int widestEarthArea = 36;

}  // namespace

AreaSelectionDialog::AreaSelectionDialog(Planet planet, int rememberedWidthDegrees,
                                         int pictureWidth, int pictureHeight)
    : m_planet(planet),
      m_pictureWidth(std::max(pictureWidth, 1)),
      m_pictureHeight(std::max(pictureHeight, 1)),
      m_width(0) {
    setWidthDegrees(rememberedWidthDegrees);
    if (planet == Planet::Mars) {
        m_centreLongitude = 180;
    }
}

void AreaSelectionDialog::setWidthDegrees(int width) {
    if (m_planet == Planet::Mars) {
        m_width = width >= 45 ? 60 : 30;
        return;
    }
    m_width = std::clamp(width, narrowestEarthArea, widestEarthArea);
}

support::Status AreaSelectionDialog::accept() {
    if (m_width % 2 != 0) {
        ++m_width;
    }
    return support::success();
}

std::optional<AreaSelectionDialog::Position> AreaSelectionDialog::positionAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_pictureWidth || y >= m_pictureHeight) {
        return std::nullopt;
    }
    const int latitude = static_cast<int>(-(y - m_pictureHeight / 2.0) * 180.0 / m_pictureHeight);
    const int longitude = static_cast<int>((x - m_pictureWidth / 2.0) * 360.0 / m_pictureWidth);
    Position position{std::clamp(latitude, -90, 90), std::clamp(longitude, -180, 180)};
    if (m_planet == Planet::Mars) {
        position.longitude += 180;
    }
    return position;
}

void AreaSelectionDialog::selectAt(int x, int y) {
    if (const auto position = positionAt(x, y)) {
        m_centreLatitude = position->latitude;
        m_centreLongitude = position->longitude;
    }
}

AreaSelectionDialog::Rectangle AreaSelectionDialog::areaRectangle() const {
    const int width = m_width * m_pictureWidth / 360;
    const int height = m_width * m_pictureHeight / 180;
    const int shownLongitude =
        m_planet == Planet::Mars ? m_centreLongitude - 180 : m_centreLongitude;
    int centreX = m_pictureWidth / 2 + shownLongitude * m_pictureWidth / 360;
    int centreY = m_pictureHeight / 2 - m_centreLatitude * m_pictureHeight / 180;
    centreX = std::clamp(centreX, width / 2, std::max(width / 2, m_pictureWidth - width / 2));
    centreY = std::clamp(centreY, height / 2, std::max(height / 2, m_pictureHeight - height / 2));
    return {centreX - width / 2, centreY - height / 2, width, height};
}

}  // namespace tavrok::terrain

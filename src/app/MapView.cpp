#include "app/MapView.h"

#include <QPainter>

namespace tavrok::app {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName("mapView");
}

void MapView::setImage(QImage image) {
    m_image = std::move(image);
    setMinimumSize(m_image.isNull() ? QSize(0, 0) : m_image.size());
    updateGeometry();
    update();
}

void MapView::setBackground(QColor colour) {
    m_background = colour;
    update();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (m_image.isNull()) {
        return;
    }
    const int left = std::max((width() - m_image.width()) / 2, 0);
    const int top = std::max((height() - m_image.height()) / 2, 0);
    painter.drawImage(left, top, m_image);
}

}  // namespace tavrok::app

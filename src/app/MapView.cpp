#include "app/MapView.h"

#include <QMouseEvent>
#include <QPainter>

#include "paint/QtPainter.h"
#include "shell/AppState.h"

namespace tavrok::app {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName("mapView");
    setMouseTracking(true);
}

void MapView::setImage(QImage image) {
    m_image = std::move(image);
    setMinimumSize(m_image.isNull() ? QSize(0, 0) : m_image.size());
    updateGeometry();
    clearReadout();
}

void MapView::showGrowing(QImage growing, int rows) {
    m_growing = std::move(growing);
    m_growingRows = rows;
}

void MapView::setBackground(QColor colour) {
    m_background = colour;
    update();
}

QStringList MapView::readoutLines() const {
    QStringList lines;
    if (!m_readout.shown) {
        return lines;
    }
    for (const auto& box : m_readout.boxes) {
        lines << QString::fromStdString(box.caption + ": " + box.value);
    }
    return lines;
}

void MapView::clearReadout() {
    m_readout = {};
    m_places.clear();
    update();
}

QPoint MapView::imageOrigin() const {
    return {std::max((width() - m_image.width()) / 2, 0),
            std::max((height() - m_image.height()) / 2, 0)};
}

QRect MapView::clientRect() const {
    const QWidget* viewport = parentWidget();
    if (viewport == nullptr) {
        return rect();
    }
    // Inside a scroll area this widget moves up and left by the scroll positions.
    return {-pos(), viewport->size()};
}

void MapView::showReadout(QPoint position) {
    const bool overheadShown = m_state != nullptr && m_state->document.loaded() &&
                               m_state->map.viewMode == shell::viewOverhead && !m_image.isNull();
    if (!overheadShown) {
        if (m_readout.shown) {
            clearReadout();
        }
        return;
    }
    auto& overhead = m_state->overhead;
    const QRect client = clientRect();
    const overhead::Readout previous = m_readout;
    const std::vector<overhead::ReadoutPlace> previousPlaces = m_places;
    overhead::ReadoutView view;
    view.geometry = overhead.geometry;
    // The image lies where this view drew it, whatever client size it was built for.
    view.geometry.width = m_image.width();
    view.geometry.height = m_image.height();
    view.geometry.offsetX = std::max((client.width() - m_image.width()) / 2, 0);
    view.geometry.offsetY = std::max((client.height() - m_image.height()) / 2, 0);
    view.scrollX = client.x();
    view.scrollY = client.y();
    view.clientWidth = client.width();
    view.clientHeight = client.height();
    const auto& document = m_state->document;
    m_readout = overhead::overheadReadout(
        document.terrain(), view, overhead.coordinateMode, position.x() - client.x(),
        position.y() - client.y(),
        document.source().marsPolarWindow.value_or(overhead::MarsPolarWindow{}));
    if (m_readout.usedWgs84Utm) {
        overhead.utmOnWgs84 = true;
    }
    if (m_readout.shown && m_readout.mode != overhead.coordinateMode) {
        overhead.coordinateMode = m_readout.mode;
        emit coordinateModeChanged();
    }
    m_places.clear();
    if (m_readout.shown) {
        support::RgbImage scratch(1, 1);
        const paint::QtPainter metrics(scratch);
        m_places = overhead::placeReadout(m_readout, metrics, client.width(), client.height());
    }
    m_readoutRefilled = overhead::readoutNeedsRefill(previous, m_readout);
    update(readoutRegion(previousPlaces, m_readoutRefilled) +
           readoutRegion(m_places, m_readoutRefilled));
}

QRegion MapView::readoutRegion(const std::vector<overhead::ReadoutPlace>& places,
                               bool strip) const {
    QRegion region;
    if (places.empty()) {
        return region;
    }
    const QRect client = clientRect();
    if (strip) {
        const QPoint corner(client.x() + places.front().x, client.y() + places.front().y);
        return QRegion(QRect(corner, client.bottomRight()));
    }
    for (const auto& place : places) {
        region += QRect(client.x() + place.x, client.y() + place.y, place.width, place.height);
    }
    return region;
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    showReadout(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (!m_growing.isNull()) {
        const QPoint origin(std::max((width() - m_growing.width()) / 2, 0),
                            std::max((height() - m_growing.height()) / 2, 0));
        painter.drawImage(origin, m_growing, QRect(0, 0, m_growing.width(), m_growingRows));
        return;
    }
    if (m_image.isNull()) {
        return;
    }
    painter.drawImage(imageOrigin(), m_image);
    paintReadout(painter);
    paintMatrixSize(painter);
}

void MapView::paintReadout(QPainter& painter) const {
    if (!m_readout.shown || m_places.size() != m_readout.boxes.size()) {
        return;
    }
    const QPoint client = clientRect().topLeft();
    painter.setFont(paint::QtPainter::textFont());
    const int lineHeight = painter.fontMetrics().height();
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        const auto& place = m_places[i];
        const QRect box(client.x() + place.x, client.y() + place.y, place.width, place.height);
        painter.fillRect(box, Qt::black);
        painter.setPen(Qt::white);
        const QRect caption(box.x(), box.y(), box.width(), lineHeight);
        painter.drawText(caption, Qt::AlignCenter,
                         QString::fromStdString(m_readout.boxes[i].caption));
        painter.drawText(caption.translated(0, lineHeight), Qt::AlignCenter,
                         QString::fromStdString(m_readout.boxes[i].value));
    }
}

// A black strip 19 characters wide, 22 characters from the right edge, two lines high, its
// bottom a line above where the readout's boxes start.
void MapView::paintMatrixSize(QPainter& painter) const {
    if (m_state == nullptr || !m_state->overhead.mapSizeMode ||
        m_state->map.viewMode != shell::viewOverhead) {
        return;
    }
    painter.setFont(paint::QtPainter::textFont());
    const QFontMetrics metrics = painter.fontMetrics();
    const int charWidth = metrics.averageCharWidth();
    const int lineHeight = metrics.height();
    const QRect client = clientRect();
    const QRect strip(client.right() + 1 - 22 * charWidth, client.bottom() + 1 - 7 * lineHeight,
                      19 * charWidth, 2 * lineHeight);
    painter.fillRect(strip, Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(
        strip, Qt::AlignCenter,
        QString::fromStdString(overhead::matrixSizeText(m_state->overhead.geometry.zoom)));
}

}  // namespace tavrok::app

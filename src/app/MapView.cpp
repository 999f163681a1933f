#include "app/MapView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>

#include <cmath>
#include <utility>

#include "paint/QtPainter.h"
#include "shell/AppState.h"

namespace tavrok::app {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setObjectName("mapView");
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
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
    update(readoutRegion(previousPlaces, m_readoutRefilled, client) +
           readoutRegion(m_places, m_readoutRefilled, client));
}

QRegion MapView::readoutRegion(const std::vector<overhead::ReadoutPlace>& places, bool strip,
                               const QRect& client) const {
    QRegion region;
    if (places.empty()) {
        return region;
    }
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
    const QPoint position = event->position().toPoint();
    m_pointer = position - clientRect().topLeft();
    showReadout(position);
    const overhead::MapPoint point = imagePoint(event->position());
    feedTool(shell::MapEvent::move(point.x, point.y));
    QWidget::mouseMoveEvent(event);
}

namespace {

std::optional<shell::MouseButton> toolButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return shell::MouseButton::Left;
        case Qt::RightButton:
            return shell::MouseButton::Right;
        default:
            return std::nullopt;
    }
}

}  // namespace

void MapView::mousePressEvent(QMouseEvent* event) {
    const auto button = toolButton(event->button());
    if (!button || !toolsActive()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const overhead::MapPoint point = imagePoint(event->position());
    feedTool(shell::MapEvent::press(*button, point.x, point.y));
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = toolButton(event->button());
    if (!button || !toolsActive()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const overhead::MapPoint point = imagePoint(event->position());
    feedTool(shell::MapEvent::release(*button, point.x, point.y));
}

// Enter and Escape belong to a tool while one is working; otherwise they go on to the window
// (where Escape stops a running operation).
void MapView::keyPressEvent(QKeyEvent* event) {
    const bool toolWorking =
        toolsActive() &&
        (m_state->mapTools.current() != shell::MapTool::Readout || m_state->mapTools.dragging());
    const int key = event->key();
    if (toolWorking && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        feedTool(shell::MapEvent::key(shell::MapEvent::Kind::Enter));
        return;
    }
    if (toolWorking && key == Qt::Key_Escape) {
        feedTool(shell::MapEvent::key(shell::MapEvent::Kind::Escape));
        return;
    }
    QWidget::keyPressEvent(event);
}

// The scroll area scrolls by moving this widget, and the window system moves its pixels along.
// What is drawn at a fixed place in the window (readout, prompt, map-size box) moved with them:
// repaint it both where the copy landed and where it belongs, and read out the point now under
// the pointer.
void MapView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    const QRect client = clientRect();
    const QRect previousClient(-event->oldPos(), client.size());
    update(windowFixedRegion(previousClient) + windowFixedRegion(client));
    if (m_readout.shown && m_pointer && underMouse()) {
        showReadout(*m_pointer + client.topLeft());
    }
    feedTool(shell::MapEvent::key(shell::MapEvent::Kind::Scrolled));
}

QRegion MapView::windowFixedRegion(const QRect& client) const {
    QRegion region = readoutRegion(m_places, true, client);
    if (m_state != nullptr) {
        const std::string prompt = m_state->mapTools.drawing(mapping()).prompt;
        if (!prompt.empty()) {
            region += promptRect(client, prompt);
        }
        if (matrixSizeShown()) {
            region += matrixSizeRect(client);
        }
    }
    return region;
}

bool MapView::toolsActive() const {
    return m_state != nullptr && m_state->document.loaded() && !m_image.isNull();
}

overhead::MapMapping MapView::mapping() const {
    if (m_state == nullptr) {
        return {};
    }
    const auto& grid = m_state->document.grid();
    return {m_state->overhead.geometry.zoom, m_image.width(), m_image.height(), grid.columns(),
            grid.rows()};
}

overhead::MapPoint MapView::imagePoint(QPointF position) const {
    const QPoint origin = imageOrigin();
    return {std::floor(position.x()) - origin.x(), std::floor(position.y()) - origin.y()};
}

QPointF MapView::widgetPoint(overhead::MapPoint point) const {
    const QPoint origin = imageOrigin();
    return {point.x + origin.x(), point.y + origin.y()};
}

std::optional<shell::MapToolResult> MapView::takeToolResult() {
    return std::exchange(m_toolResult, std::nullopt);
}

void MapView::feedTool(const shell::MapEvent& event) {
    if (!toolsActive()) {
        return;
    }
    shell::MapToolOutcome outcome = m_state->mapTools.handle(event, mapping());
    if (outcome.redraw) {
        update(clientRect());
    }
    if (outcome.result) {
        m_toolResult = std::move(outcome.result);
        emit mapToolFinished();
    }
    if (outcome.cancelled) {
        emit mapToolCancelled();
    }
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
    paintTool(painter);
    paintReadout(painter);
    paintMatrixSize(painter);
}

void MapView::paintTool(QPainter& painter) const {
    if (!toolsActive()) {
        return;
    }
    const shell::MapDrawing drawn = m_state->mapTools.drawing(mapping());
    const auto colour = [](support::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); };
    painter.save();
    painter.setPen(QPen(colour(shell::rubberBandColour), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    if (drawn.rubberBand) {
        const auto& band = *drawn.rubberBand;
        painter.drawRect(
            QRectF(widgetPoint({band.left, band.top}), widgetPoint({band.right, band.bottom})));
    }
    if (drawn.profileLine) {
        painter.drawLine(widgetPoint(drawn.profileLine->from), widgetPoint(drawn.profileLine->to));
    }
    if (drawn.sceneMarker) {
        const auto& marker = *drawn.sceneMarker;
        QPolygonF square;
        for (const auto& corner : marker.corners) {
            square << widgetPoint(corner);
        }
        painter.drawPolygon(square);
        painter.setBrush(colour(shell::rubberBandColour));
        for (const auto& handle : marker.handles) {
            painter.drawRect(QRectF(widgetPoint(handle) - QPointF(3, 3), QSizeF(6, 6)));
        }
        painter.drawEllipse(widgetPoint(marker.observer), 3, 3);
    }
    for (const auto& point : drawn.points) {
        painter.fillRect(QRectF(widgetPoint(point.position) - QPointF(2, 2), QSizeF(5, 5)),
                         colour(point.colour));
    }
    painter.restore();
    if (!drawn.prompt.empty()) {
        paintPrompt(painter, drawn.prompt);
    }
}

// Centred on a 40-character field, two lines below the top of the window.
QRect MapView::promptRect(const QRect& client, const std::string& prompt) const {
    const QFontMetrics metrics(paint::QtPainter::textFont());
    const int charWidth = metrics.averageCharWidth();
    const int length = static_cast<int>(prompt.size());
    const int left = (client.width() - 40 * charWidth) / 2 + (40 - length) * charWidth / 2;
    return {client.x() + left, client.y() + 2 * metrics.height(),
            metrics.horizontalAdvance(QString::fromStdString(prompt)), metrics.height()};
}

void MapView::paintPrompt(QPainter& painter, const std::string& prompt) const {
    const QRect box = promptRect(clientRect(), prompt);
    painter.setFont(paint::QtPainter::textFont());
    painter.fillRect(box, Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(prompt));
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
QRect MapView::matrixSizeRect(const QRect& client) const {
    const QFontMetrics metrics(paint::QtPainter::textFont());
    const int charWidth = metrics.averageCharWidth();
    const int lineHeight = metrics.height();
    return {client.right() + 1 - 22 * charWidth, client.bottom() + 1 - 7 * lineHeight,
            19 * charWidth, 2 * lineHeight};
}

// In map-size mode, and while the scene marker is dragged.
bool MapView::matrixSizeShown() const {
    return m_state != nullptr && (m_state->overhead.mapSizeMode ||
                                  (m_state->mapTools.current() == shell::MapTool::SceneMarker &&
                                   m_state->mapTools.dragging()));
}

void MapView::paintMatrixSize(QPainter& painter) const {
    if (!matrixSizeShown() || m_state->map.viewMode != shell::viewOverhead) {
        return;
    }
    painter.setFont(paint::QtPainter::textFont());
    const QRect strip = matrixSizeRect(clientRect());
    painter.fillRect(strip, Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(
        strip, Qt::AlignCenter,
        QString::fromStdString(overhead::matrixSizeText(m_state->overhead.geometry.zoom)));
}

}  // namespace tavrok::app

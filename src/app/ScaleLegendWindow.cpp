#include "app/ScaleLegendWindow.h"

#include <QCloseEvent>
#include <QPainter>

#include "overhead/ScaleLegend.h"
#include "paint/QtPainter.h"
#include "shell/AppState.h"

namespace tavrok::app {

ScaleLegendWindow::ScaleLegendWindow(shell::AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_state(state) {
    setObjectName("scaleLegend");
    setWindowTitle("Scale");
}

void ScaleLegendWindow::follow() {
    const bool wanted = m_state.map.scaleWindow.shown && m_state.document.loaded();
    if (!wanted) {
        if (isVisible()) {
            hide();
        }
        return;
    }
    rebuild();
    if (!isVisible()) {
        // First time beside the main window's right edge; afterwards where it was left.
        const QWidget* owner = parentWidget();
        const QPoint beside =
            owner ? owner->frameGeometry().topRight() + QPoint(8, 40) : QPoint(0, 0);
        move(m_position.value_or(beside));
        show();
    }
    update();
}

void ScaleLegendWindow::rebuild() {
    const auto& overhead = m_state.overhead;
    const auto input = overhead::legendInputFor(m_state.document.header(), overhead.scale,
                                                static_cast<float>(m_state.map.overheadZoom),
                                                m_state.map.scaleWindow.feet);
    m_image = paint::toQImage(
        overhead::drawScaleLegend(input, overhead.palette, paint::QtPainter::factory()));
    setFixedSize(m_image.size());
}

void ScaleLegendWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, m_image);
}

void ScaleLegendWindow::closeEvent(QCloseEvent* event) {
    m_state.map.scaleWindow.shown = false;
    QWidget::closeEvent(event);
}

void ScaleLegendWindow::hideEvent(QHideEvent* event) {
    m_position = pos();
    QWidget::hideEvent(event);
}

}  // namespace tavrok::app

#include "app/dialogs/MapScaleView.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tavrok::app {

MapScaleView::MapScaleView(overhead::MapScaleDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_zoom(new QLabel(this)),
      m_rows(new QLabel(this)),
      m_columns(new QLabel(this)),
      m_width(new QScrollBar(Qt::Horizontal, this)) {
    m_zoom->setObjectName("zoom");
    m_rows->setObjectName("pixelRows");
    m_columns->setObjectName("pixelColumns");
    m_width->setObjectName("width");
    m_width->setRange(model.minimumWidth(), model.maximumWidth());
    m_width->setSingleStep(4);
    m_width->setPageStep(20);
    m_width->setMinimumWidth(240);
    // The model decides every step; the bar only reports what was pressed.
    connect(m_width, &QAbstractSlider::actionTriggered, this, &MapScaleView::scrolled);
    auto* form = new QFormLayout;
    form->addRow("Zoom", m_zoom);
    form->addRow("Pixel Rows", m_rows);
    form->addRow("Pixel Columns", m_columns);
    form->addRow(m_width);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* fit = buttons->addButton("Fit Window", QDialogButtonBox::ActionRole);
    fit->setObjectName("fitWindow");
    connect(fit, &QPushButton::clicked, this, [this] {
        m_model.fitWindow();
        refresh();
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &ModelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    refresh();
}

void MapScaleView::scrolled(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            m_model.lineLeft();
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            m_model.lineRight();
            break;
        case QAbstractSlider::SliderPageStepSub:
            m_model.pageLeft();
            break;
        case QAbstractSlider::SliderPageStepAdd:
            m_model.pageRight();
            break;
        case QAbstractSlider::SliderMove:
            m_model.thumb(m_width->sliderPosition());
            break;
        default:
            return;
    }
    // Inside actionTriggered the slider position is what the bar will take as its value.
    m_width->setSliderPosition(m_model.width());
    refresh();
}

void MapScaleView::refresh() {
    m_zoom->setText(QString::fromStdString(m_model.zoomText()));
    m_rows->setText(QString::number(m_model.pixelRows()));
    m_columns->setText(QString::number(m_model.width()));
    if (!m_width->isSliderDown()) {
        const QSignalBlocker blocker(m_width);
        m_width->setValue(m_model.width());
    }
}

}  // namespace tavrok::app

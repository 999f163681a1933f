#include "app/dialogs/UtmZoneView.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tavrok::app {

UtmZoneView::UtmZoneView(edit::UtmZoneDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_zone(new QScrollBar(Qt::Horizontal, this)),
      m_zoneNumber(new QLabel(this)),
      m_south(new QRadioButton("South", this)) {
    m_zone->setObjectName("utmZone");
    m_zone->setRange(1, 60);
    m_zone->setSingleStep(1);
    m_zone->setPageStep(1);
    m_zone->setMinimumWidth(200);
    m_zone->setValue(model.zone());
    m_zoneNumber->setText(QString::number(model.zone()));
    connect(m_zone, &QAbstractSlider::actionTriggered, this, &UtmZoneView::scrolled);
    auto* north = new QRadioButton("North", this);
    north->setChecked(model.hemisphere != 'S');
    m_south->setChecked(model.hemisphere == 'S');
    auto* zoneRow = new QHBoxLayout;
    zoneRow->addWidget(m_zone);
    zoneRow->addWidget(m_zoneNumber);
    auto* hemisphere = new QHBoxLayout;
    hemisphere->addWidget(north);
    hemisphere->addWidget(m_south);
    auto* form = new QFormLayout;
    form->addRow("UTM Zone", zoneRow);
    form->addRow("Hemisphere", hemisphere);
    setBodyWithOkCancel(form);
}

void UtmZoneView::scrolled(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
        case QAbstractSlider::SliderPageStepSub:
            m_model.scroll(-1);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
        case QAbstractSlider::SliderPageStepAdd:
            m_model.scroll(1);
            break;
        case QAbstractSlider::SliderMove:
            m_model.setZone(m_zone->sliderPosition());
            break;
        default:
            return;
    }
    m_zone->setSliderPosition(m_model.zone());
    m_zoneNumber->setText(QString::number(m_model.zone()));
}

bool UtmZoneView::readFields() {
    m_model.hemisphere = m_south->isChecked() ? 'S' : 'N';
    return true;
}

}  // namespace tavrok::app

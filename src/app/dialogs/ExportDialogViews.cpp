#include "app/dialogs/ExportDialogViews.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

namespace tavrok::app {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

}  // namespace

FileFormatView::FileFormatView(exporters::FileFormatDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    auto* body = new QHBoxLayout;
    std::map<std::string_view, QVBoxLayout*> groups;
    int id = 0;
    for (const auto& choice : exporters::fileFormatChoices) {
        if (!groups.contains(choice.group)) {
            auto* box = new QGroupBox(text(choice.group));
            groups[choice.group] = new QVBoxLayout(box);
            body->addWidget(box);
        }
        auto* button = new QRadioButton(text(choice.label));
        button->setObjectName(text(choice.label));
        button->setChecked(choice.encoding == model.encoding);
        m_buttons.addButton(button, id++);
        groups[choice.group]->addWidget(button);
    }
    setBodyWithOkCancel(body);
}

bool FileFormatView::readFields() {
    const int id = m_buttons.checkedId();
    if (id >= 0) {
        m_model.encoding = exporters::fileFormatChoices[static_cast<std::size_t>(id)].encoding;
    }
    return true;
}

UtmZoneView::UtmZoneView(terrain::UtmZoneDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_bar(new QScrollBar(Qt::Horizontal, this)),
      m_box(new QLineEdit(QString::number(model.zone), this)) {
    m_bar->setObjectName("zoneBar");
    m_box->setObjectName("zone");
    m_bar->setRange(terrain::UtmZoneDialog::firstZone, terrain::UtmZoneDialog::lastZone);
    m_bar->setSingleStep(1);
    m_bar->setPageStep(1);
    m_bar->setValue(model.zone);
    m_bar->setMinimumWidth(180);
    connect(m_bar, &QAbstractSlider::actionTriggered, this, &UtmZoneView::scrolled);
    auto* zone = new QGroupBox("UTM Zone");
    auto* zoneLayout = new QHBoxLayout(zone);
    zoneLayout->addWidget(m_bar);
    zoneLayout->addWidget(m_box);
    auto* hemisphere = new QGroupBox("Hemisphere");
    auto* hemisphereLayout = new QHBoxLayout(hemisphere);
    for (const auto& [label, letter] : {std::pair{"North", 'N'}, std::pair{"South", 'S'}}) {
        auto* button = new QRadioButton(label);
        button->setObjectName(label);
        button->setChecked(model.hemisphere == letter);
        m_hemisphere.addButton(button, letter);
        hemisphereLayout->addWidget(button);
    }
    auto* body = new QVBoxLayout;
    body->addWidget(zone);
    body->addWidget(hemisphere);
    setBodyWithOkCancel(body);
}

void UtmZoneView::scrolled(int action) {
    const int steps = action == QAbstractSlider::SliderSingleStepSub ||
                              action == QAbstractSlider::SliderPageStepSub
                          ? -1
                      : action == QAbstractSlider::SliderSingleStepAdd ||
                              action == QAbstractSlider::SliderPageStepAdd
                          ? 1
                          : 0;
    if (action == QAbstractSlider::SliderMove) {
        m_model.zone = m_bar->sliderPosition();
    }
    m_model.stepZone(steps);
    m_bar->setSliderPosition(m_model.zone);
    m_box->setText(QString::number(m_model.zone));
}

bool UtmZoneView::readFields() {
    const char letter = static_cast<char>(m_hemisphere.checkedId());
    const std::string zone = m_box->text().trimmed().toStdString() + letter;
    if (!m_model.setZoneText(zone)) {
        m_ui.showMessage(support::messageText(support::ErrorCode::IncorrectZone));
        return false;
    }
    return true;
}

}  // namespace tavrok::app

#include "app/dialogs/TerrainProjectionView.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

using scene::ColorMode;
using scene::MeshResolution;
using scene::ProjectionSize;
using scene::TerrainPosition;

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

void check(QButtonGroup& group, int id) {
    if (QAbstractButton* button = group.button(id)) {
        button->setChecked(true);
    }
}

void clearChoice(QButtonGroup& group) {
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(false);
    }
    group.setExclusive(true);
}

}  // namespace

TerrainProjectionView::TerrainProjectionView(scene::TerrainProjectionDialog& model, support::Ui& ui,
                                             QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    auto* fields = new QFormLayout;
    fields->addRow("Legend", textBox("legend", model.legend, terrain::TerrainHeader::titleLength));
    fields->addRow("Terrain Vert Mag (%)", textBox("magnification", model.magnificationText));
    fields->addRow("Terrain Illumination Azimuth", textBox("azimuth", model.azimuthText));
    fields->addRow("Terrain Illumination Elevation", textBox("elevation", model.elevationText));

    auto* choices = new QGridLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    choices->addLayout(left, 0, 0);
    choices->addLayout(right, 0, 1);
    m_colorModes = choiceGroup(*left, "Color", {{1003, "Color"}, {1010, "R/B"}, {1011, "S/S"}},
                               [this](int id) { m_model.chooseColorMode(ColorMode(id)); });
    m_sizes =
        choiceGroup(*left, "Projection Size",
                    {{1041, "480x360"}, {1042, "640x480"}, {1045, "800x600"}, {1081, "1024x768"}},
                    [this](int id) { m_model.chooseProjectionSize(ProjectionSize(id)); });
    m_resolutions = choiceGroup(*left, "Resolution", {{1093, "Min"}, {1094, "Max"}},
                                [this](int id) { m_model.chooseResolution(MeshResolution(id)); });
    m_positions =
        choiceGroup(*right, "Terrain Position", {{1089, "Foreground"}, {1090, "Background"}},
                    [this](int id) { m_model.chooseTerrainPosition(TerrainPosition(id)); });
    using colour::TerrainType;
    m_terrainTypes = choiceGroup(
        *right, "Terrain Type",
        {{scene::mountainPlainButton, text(colour::terrainTypeName(TerrainType::MountainPlain))},
         {scene::islandOceanButton, text(colour::terrainTypeName(TerrainType::IslandOcean))},
         {scene::lowlandsButton, text(colour::terrainTypeName(TerrainType::Lowlands))}},
        [this](int id) {
            if (const auto type = scene::terrainTypeForButton(id)) {
                m_model.chooseTerrainType(*type);
            }
        });
    m_seaLevel = textBox("seaLevel", model.seaLevelText);
    auto* seaLevel = new QFormLayout;
    seaLevel->addRow("Sea Level", m_seaLevel);
    right->addLayout(seaLevel);
    right->addLayout(altitudeControls());
    right->addStretch();

    auto* body = new QVBoxLayout;
    body->addLayout(fields);
    body->addLayout(choices);
    setBodyWithOkCancel(body);
    if (auto* buttons = findChild<QDialogButtonBox*>()) {
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        ok->setDefault(true);
        ok->setFocus();
    }
    refresh();
}

QLineEdit* TerrainProjectionView::textBox(const char* name, std::string& field,
                                          std::size_t maximumLength) {
    auto* box = new QLineEdit(QString::fromStdString(field), this);
    box->setObjectName(name);
    box->setMaxLength(static_cast<int>(maximumLength));
    connect(box, &QLineEdit::textEdited, this,
            [&field](const QString& value) { field = value.toStdString(); });
    return box;
}

QButtonGroup* TerrainProjectionView::choiceGroup(QLayout& into, const QString& title,
                                                 std::initializer_list<Choice> choices,
                                                 std::function<void(int)> chosen) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const auto& [id, caption] : choices) {
        auto* button = new QRadioButton(caption, box);
        button->setObjectName(QString::number(id));
        group->addButton(button, id);
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this, [this, chosen](int id) {
        chosen(id);
        refresh();
    });
    into.addWidget(box);
    return group;
}

QLayout* TerrainProjectionView::altitudeControls() {
    m_altitudeSlider = new QSlider(Qt::Vertical, this);
    m_altitudeSlider->setObjectName("altitudeSlider");
    m_altitudeSlider->setSingleStep(1);
    m_altitudeSlider->setPageStep(10);
    connect(m_altitudeSlider, &QSlider::actionTriggered, this,
            &TerrainProjectionView::sliderAction);
    m_altitude = new QLineEdit(this);
    m_altitude->setObjectName("altitude");
    m_altitude->setReadOnly(true);
    auto* layout = new QHBoxLayout;
    auto* labelled = new QFormLayout;
    labelled->addRow("Observer Altitude (m)", m_altitude);
    layout->addLayout(labelled);
    layout->addWidget(m_altitudeSlider);
    return layout;
}

// The slider only reports what the user did; the model decides where the altitude lands and
// the slider is put there before it moves.
void TerrainProjectionView::sliderAction(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            m_model.stepAltitude(1);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            m_model.stepAltitude(-1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            m_model.stepAltitude(10);
            break;
        case QAbstractSlider::SliderPageStepSub:
            m_model.stepAltitude(-10);
            break;
        case QAbstractSlider::SliderMove:
        case QAbstractSlider::SliderToMinimum:
        case QAbstractSlider::SliderToMaximum:
            m_model.dragAltitude(m_altitudeSlider->sliderPosition());
            break;
        default:
            return;
    }
    m_altitudeSlider->setSliderPosition(m_model.sliderPosition());
    m_altitude->setText(text(m_model.altitudeText()));
}

void TerrainProjectionView::refresh() {
    const scene::SceneParameters& chosen = m_model.parameters;
    check(*m_colorModes, static_cast<int>(chosen.colorMode));
    check(*m_sizes, static_cast<int>(chosen.projectionSize));
    for (QAbstractButton* size : m_sizes->buttons()) {
        size->setEnabled(m_model.sizeEnabled(ProjectionSize(m_sizes->id(size))));
    }
    check(*m_positions, static_cast<int>(chosen.terrainPosition));
    if (const auto resolution = m_model.resolutionChoice()) {
        check(*m_resolutions, static_cast<int>(*resolution));
    } else {
        clearChoice(*m_resolutions);
    }
    for (QAbstractButton* resolution : m_resolutions->buttons()) {
        resolution->setEnabled(m_model.resolutionEnabled());
    }
    check(*m_terrainTypes, scene::terrainTypeButton(m_model.scale.terrainType));
    m_seaLevel->setText(text(m_model.seaLevelText));
    m_seaLevel->setEnabled(m_model.seaLevelEnabled());
    showAltitude();
}

void TerrainProjectionView::showAltitude() {
    const QSignalBlocker blocker(m_altitudeSlider);
    m_altitudeSlider->setRange(0, m_model.sliderMaximum());
    m_altitudeSlider->setValue(m_model.sliderPosition());
    m_altitudeSlider->setEnabled(m_model.altitudeEnabled());
    m_altitude->setText(text(m_model.altitudeText()));
    m_altitude->setEnabled(m_model.altitudeEnabled());
}

}  // namespace tavrok::app

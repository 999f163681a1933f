#include "app/dialogs/TerrainColorsView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

using colour::TerrainType;

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QColor qColor(support::Rgb colour) {
    return {colour.red, colour.green, colour.blue};
}

std::uint8_t channelValue(support::Rgb colour, int channel) {
    return channel == 0 ? colour.red : channel == 1 ? colour.green : colour.blue;
}

// The other colours top to bottom as the dialog lists them.
constexpr std::array otherEntries{colour::skyEntry, colour::oceanEntry, colour::waypointEntry,
                                  colour::gridEntry};

}  // namespace

SwatchColumn::SwatchColumn(const overhead::TerrainColorsDialog& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    setObjectName("swatches");
    setMinimumSize(32, 14 * 12 + 4 * otherSwatchHeight);
}

void SwatchColumn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int columnHeight = bandColumnHeight();
    const int band = overhead::TerrainColorsDialog::swatchBandHeight(columnHeight);
    const auto& entries = m_model.table().entries;
    for (int slot = 0; slot < colour::terrainColorCount; ++slot) {
        const int top = columnHeight - (slot + 1) * band;
        painter.fillRect(0, top, width(), band, qColor(entries[std::size_t(slot)]));
    }
    int top = columnHeight;
    for (const int entry : otherEntries) {
        painter.fillRect(0, top + 2, width(), otherSwatchHeight - 4,
                         qColor(m_model.otherColor(entry)));
        top += otherSwatchHeight;
    }
}

TerrainColorsView::TerrainColorsView(overhead::TerrainColorsDialog& model, support::Ui& ui,
                                     QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_swatches(new SwatchColumn(model, this)),
      m_minimum(new QLineEdit(this)),
      m_maximum(new QLineEdit(this)),
      m_seaLevel(new QLineEdit(this)) {
    // The slot buttons, slot 13 at the top, then the four other colours.
    auto* slotColumn = new QVBoxLayout;
    slotColumn->setSpacing(0);
    for (int slot = colour::terrainColorCount - 1; slot >= 0; --slot) {
        auto* slotButton = new QPushButton(this);
        slotButton->setObjectName(QString("slot%1").arg(slot));
        slotButton->setCheckable(true);
        slotButton->setAutoExclusive(false);
        connect(slotButton, &QPushButton::clicked, this, [this, slot] {
            m_model.selectSlot(slot);
            refresh();
        });
        m_slots[std::size_t(slot)] = slotButton;
        m_controls.emplace_back(slotButton, Control::SlotButtons);
        slotColumn->addWidget(slotButton);
    }
    const std::array<const char*, 4> otherNames{"sky", "ocean", "waypoint", "grid"};
    const std::array<QString, 4> otherTexts{"Sky", "Ocean", "Waypoint",
                                            text(model.gridButtonText())};
    for (std::size_t i = 0; i < otherEntries.size(); ++i) {
        const int entry = otherEntries[i];
        auto* other = new QPushButton(otherTexts[i], this);
        other->setObjectName(otherNames[i]);
        other->setCheckable(true);
        other->setFixedHeight(SwatchColumn::otherSwatchHeight);
        connect(other, &QPushButton::clicked, this, [this, entry] {
            m_model.selectSlot(entry);
            refresh();
        });
        m_others[std::size_t(entry - colour::gridEntry)] = other;
        m_controls.emplace_back(other, Control::OtherColorButtons);
        slotColumn->addWidget(other);
    }

    // The colour of the selected slot.
    auto* channels = new QGridLayout;
    const std::array<const char*, 3> channelNames{"red", "green", "blue"};
    const std::array<const char*, 3> channelTexts{"Red", "Green", "Blue"};
    for (int i = 0; i < 3; ++i) {
        channels->addWidget(new QLabel(channelTexts[std::size_t(i)], this), i, 0);
        m_bars[std::size_t(i)] = channelBar(Channel(i), channelNames[std::size_t(i)]);
        channels->addWidget(m_bars[std::size_t(i)], i, 1);
        auto* value = new QLabel(this);
        value->setObjectName(QString(channelNames[std::size_t(i)]) + "Value");
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance("0000"));
        m_values[std::size_t(i)] = value;
        channels->addWidget(value, i, 2);
    }

    auto* operations = new QGridLayout;
    operations->addWidget(
        button("Copy To", "copyTo", Control::CopyTo, [this] { m_model.armCopy(); }), 0, 0);
    operations->addWidget(
        button("Spread To", "spreadTo", Control::SpreadTo, [this] { m_model.armSpread(); }), 0, 1);
    operations->addWidget(button("Cancel Operation", "cancelOperation", Control::CancelOperation,
                                 [this] { m_model.cancelOperation(); }),
                          0, 2);
    operations->addWidget(button("Forest", "forest", Control::Forest, [this] { m_model.forest(); }),
                          1, 0);
    operations->addWidget(button("Snow", "snow", Control::Snow, [this] { m_model.snow(); }), 1, 1);
    operations->addWidget(
        button("Reset", "resetColors", Control::ResetColors, [this] { m_model.resetColors(); }), 1,
        2);
    for (int which = 0; which < 2; ++which) {
        operations->addWidget(
            button(QString("Store %1").arg(which + 1), which == 0 ? "store1" : "store2",
                   Control::StoreRecall, [this, which] { m_model.store(which); }),
            2, which);
        operations->addWidget(
            button(QString("Recall %1").arg(which + 1), which == 0 ? "recall1" : "recall2",
                   Control::StoreRecall, [this, which] { m_model.recall(which); }),
            3, which);
    }
    operations->addWidget(
        button("Save File", "saveFile", Control::SaveLoadFile, [this] { saveFile(); }), 2, 2);
    operations->addWidget(
        button("Load File", "loadFile", Control::SaveLoadFile, [this] { loadFile(); }), 3, 2);

    // The altitude range.
    auto* range = new QGroupBox("Altitude Range", this);
    auto* rangeLayout = new QGridLayout(range);
    m_minimum->setObjectName("minimum");
    m_maximum->setObjectName("maximum");
    connect(m_minimum, &QLineEdit::textEdited, this,
            [this](const QString& value) { m_model.minimumText = value.toStdString(); });
    connect(m_maximum, &QLineEdit::textEdited, this,
            [this](const QString& value) { m_model.maximumText = value.toStdString(); });
    m_controls.emplace_back(m_minimum, Control::MinimumMaximum);
    m_controls.emplace_back(m_maximum, Control::MinimumMaximum);
    rangeLayout->addWidget(new QLabel("Min (meters)", this), 0, 0);
    rangeLayout->addWidget(m_minimum, 0, 1);
    rangeLayout->addWidget(new QLabel("Max (meters)", this), 1, 0);
    rangeLayout->addWidget(m_maximum, 1, 1);
    rangeLayout->addWidget(button("Modify", "modify", Control::ModifyApply,
                                  [this] {
                                      readFields();
                                      m_model.modifyOrApply();
                                  }),
                           2, 0);
    rangeLayout->addWidget(
        button("Reset", "resetRange", Control::ResetRange, [this] { m_model.resetRange(); }), 2, 1);

    // The terrain type and its sea level.
    auto* types = new QGroupBox("Terrain Type", this);
    auto* typeLayout = new QVBoxLayout(types);
    const std::array<const char*, 3> typeNames{"mountainPlain", "islandOcean", "lowlands"};
    for (int i = 0; i < 3; ++i) {
        const auto type = TerrainType(i);
        auto* radio = new QRadioButton(text(colour::terrainTypeName(type)), this);
        radio->setObjectName(typeNames[std::size_t(i)]);
        connect(radio, &QRadioButton::clicked, this, [this, type] {
            m_model.setTerrainType(type);
            refresh();
        });
        m_types[std::size_t(i)] = radio;
        m_controls.emplace_back(radio, Control::TerrainTypes);
        typeLayout->addWidget(radio);
    }
    m_seaLevel->setObjectName("seaLevel");
    connect(m_seaLevel, &QLineEdit::textEdited, this,
            [this](const QString& value) { m_model.seaLevelText = value.toStdString(); });
    m_controls.emplace_back(m_seaLevel, Control::SeaLevel);
    typeLayout->addWidget(new QLabel("Sea Level (meters)", this));
    typeLayout->addWidget(m_seaLevel);

    auto* closing = new QHBoxLayout;
    closing->addStretch();
    m_ok = button("OK", "ok", Control::Ok, [this] { accept(); });
    m_ok->setDefault(true);
    closing->addWidget(m_ok);
    closing->addWidget(button("Cancel", "cancel", Control::Cancel, [this] { reject(); }));

    auto* right = new QVBoxLayout;
    right->addLayout(channels);
    right->addLayout(operations);
    auto* lower = new QHBoxLayout;
    lower->addWidget(range);
    lower->addWidget(types);
    right->addLayout(lower);
    right->addStretch();
    right->addLayout(closing);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_swatches);
    layout->addLayout(slotColumn);
    layout->addLayout(right);
    refresh();
}

QPushButton* TerrainColorsView::button(const QString& caption, const char* name, Control control,
                                       std::function<void()> action) {
    auto* pushButton = new QPushButton(caption, this);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    connect(pushButton, &QPushButton::clicked, this, [this, action = std::move(action)] {
        action();
        refresh();
    });
    m_controls.emplace_back(pushButton, control);
    return pushButton;
}

QScrollBar* TerrainColorsView::channelBar(Channel channel, const char* name) {
    auto* bar = new QScrollBar(Qt::Horizontal, this);
    bar->setObjectName(name);
    bar->setRange(0, 255);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setMinimumWidth(256);
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, channel](int action) { scrolled(channel, action); });
    m_controls.emplace_back(bar, Control::ScrollBars);
    return bar;
}

void TerrainColorsView::scrolled(Channel channel, int action) {
    using Action = overhead::TerrainColorsDialog::ScrollAction;
    QScrollBar* bar = m_bars[std::size_t(channel)];
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            m_model.scroll(channel, Action::LineLeft);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            m_model.scroll(channel, Action::LineRight);
            break;
        case QAbstractSlider::SliderPageStepSub:
            m_model.scroll(channel, Action::PageLeft);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            m_model.scroll(channel, Action::PageRight);
            break;
        case QAbstractSlider::SliderMove:
            m_model.scroll(channel, Action::Thumb, bar->sliderPosition());
            break;
        default:
            return;
    }
    // Inside actionTriggered the slider position becomes the bar's value: the wrapped one.
    bar->setSliderPosition(channelValue(m_model.selectedColor(), int(channel)));
    refresh();
}

void TerrainColorsView::saveFile() {
    support::FilePrompt prompt{std::string(colour::saveColorScalePrompt),
                               std::string(colour::colorScaleFilter),
                               support::DirectoryFamily::ColorScales, false, true};
    const auto chosen = m_ui.promptForFiles(prompt);
    if (chosen.empty()) {
        return;
    }
    if (const auto saved = m_model.saveFile(chosen.front()); !saved) {
        m_ui.showMessage(saved.error().message());
    }
}

void TerrainColorsView::loadFile() {
    support::FilePrompt prompt{std::string(colour::loadColorScalePrompt),
                               std::string(colour::colorScaleFilter),
                               support::DirectoryFamily::ColorScales, false, false};
    const auto chosen = m_ui.promptForFiles(prompt);
    if (chosen.empty()) {
        return;
    }
    if (const auto loaded = m_model.loadFile(chosen.front()); !loaded) {
        m_ui.showMessage(loaded.error().message());
    }
}

void TerrainColorsView::refresh() {
    for (int slot = 0; slot < colour::terrainColorCount; ++slot) {
        QPushButton* slotButton = m_slots[std::size_t(slot)];
        slotButton->setText(QString::fromStdString(m_model.slotLabel(slot)));
        slotButton->setChecked(m_model.selectedSlot() == slot);
    }
    for (std::size_t i = 0; i < m_others.size(); ++i) {
        m_others[i]->setChecked(m_model.selectedSlot() == colour::gridEntry + int(i));
    }
    const support::Rgb colour = m_model.selectedColor();
    for (int i = 0; i < 3; ++i) {
        QScrollBar* bar = m_bars[std::size_t(i)];
        if (!bar->isSliderDown()) {
            const QSignalBlocker blocker(bar);
            bar->setValue(channelValue(colour, i));
        }
        m_values[std::size_t(i)]->setText(QString::number(channelValue(colour, i)));
    }
    for (auto* radio : m_types) {
        radio->setChecked(false);
    }
    m_types[std::size_t(m_model.terrainType())]->setChecked(true);
    const auto showText = [](QLineEdit* box, const std::string& value) {
        if (box->text().toStdString() != value) {
            box->setText(QString::fromStdString(value));
        }
    };
    showText(m_minimum, m_model.minimumText);
    showText(m_maximum, m_model.maximumText);
    showText(m_seaLevel, m_model.seaLevelText);
    for (const auto& [widget, control] : m_controls) {
        widget->setEnabled(m_model.enabled(control));
    }
    if (auto* modify = findChild<QPushButton*>("modify")) {
        modify->setText(text(m_model.modifyButtonText()));
    }
    m_swatches->update();
}

bool TerrainColorsView::readFields() {
    m_model.minimumText = m_minimum->text().toStdString();
    m_model.maximumText = m_maximum->text().toStdString();
    m_model.seaLevelText = m_seaLevel->text().toStdString();
    return true;
}

void TerrainColorsView::accept() {
    if (m_model.enabled(Control::Ok)) {
        ModelDialog::accept();
    }
}

void TerrainColorsView::reject() {
    if (m_model.cancel()) {
        QDialog::reject();
    }
}

}  // namespace tavrok::app

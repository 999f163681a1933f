#include "app/dialogs/MolaPolarView.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrok::app {

namespace {

using importers::MolaPolarSelection;

constexpr int narrowestSquare = 10;

QImage polarMap(importers::MolaPole pole) {
    const QString name = pole == importers::MolaPole::North ? "mars_north_polar_338.png"
                                                            : "mars_south_polar_338.png";
    QImage map(QString(TAVROK_DATA_DIR) + "/maps/" + name);
    if (map.isNull()) {
        map =
            QImage(MolaPolarSelection::mapSize, MolaPolarSelection::mapSize, QImage::Format_RGB32);
        map.fill(QColor(176, 108, 64));
    }
    return map;
}

}  // namespace

PolarPicture::PolarPicture(MolaPolarSelection& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_map(polarMap(model.pole)) {
    setFixedSize(MolaPolarSelection::mapSize, MolaPolarSelection::mapSize);
    setObjectName("polarMap");
}

void PolarPicture::showPole() {
    m_map = polarMap(m_model.pole);
    update();
}

void PolarPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_map);
    painter.setPen(QPen(QColor(0, 180, 20), 1));
    const double half = m_model.width / 2;
    painter.drawRect(
        QRectF(m_model.centreX - half, m_model.centreY - half, m_model.width, m_model.width));
}

// The square stays on the map.
void PolarPicture::centreAt(QPointF point) {
    const double half = m_model.width / 2;
    const double size = MolaPolarSelection::mapSize;
    m_model.centreX = std::clamp(point.x(), half, std::max(half, size - half));
    m_model.centreY = std::clamp(point.y(), half, std::max(half, size - half));
    update();
}

void PolarPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        centreAt(event->position());
    }
}

void PolarPicture::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        centreAt(event->position());
    }
}

MolaPolarView::MolaPolarView(MolaPolarSelection& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    m_picture = new PolarPicture(model, this);
    auto* width = new QScrollBar(Qt::Horizontal);
    width->setObjectName("squareWidth");
    width->setRange(narrowestSquare, MolaPolarSelection::mapSize);
    width->setValue(static_cast<int>(model.width));
    connect(width, &QScrollBar::valueChanged, this, [this](int value) {
        m_model.width = value;
        m_picture->update();
    });
    auto* controls = new QVBoxLayout;
    controls->addWidget(poleButtons());
    controls->addWidget(resolutionButtons());
    controls->addWidget(new QLabel("Width"));
    controls->addWidget(width);
    controls->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_picture);
    body->addLayout(controls);
    setBodyWithOkCancel(body);
}

QWidget* MolaPolarView::poleButtons() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    const std::pair<importers::MolaPole, const char*> poles[] = {
        {importers::MolaPole::North, "North Pole"}, {importers::MolaPole::South, "SouthPole"}};
    for (const auto& [pole, caption] : poles) {
        auto* button = new QRadioButton(caption);
        button->setChecked(m_model.pole == pole);
        group->addButton(button, static_cast<int>(pole));
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int pole) {
        m_model.pole = static_cast<importers::MolaPole>(pole);
        m_picture->showPole();
    });
    return box;
}

QWidget* MolaPolarView::resolutionButtons() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const int samples : {128, 256, 512}) {
        auto* button = new QRadioButton(QString::number(samples));
        button->setObjectName("resolution" + QString::number(samples));
        button->setChecked(m_model.samplesPerDegree == samples);
        group->addButton(button, samples);
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this,
            [this](int samples) { m_model.samplesPerDegree = samples; });
    return box;
}

}  // namespace tavrok::app

#include "app/dialogs/AreaSelectionView.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

QImage mapFor(terrain::AreaSelectionDialog::Planet planet) {
    const QString name = planet == terrain::AreaSelectionDialog::Planet::Mars ? "mars_720x360.png"
                                                                              : "earth_720x360.png";
    QImage map(QString(TAVROK_DATA_DIR) + "/maps/" + name);
    if (map.isNull()) {
        map = QImage(720, 360, QImage::Format_RGB32);
        map.fill(QColor(40, 90, 160));
    }
    return map;
}

}  // namespace

AreaPicture::AreaPicture(terrain::AreaSelectionDialog& model, QImage map, QWidget* parent)
    : QWidget(parent), m_model(model), m_map(std::move(map)) {
    setFixedSize(model.pictureWidth(), model.pictureHeight());
    setMouseTracking(true);
    setObjectName("1085");
}

void AreaPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), m_map);
    const auto area = m_model.areaRectangle();
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(area.left, area.top, area.width, area.height);
}

void AreaPicture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const auto position = m_model.positionAt(point.x(), point.y());
    emit positionChanged(position.has_value(), position ? position->latitude : 0,
                         position ? position->longitude : 0);
    if (m_dragging) {
        m_model.selectAt(point.x(), point.y());
        update();
        emit centreChanged();
    }
}

void AreaPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    m_model.selectAt(point.x(), point.y());
    m_dragging = true;
    update();
    emit centreChanged();
}

void AreaPicture::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}

void AreaPicture::leaveEvent(QEvent*) {
    emit positionChanged(false, 0, 0);
}

AreaSelectionView::AreaSelectionView(terrain::AreaSelectionDialog& model, support::Ui& ui,
                                     QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    m_picture = new AreaPicture(model, mapFor(model.planet()), this);
    m_latitude = new QLineEdit("0");
    m_latitude->setObjectName("1009");
    m_longitude = new QLineEdit(QString::number(model.centreLongitude()));
    m_longitude->setObjectName("1038");
    for (QLineEdit* edit : {m_latitude, m_longitude}) {
        edit->setReadOnly(true);
    }
    connect(m_picture, &AreaPicture::positionChanged, this,
            [this](bool inside, int latitude, int longitude) {
                m_latitude->setText(inside ? QString::number(latitude) : QString());
                m_longitude->setText(inside ? QString::number(longitude) : QString());
            });
    auto* readout = new QFormLayout;
    readout->addRow("Latitude (deg)", m_latitude);
    readout->addRow("Longitude (deg)", m_longitude);
    auto* controls = new QHBoxLayout;
    controls->addLayout(readout);
    controls->addWidget(widthControls());
    controls->addWidget(projectionControls());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ModelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
    layout->addLayout(controls);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

QWidget* AreaSelectionView::widthControls() {
    auto* box = new QWidget;
    auto* layout = new QFormLayout(box);
    if (m_model.planet() == terrain::AreaSelectionDialog::Planet::Mars) {
        auto* group = new QButtonGroup(box);
        for (const auto& [id, degrees] : {std::pair{1343, 30}, std::pair{1344, 60}}) {
            auto* button = new QRadioButton(QString::number(degrees) + " Degrees");
            button->setObjectName(QString::number(id));
            button->setChecked(m_model.widthDegrees() == degrees);
            group->addButton(button, degrees);
            layout->addRow(button);
        }
        connect(group, &QButtonGroup::idClicked, this, [this](int degrees) {
            m_model.setWidthDegrees(degrees);
            m_picture->update();
        });
        return box;
    }
    m_width = new QLineEdit;
    m_width->setObjectName("1041");
    m_width->setReadOnly(true);
    m_scrollBar = new QScrollBar(Qt::Horizontal);
    m_scrollBar->setObjectName("1042");
    m_scrollBar->setRange(12, 36);
    m_scrollBar->setPageStep(2);
    m_scrollBar->setValue(m_model.widthDegrees());
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
        m_model.setWidthDegrees(value);
        showWidth();
    });
    layout->addRow("Width (deg)", m_width);
    layout->addRow(m_scrollBar);
    showWidth();
    return box;
}

QWidget* AreaSelectionView::projectionControls() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    const std::pair<int, const char*> choices[] = {{1285, "Lat/Lon"}, {1286, "Sinusoidal"}};
    for (const auto& [id, caption] : choices) {
        auto* button = new QRadioButton(caption);
        button->setObjectName(QString::number(id));
        button->setChecked((id == 1286) ==
                           (m_model.projection == terrain::ProjectionKind::Sinusoidal));
        group->addButton(button, id);
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        m_model.projection =
            id == 1286 ? terrain::ProjectionKind::Sinusoidal : terrain::ProjectionKind::LatLon;
    });
    return box;
}

void AreaSelectionView::showWidth() {
    m_width->setText(QString::number(m_model.widthDegrees()));
    m_picture->update();
}

}  // namespace tavrok::app

#include "app/dialogs/MovementView.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrok::app {

namespace {

using scene::MovementButton;

// The scene window the movement dialogs belong to, if it is shown.
QWidget* sceneWindow() {
    const auto windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->objectName() == "sceneWindow" && window->isVisible();
    });
    return found == windows.end() ? nullptr : *found;
}

}  // namespace

std::optional<QPoint> MovementView::s_lastPosition;

MovementView::MovementView(scene::MovementDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    auto* body = new QVBoxLayout;
    body->addLayout(model.position() == scene::TerrainPosition::Foreground ? foregroundButtons()
                                                                           : backgroundButtons());
    auto* lower = new QHBoxLayout;
    lower->addWidget(incrementGroup());
    auto* reset = new QPushButton("Reset", this);
    reset->setObjectName(QString::number(static_cast<int>(MovementButton::Reset)));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this,
            [this] { m_model.press(static_cast<int>(MovementButton::Reset)); });
    lower->addWidget(reset);
    body->addLayout(lower);
    setBodyWithOkCancel(body);
}

QLayout* MovementView::foregroundButtons() {
    auto* layout = new QHBoxLayout;
    layout->addWidget(buttonGroup("Distance", {{MovementButton::Closer, "Move Closer"},
                                               {MovementButton::Away, "Move Away"}}));
    layout->addWidget(buttonGroup("Rotation", {{MovementButton::TurnLeft, "Left"},
                                               {MovementButton::TurnRight, "Right"},
                                               {MovementButton::TiltForward, "Tilt Forward"},
                                               {MovementButton::TiltBack, "Tilt Back"}}));
    layout->addWidget(buttonGroup("Translation", {{MovementButton::ShiftLeft, "Left"},
                                                  {MovementButton::ShiftRight, "Right"},
                                                  {MovementButton::Up, "Move Up"},
                                                  {MovementButton::Down, "Move Down"}}));
    return layout;
}

QLayout* MovementView::backgroundButtons() {
    auto* layout = new QHBoxLayout;
    layout->addWidget(buttonGroup("Position", {{MovementButton::Closer, "Forward"},
                                               {MovementButton::Away, "Back"},
                                               {MovementButton::Up, "Up"},
                                               {MovementButton::Down, "Down"}}));
    layout->addWidget(buttonGroup("Look Direction", {{MovementButton::TurnLeft, "Left"},
                                                     {MovementButton::TurnRight, "Right"},
                                                     {MovementButton::TiltBack, "Up"},
                                                     {MovementButton::TiltForward, "Down"}}));
    return layout;
}

QGroupBox* MovementView::buttonGroup(const QString& title, std::initializer_list<Button> buttons) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    for (const auto& [id, caption] : buttons) {
        auto* button = new QPushButton(caption, box);
        button->setObjectName(QString::number(static_cast<int>(id)));
        button->setAutoDefault(false);
        const int pressed = static_cast<int>(id);  // a structured binding cannot be captured
        connect(button, &QPushButton::clicked, this, [this, pressed] { m_model.press(pressed); });
        layout->addWidget(button);
    }
    return box;
}

QGroupBox* MovementView::incrementGroup() {
    auto* box = new QGroupBox("Increment", this);
    auto* layout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    const std::pair<scene::MovementIncrement, const char*> choices[] = {
        {scene::MovementIncrement::Coarse, "Coarse"},
        {scene::MovementIncrement::Medium, "Medium"},
        {scene::MovementIncrement::Fine, "Fine"}};
    for (const auto& [increment, caption] : choices) {
        auto* button = new QRadioButton(caption, box);
        const int id = static_cast<int>(increment);
        button->setObjectName(QString::number(id));
        button->setChecked(m_model.increment() == increment);
        group->addButton(button, id);
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { m_model.setIncrement(scene::MovementIncrement(id)); });
    return box;
}

void MovementView::showEvent(QShowEvent* event) {
    // Not centred like the other dialogs: it stays out of the scene's way.
    QDialog::showEvent(event);
    if (s_lastPosition) {
        move(*s_lastPosition);
    } else {
        placeAtFirstOpening();
    }
}

void MovementView::placeAtFirstOpening() {
    const QWidget* scene = sceneWindow();
    if (scene == nullptr) {
        centreOnScreen(*this);
        return;
    }
    const QRect sceneFrame = scene->frameGeometry();
    const QSize size = frameGeometry().size();
    move(std::max(sceneFrame.left(), 0), std::max(sceneFrame.bottom() + 1 - size.height(), 0));
}

void MovementView::done(int result) {
    s_lastPosition = pos();
    ModelDialog::done(result);
}

}  // namespace tavrok::app

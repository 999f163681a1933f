#include "app/SceneWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "app/MainWindow.h"
#include "shell/KeyBindings.h"

namespace tavrok::app {

// Paints the frame at its own size, never scaled.
class SceneWindow::Picture : public QWidget {
  public:
    explicit Picture(const QImage& image) : m_image(image) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, m_image);
    }

  private:
    const QImage& m_image;
};

SceneWindow::SceneWindow(shell::AppState& state, MainWindow& main)
    : QMainWindow(&main, Qt::Window), m_state(state), m_main(main) {
    setObjectName("sceneWindow");
    setWindowTitle("3D Scene");
    m_view = new Picture(m_picture);
    setCentralWidget(m_view);
    buildMenuEntries(
        menuBar(), nullptr, shell::sceneMenu(), [this](shell::CommandId id) { send(id); }, m_menus);
}

void SceneWindow::send(shell::CommandId id) {
    m_main.runCommand(shell::CommandContext{id, 0, shell::WindowId::Scene});
}

void SceneWindow::showPicture(const QImage& image) {
    const bool resized = image.size() != m_picture.size();
    m_picture = image;
    if (resized || !isVisible()) {
        m_view->setFixedSize(image.size());
        adjustSize();
        setFixedSize(sizeHint());
        if (const QScreen* screen = m_main.screen()) {
            const QRect available = screen->availableGeometry();
            QRect frame(QPoint(), frameGeometry().size());
            frame.moveCenter(available.center());
            move(frame.topLeft().x() < available.left() ? available.left() : frame.topLeft().x(),
                 frame.topLeft().y() < available.top() ? available.top() : frame.topLeft().y());
        }
    }
    show();
    m_view->repaint();
}

void SceneWindow::closeByCommand() {
    m_closingByCommand = true;
    hide();
    m_closingByCommand = false;
}

void SceneWindow::applyMenuState() {
    m_menus.apply(m_state.shell.menus.scene);
}

void SceneWindow::keyPressEvent(QKeyEvent* event) {
    const auto pressed = shellKey(event->key());
    if (!pressed) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    const auto context = shell::commandForKey(m_state, shell::WindowId::Scene, *pressed,
                                              event->modifiers().testFlag(Qt::ControlModifier));
    if (context) {
        m_main.runCommand(*context);
    }
}

// The window's close button is the menu's "Exit".
void SceneWindow::closeEvent(QCloseEvent* event) {
    if (m_closingByCommand) {
        event->accept();
        return;
    }
    event->ignore();
    send(shell::CommandId::CloseWindow);
}

}  // namespace tavrok::app

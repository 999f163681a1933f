#pragma once
#include <QImage>
#include <QMainWindow>

#include "app/MenuBuilder.h"
#include "shell/AppState.h"

namespace tavrok::app {

class MainWindow;

// "3D Scene": a window of its own with its menu bar and keys, showing the last frame the
// renderer read back at its own size. Every menu item and key is a command of the main
// window sent from the scene.
class SceneWindow : public QMainWindow {
    Q_OBJECT
  public:
    SceneWindow(shell::AppState& state, MainWindow& main);

    // Shows the frame, sizing the client area to it and centring the window on the screen
    // when it opens or changes size.
    void showPicture(const QImage& image);
    // Hidden by the command layer (Escape, "Exit", the overhead view taking over).
    void closeByCommand();
    void applyMenuState();
    const QImage& picture() const { return m_picture; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void send(shell::CommandId id);

    shell::AppState& m_state;
    MainWindow& m_main;
    BuiltMenus m_menus;
    class Picture;
    Picture* m_view;
    QImage m_picture;
    bool m_closingByCommand = false;
};

}  // namespace tavrok::app

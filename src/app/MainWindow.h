#pragma once
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <map>
#include <memory>
#include <optional>

#include "app/MapView.h"
#include "app/MenuBuilder.h"
#include "app/QtUi.h"
#include "app/ScaleLegendWindow.h"
#include "app/SceneWindow.h"
#include "shell/AppState.h"
#include "shell/Command.h"
#include "shell/LoadRequest.h"
#include "shell/MenuLayout.h"
#include "shell/RunDirectory.h"

namespace tavrok::app {

// The one main window: the menu bar built from the command table, the overhead map, the
// progress line. Every menu item and function key goes through dispatch().
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(shell::AppState& state);
    ~MainWindow() override;

    // Runs a command as a menu item or key would, then brings the views, menus and map up to
    // date. During a long job only Stop and a deferred Exit are taken.
    void runCommand(shell::CommandId id, int param = 0);
    void runCommand(const shell::CommandContext& context);
    // Loads a file named at start-up, as command 39 with the input already chosen.
    void runStartupLoad(const std::filesystem::path& file);
    // Runs an importer on files already chosen, as the file-type dialog would.
    void runImport(const shell::LoadRequest& request);

    QtUi& ui() { return *m_ui; }
    shell::AppState& state() { return m_state; }
    QAction* action(shell::CommandId id) const;
    QMenu* popup(shell::Popup popup) const;
    MapView& mapView() { return *m_mapView; }
    QScrollArea& scrollArea() { return *m_scrollArea; }
    ScaleLegendWindow& scaleLegend() { return *m_scaleLegend; }
    // The 3D scene's window, made on first use.
    SceneWindow& sceneWindow();

    void setProgressText(const QString& text);
    void clearMap();
    void showGrowingMap(const support::RgbImage& image, int finishedRows);
    // Mirrors the menu state onto the real menus.
    void applyMenuState();
    // Lays the window out and records the map area's size, which every zoom is fitted to.
    void takeClientSize();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void refreshMap();
    void rememberRectangle(bool fromResize);
    void writeSettingsAndCleanUp();
    bool handleFunctionKey(int key, Qt::KeyboardModifiers modifiers);
    void afterCommand(shell::CommandStatus status);

    shell::AppState& m_state;
    std::unique_ptr<QtUi> m_ui;
    QScrollArea* m_scrollArea;
    MapView* m_mapView;
    QLabel* m_progress;
    ScaleLegendWindow* m_scaleLegend;
    BuiltMenus m_menus;
    // Made when the first scene is shown.
    SceneWindow* m_sceneWindow = nullptr;
    // This run's private temporary folder, removed when the window goes.
    std::optional<shell::RunDirectory> m_runDirectory;
    bool m_creating = true;
    bool m_closed = false;

    friend void startMainWindow(MainWindow& window, const QString& commandLineFile);
};

// Places and shows the window, applies the settings, and starts the first load.
void startMainWindow(MainWindow& window, const QString& commandLineFile);

}  // namespace tavrok::app

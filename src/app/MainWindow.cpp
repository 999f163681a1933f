#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "colour/ColorScale.h"
#include "paint/QtPainter.h"
#include "shell/Dispatch.h"
#include "shell/KeyBindings.h"
#include "shell/TemporaryDirectory.h"
#include "shell/WindowPlacement.h"
#include "shell/commands/Commands.h"

namespace tavrok::app {

namespace {

using shell::CommandId;

}  // namespace

MainWindow::MainWindow(shell::AppState& state)
    : m_state(state), m_ui(std::make_unique<QtUi>(state, *this)) {
    setWindowTitle("Tavrok");
    m_mapView = new MapView;
    m_mapView->setState(&m_state);
    connect(m_mapView, &MapView::coordinateModeChanged, this, [this] {
        shell::updateMenus(m_state);
        applyMenuState();
    });
    // A finished selection is cropped or patched once the view's event has returned; other
    // results stay with the view for their owners.
    connect(
        m_mapView, &MapView::mapToolFinished, this,
        [this] {
            const auto& pending = m_mapView->toolResult();
            const bool selection =
                pending && (std::holds_alternative<shell::SelectedArea>(*pending) ||
                            std::holds_alternative<shell::PatchArea>(*pending));
            if (selection && !m_state.shell.busy) {
                const auto result = m_mapView->takeToolResult();
                takeClientSize();
                afterCommand(shell::commands::finishMapTool(m_state, *m_ui, *result));
            } else if (pending && std::holds_alternative<shell::ScenePlacement>(*pending)) {
                const auto result = m_mapView->takeToolResult();
                shell::commands::takeScenePlacement(m_state,
                                                    std::get<shell::ScenePlacement>(*result));
            }
        },
        Qt::QueuedConnection);
    connect(m_mapView, &MapView::mapToolCancelled, this, [this] {
        shell::commands::endSelection(m_state);
        applyMenuState();
        refreshMap();
    });
    m_scrollArea = new QScrollArea;
    m_scrollArea->setWidget(m_mapView);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setAlignment(Qt::AlignCenter);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_scrollArea);
    m_progress = new QLabel(this);
    m_progress->setObjectName("progress");
    m_progress->setStyleSheet("QLabel { background: black; color: white; padding: 2px 8px; }");
    m_progress->hide();
    m_scaleLegend = new ScaleLegendWindow(m_state, this);
    m_state.overhead.painterFactory = paint::QtPainter::factory();
    buildMenuEntries(
        menuBar(), nullptr, shell::mainMenu(), [this](CommandId id) { runCommand(id); }, m_menus);
    shell::MenusAtStartup(m_state.shell.menus.main);
    applyMenuState();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(CommandId id) const {
    const auto found = m_menus.actions.find(id);
    return found == m_menus.actions.end() ? nullptr : found->second;
}

QMenu* MainWindow::popup(shell::Popup which) const {
    const auto found = m_menus.popups.find(which);
    return found == m_menus.popups.end() ? nullptr : found->second;
}

void MainWindow::applyMenuState() {
    m_menus.apply(m_state.shell.menus.main);
    if (m_sceneWindow != nullptr) {
        m_sceneWindow->applyMenuState();
    }
}

void MainWindow::runCommand(CommandId id, int param) {
    runCommand(shell::CommandContext{id, param, shell::WindowId::Main});
}

void MainWindow::runCommand(const shell::CommandContext& context) {
    takeClientSize();
    afterCommand(shell::dispatch(m_state, *m_ui, context));
}

void MainWindow::runStartupLoad(const std::filesystem::path& file) {
    takeClientSize();
    afterCommand(shell::commands::LoadStartupFile(m_state, *m_ui, file));
}

void MainWindow::runImport(const shell::LoadRequest& request) {
    if (!m_state.shell.busy) {
        takeClientSize();
        afterCommand(shell::runImport(m_state, *m_ui, request));
    }
}

// A command taken while a job runs (Stop, a deferred Exit) leaves the window to the job; the
// job's own command brings everything up to date when it returns.
void MainWindow::afterCommand(shell::CommandStatus status) {
    if (m_closed || status == shell::CommandStatus::Busy || m_state.shell.busy) {
        return;
    }
    shell::refreshViews(m_state, *m_ui);
    applyMenuState();
    refreshMap();
    m_scaleLegend->follow();
    if (m_state.shell.quitRequested) {
        m_state.shell.quitRequested = false;
        close();
    }
}

void MainWindow::refreshMap() {
    if (m_state.map.viewMode == shell::viewNothing || !m_state.document.loaded()) {
        return;
    }
    const auto& overhead = m_state.overhead;
    const auto ocean = overhead.overheadScale.entries[colour::oceanEntry];
    m_mapView->setBackground(QColor(ocean.red, ocean.green, ocean.blue));
    m_mapView->setImage(overhead.image.empty() ? QImage() : paint::toQImage(overhead.image));
}

SceneWindow& MainWindow::sceneWindow() {
    if (m_sceneWindow == nullptr) {
        m_sceneWindow = new SceneWindow(m_state, *this);
        m_sceneWindow->applyMenuState();
    }
    return *m_sceneWindow;
}

void MainWindow::clearMap() {
    m_mapView->setImage({});
}

void MainWindow::showGrowingMap(const support::RgbImage& image, int finishedRows) {
    // The rows are painted before this returns, so the image may be borrowed without a copy.
    const QImage borrowed(image.data(), image.width(), image.height(),
                          static_cast<qsizetype>(image.bytesPerLine()), QImage::Format_RGB888);
    m_mapView->showGrowing(borrowed, finishedRows);
    m_mapView->repaint();
    m_mapView->showGrowing({}, 0);
}

void MainWindow::setProgressText(const QString& progress) {
    if (progress.isEmpty()) {
        m_progress->hide();
        return;
    }
    m_progress->setText(progress);
    m_progress->adjustSize();
    const int lineHeight = m_progress->fontMetrics().height();
    m_progress->move((width() - m_progress->width()) / 2, height() - 4 * lineHeight);
    m_progress->show();
    m_progress->raise();
}

// The key table lives in the shell; the window only translates Qt's key codes.
bool MainWindow::handleFunctionKey(int key, Qt::KeyboardModifiers modifiers) {
    const auto pressed = shellKey(key);
    if (!pressed) {
        return false;
    }
    const auto context = shell::commandForKey(m_state, shell::WindowId::Main, *pressed,
                                              modifiers.testFlag(Qt::ControlModifier));
    if (context) {
        runCommand(*context);
    }
    return true;
}

// Escape always stops what is running: a key can reach this while a long loop pumps events.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleFunctionKey(event->key(), event->modifiers())) {
        QMainWindow::keyPressEvent(event);
    }
}

// A close during a long job waits for the job to end, then happens.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_state.shell.busy) {
        m_state.shell.closeDeferred = true;
        event->ignore();
        return;
    }
    if (m_state.map.viewMode == shell::viewOverlayMap) {
        event->ignore();
        runCommand(CommandId::OverheadView);
        return;
    }
    writeSettingsAndCleanUp();
    m_closed = true;
    event->accept();
}

void MainWindow::writeSettingsAndCleanUp() {
    m_state.shell.settings.keepUserColorStores(m_state.overhead.colorStores);
    m_state.shell.settings.write(shell::SettingsFile::defaultPath());
    if (!m_state.shell.tempDir.empty()) {
        shell::ClearDirectory(m_state.shell.tempDir / "tavrok_terrain");
    }
}

void MainWindow::rememberRectangle(bool fromResize) {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    // The client rectangle, which is what setGeometry restores: saving the frame would make
    // the window creep by its decoration on every start.
    const QRect client = geometry();
    const shell::WindowRectangle rectangle{client.x(), client.y(), client.width(), client.height()};
    shell::WindowChange change;
    change.creating = m_creating;
    change.maximized = isMaximized();
    change.minimized = isMinimized();
    change.overlayView = m_state.map.viewMode == shell::viewOverlayMap;
    change.fromResize = fromResize;
    const QSize screenSize = screen->size();
    if (shell::shouldRememberRectangle(rectangle, change, screenSize.width(),
                                       screenSize.height())) {
        m_state.shell.settings.window = rectangle;
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    rememberRectangle(false);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    takeClientSize();
    rememberRectangle(true);
}

// The map area is the scroll area, scroll bars or not: a zoom fitted to the viewport would
// shrink whenever the previous map needed scroll bars. A window that was just placed has not
// laid out its children yet, so the layout runs first.
void MainWindow::takeClientSize() {
    if (QLayout* frame = layout()) {
        frame->activate();
    }
    m_state.map.clientWidth = m_scrollArea->width();
    m_state.map.clientHeight = m_scrollArea->height();
}

void startMainWindow(MainWindow& window, const QString& commandLineFile) {
    auto& state = window.state();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1280, 1024);
    const auto stored = shell::SettingsFile::read(shell::SettingsFile::defaultPath());
    if (stored) {
        state.shell.settings = *stored;
        state.overhead.colorStores = stored->userColorStores();
    }
    const auto placement = shell::startupPlacement(stored ? &*stored : nullptr, screenSize.width(),
                                                   screenSize.height());
    window.setGeometry(placement.left, placement.top, placement.width, placement.height);
    window.show();
    window.takeClientSize();
    window.m_creating = false;
    window.setWindowTitle("Tavrok Terrain Visualization");
    window.m_runDirectory = shell::makeRunDirectory();
    if (window.m_runDirectory) {
        state.shell.tempDir = window.m_runDirectory->path();
    } else {
        window.ui().showMessage("Path For Temporary Storage Cannot Be Found");
        window.close();
        return;
    }
    const std::string file = shell::withoutQuotes(commandLineFile.toStdString());
    if (!file.empty()) {
        window.runStartupLoad(std::filesystem::path(file));
    } else {
        window.runCommand(CommandId::LoadTerrainModel, 0);
    }
}

}  // namespace tavrok::app

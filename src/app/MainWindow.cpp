#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "colour/ColorScale.h"
#include "paint/QtPainter.h"
#include "shell/Dispatch.h"
#include "shell/TemporaryDirectory.h"
#include "shell/WindowPlacement.h"
#include "shell/commands/Commands.h"

namespace tavrok::app {

namespace {

using shell::CommandId;

bool isCheckable(CommandId id) {
    switch (id) {
        case CommandId::OverheadView:
        case CommandId::Scene3d:
        case CommandId::DegreeMinSec:
        case CommandId::DecimalDegree:
        case CommandId::UtmMeters:
        case CommandId::LatLonGridOn:
        case CommandId::LatLonGridOff:
            return true;
        default:
            return false;
    }
}

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

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
    m_scrollArea = new QScrollArea;
    m_scrollArea->setWidget(m_mapView);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setAlignment(Qt::AlignCenter);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_scrollArea);
    m_progress = new QLabel(this);
    m_progress->setObjectName("progress");
    m_progress->setStyleSheet("QLabel { background: white; color: black; padding: 2px 8px; }");
    m_progress->hide();
    m_scaleLegend = new ScaleLegendWindow(m_state, this);
    m_state.overhead.painterFactory = paint::QtPainter::factory();
    buildMenus(nullptr, shell::mainMenu());
    shell::MenusAtStartup(m_state.menus);
    applyMenuState();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus(QMenu* parent, const std::vector<shell::MenuEntry>& entries) {
    for (const auto& entry : entries) {
        if (entry.kind == shell::MenuEntry::Kind::Separator) {
            parent->addSeparator();
        } else if (entry.kind == shell::MenuEntry::Kind::Popup) {
            QMenu* menu =
                parent ? parent->addMenu(text(entry.text)) : menuBar()->addMenu(text(entry.text));
            menu->setObjectName(text(entry.text));
            if (entry.hasPopupRules) {
                m_popups[entry.popup] = menu;
            }
            buildMenus(menu, entry.entries);
        } else {
            QAction* action = parent->addAction(text(entry.text));
            action->setData(static_cast<int>(entry.command));
            action->setCheckable(isCheckable(entry.command));
            const CommandId id = entry.command;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            m_actions[id] = action;
        }
    }
}

QAction* MainWindow::action(CommandId id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QMenu* MainWindow::popup(shell::Popup which) const {
    const auto found = m_popups.find(which);
    return found == m_popups.end() ? nullptr : found->second;
}

void MainWindow::applyMenuState() {
    for (const auto& [id, action] : m_actions) {
        action->setEnabled(m_state.menus.enabled(id));
        if (action->isCheckable()) {
            action->setChecked(m_state.menus.checked(id));
        }
    }
    for (const auto& [which, menu] : m_popups) {
        menu->setEnabled(m_state.menus.popupEnabled(which));
    }
}

void MainWindow::runCommand(CommandId id, int param) {
    shell::dispatch(m_state, *m_ui, id, param);
    if (m_closed) {
        return;
    }
    applyMenuState();
    refreshMap();
    m_scaleLegend->follow();
    if (m_state.quitRequested) {
        m_state.quitRequested = false;
        close();
    }
}

void MainWindow::refreshMap() {
    if (m_state.viewMode == shell::viewNothing || !m_state.terrain.loaded) {
        return;
    }
    const auto& overhead = m_state.overhead;
    const auto ocean = overhead.overheadScale.entries[colour::oceanEntry];
    m_mapView->setBackground(QColor(ocean.red, ocean.green, ocean.blue));
    m_mapView->setImage(overhead.image.empty() ? QImage() : paint::toQImage(overhead.image));
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

bool MainWindow::handleFunctionKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool sinusoidal = m_state.terrain.loaded && m_state.terrain.header.projection ==
                                                          terrain::ProjectionKind::Sinusoidal;
    const bool overhead = m_state.viewMode == shell::viewOverhead;
    switch (key) {
        case Qt::Key_F1:
            runCommand(CommandId::OverheadView);
            return true;
        case Qt::Key_F2:
            runCommand(CommandId::Scene3d);
            return true;
        case Qt::Key_F3:
            runCommand(CommandId::ModifyColors, overhead ? 0 : 1);
            return true;
        case Qt::Key_F4:
            if (!sinusoidal)
                runCommand(CommandId::MapOverlay);
            return true;
        case Qt::Key_F5:
            if (!sinusoidal)
                runCommand(CommandId::AdjustMapOverlay);
            return true;
        case Qt::Key_F6:
            runCommand(CommandId::ResizeOverheadView);
            return true;
        case Qt::Key_F7:
            if (!sinusoidal)
                runCommand(CommandId::PatchMissingData);
            return true;
        case Qt::Key_F8:
            if (!(modifiers & Qt::ControlModifier) && !sinusoidal && overhead) {
                runCommand(CommandId::SelectSmallerArea);
            }
            return true;
        case Qt::Key_F9:
            shell::commands::OpenWebPage(m_state, *m_ui, 0);
            return true;
        default:
            return false;
    }
}

// Escape always stops what is running; a menu or key can reach this while a long loop pumps
// events.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_state.stopRequested = true;
        runCommand(CommandId::StopOperation);
        return;
    }
    if (!handleFunctionKey(event->key(), event->modifiers())) {
        QMainWindow::keyPressEvent(event);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_state.busy) {
        event->ignore();
        return;
    }
    if (m_state.viewMode == shell::viewOverlayMap) {
        event->ignore();
        runCommand(CommandId::OverheadView);
        return;
    }
    writeSettingsAndCleanUp();
    m_closed = true;
    event->accept();
}

void MainWindow::writeSettingsAndCleanUp() {
    m_state.settings.write(shell::SettingsFile::defaultPath());
    if (!m_state.tempDir.empty()) {
        shell::ClearDirectory(m_state.tempDir / "tavrok_terrain");
    }
    if (!m_state.temporaryTerrainFile.empty()) {
        std::error_code ignored;
        auto header = m_state.temporaryTerrainFile;
        std::filesystem::remove(m_state.temporaryTerrainFile, ignored);
        std::filesystem::remove(header.replace_extension(".hdr"), ignored);
    }
}

void MainWindow::rememberRectangle(bool fromResize) {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect frame = frameGeometry();
    const shell::WindowRectangle rectangle{frame.x(), frame.y(), frame.width(), frame.height()};
    shell::WindowChange change;
    change.creating = m_creating;
    change.maximized = isMaximized();
    change.minimized = isMinimized();
    change.overlayView = m_state.viewMode == shell::viewOverlayMap;
    change.fromResize = fromResize;
    const QSize screenSize = screen->size();
    if (shell::shouldRememberRectangle(rectangle, change, screenSize.width(),
                                       screenSize.height())) {
        m_state.settings.window = rectangle;
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    rememberRectangle(false);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_state.clientWidth = m_scrollArea->viewport()->width();
    m_state.clientHeight = m_scrollArea->viewport()->height();
    rememberRectangle(true);
}

void startMainWindow(MainWindow& window, const QString& commandLineFile) {
    auto& state = window.state();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1280, 1024);
    const auto stored = shell::SettingsFile::read(shell::SettingsFile::defaultPath());
    if (stored) {
        state.settings = *stored;
    }
    const auto placement = shell::startupPlacement(stored ? &*stored : nullptr, screenSize.width(),
                                                   screenSize.height());
    window.setGeometry(placement.left, placement.top, placement.width, placement.height);
    window.show();
    window.m_creating = false;
    window.setWindowTitle("Tavrok Terrain Visualization");
    if (const auto temporary = shell::chooseTemporaryDirectory()) {
        state.tempDir = *temporary;
    } else {
        window.ui().showMessage("Path For Temporary Storage Cannot Be Found");
        window.close();
        return;
    }
    const std::string file = shell::withoutQuotes(commandLineFile.toStdString());
    if (!file.empty()) {
        state.selectedFiles = {std::filesystem::path(file)};
        state.fileAlreadyChosen = true;
        window.runCommand(CommandId::LoadTerrainModel, 1);
    } else {
        window.runCommand(CommandId::LoadTerrainModel, 0);
    }
}

}  // namespace tavrok::app

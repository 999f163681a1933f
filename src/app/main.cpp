#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <signal.h>
#include <unistd.h>

#include "app/MainWindow.h"
#include "scene/GlSurface.h"
#include "shell/TemporaryDirectory.h"
#include "shell/commands/Commands.h"

namespace {

bool haveDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

struct Options {
    QString file;
    QString screenshot;  // render the window into this image and quit
    bool scene = false;  // open the 3D scene with its settings as they are
};

Options parseOptions(const QStringList& arguments) {
    Options options;
    QStringList words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size()) {
            options.screenshot = arguments[++i];
        } else if (arguments[i] == "--scene") {
            options.scene = true;
        } else {
            words << arguments[i];
        }
    }
    options.file = words.join(' ');
    return options;
}

bool savePicture(QWidget& widget, const QString& path, const char* what) {
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "tavrok: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("tavrok: the %s was rendered to %s\n", what,
                qPrintable(QDir().absoluteFilePath(path)));
    return true;
}

// "tavrok-window.png" gives "tavrok-scene.png"; other names get "-scene" before the extension.
QString scenePicturePath(const QString& windowPath) {
    QString path = windowPath;
    if (path.endsWith("-window.png")) {
        return path.replace(path.size() - 11, 11, "-scene.png");
    }
    const qsizetype dot = path.lastIndexOf('.');
    return dot > 0 ? path.insert(dot, "-scene") : path + "-scene.png";
}

// Without a display the window, and the scene when one is open, are drawn off screen and saved
// as pictures.
int saveScreenshot(tavrok::app::MainWindow& window, const QString& path) {
    QCoreApplication::processEvents();
    if (!savePicture(window, path, "window")) {
        return 1;
    }
    if (window.state().map.viewMode == tavrok::shell::viewScene &&
        !savePicture(window.sceneWindow(), scenePicturePath(path), "3D scene")) {
        return 1;
    }
    return window.state().document.loaded() ? 0 : 1;
}

// Without a display nobody could close a message box, so a scene that cannot be drawn is
// reported here and skipped.
bool sceneCanBeDrawn() {
    const auto surface = tavrok::scene::GlSurface::create({16, 16});
    if (!surface) {
        std::fprintf(stderr, "tavrok: OpenGL Conflict (%s); the 3D scene is not rendered\n",
                     surface.error().cause.c_str());
    }
    return surface.ok();
}

void openScene(tavrok::app::MainWindow& window, bool headless) {
    if (window.state().document.loaded() && (!headless || sceneCanBeDrawn())) {
        window.runCommand(tavrok::shell::CommandId::Scene3d,
                          tavrok::shell::commands::sceneRedrawOnly);
    }
}

// Beside the program first (an unpacked build), then the installed tree relative to the
// program, then the prefix it was configured for, then the source tree it was built from.
void locateDocuments(tavrok::shell::ShellState& shell) {
    const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path installed = program.parent_path() / TAVROK_INSTALL_DOC_SUBDIR;
    const std::filesystem::path prefix = TAVROK_INSTALL_DOC_DIR;
    const std::filesystem::path source = TAVROK_DOC_DIR;
    shell.helpFiles = {program / "help" / "tavrok.html", installed / "help" / "tavrok.html",
                       prefix / "help" / "tavrok.html", source / "help" / "tavrok.html"};
    shell.readmeFiles = {program / "README.md", installed / "README.md", prefix / "README.md",
                         TAVROK_README};
}

// A terminal's Ctrl+C or a kill asks the window to close as its close button would: settings
// are written and the run's temporary folder removed (after the running job, if any). The
// signal handler only writes a byte; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void closeOnTerminationSignals(tavrok::app::MainWindow& window) {
    if (::pipe(signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[0], &byte, 1);
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

// A session without XDG_RUNTIME_DIR (a batch job, a headless run) would make Qt create and
// leave a shared folder of its own in /tmp; it gets a private one instead, gone at exit.
std::optional<tavrok::shell::RunDirectory> privateRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr) {
        return std::nullopt;
    }
    auto folder = tavrok::shell::makeRunDirectory();
    if (folder) {
        setenv("XDG_RUNTIME_DIR", folder->path().c_str(), 1);
    }
    return folder;
}

int main(int argc, char** argv) {
    const bool headless = !haveDisplay();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const auto runtimeFolder = privateRuntimeFolder();
    QApplication application(argc, argv);
    Options options = parseOptions(QApplication::arguments());
    if (headless && options.screenshot.isEmpty()) {
        options.screenshot = "tavrok-window.png";
        options.scene = true;
        std::printf("tavrok: no display found; rendering headless instead\n");
    }
    tavrok::shell::AppState state;
    locateDocuments(state.shell);
    tavrok::app::MainWindow window(state);
    closeOnTerminationSignals(window);
    if (!options.screenshot.isEmpty() && options.file.isEmpty()) {
        std::fprintf(stderr, "tavrok: name a terrain file to render headless\n");
        return 2;
    }
    tavrok::app::startMainWindow(window, options.file);
    if (options.scene) {
        openScene(window, headless);
    }
    if (!options.screenshot.isEmpty()) {
        return saveScreenshot(window, options.screenshot);
    }
    return QApplication::exec();
}

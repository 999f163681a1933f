#pragma once
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "app/MainWindow.h"

namespace tavrok::app {

// Answers the next modal window when it appears. A failed check inside must not leave the
// dialog open and hang the test, so after a failure the dialog is closed.
// With `wanted`, only a modal window of that class is answered (a closing dialog may still
// be the active modal one for a moment).
inline void answerNextModal(std::function<void(QWidget*)> answer, const char* wanted = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, wanted] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || (wanted && !modal->inherits(wanted))) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(modal);
        if (::testing::Test::HasFailure() && QApplication::activeModalWidget() == modal) {
            modal->close();
        }
    });
    timer->start();
}

// A shown main window over a fresh state, with settings and temporary files in the test's
// own folder.
class WindowTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        setenv("XDG_CONFIG_HOME", path("config").c_str(), 1);
        state.shell.tempDir = folder();
        window = std::make_unique<MainWindow>(state);
        window->resize(800, 600);
        window->show();
    }
    void TearDown() override {
        window.reset();
        TemporaryFolderTest::TearDown();
    }

    void loadSample() {
        window->runImport(
            shell::LoadRequest{shell::CommandId::LoadMatrixFiles, 0, {test::sampleTerrain}});
        ASSERT_TRUE(state.document.loaded());
    }

    // Where the map image's first pixel lies in the map widget: the image is centred when it
    // is smaller than the window.
    QPoint imageOrigin() const {
        const MapView& map = window->mapView();
        return {std::max((map.width() - map.image().width()) / 2, 0),
                std::max((map.height() - map.image().height()) / 2, 0)};
    }

    shell::AppState state;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tavrok::app

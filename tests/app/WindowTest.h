#pragma once
#include <cstdlib>
#include <memory>

#include "TestSupport.h"
#include "app/MainWindow.h"

namespace tavrok::app {

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

    shell::AppState state;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tavrok::app

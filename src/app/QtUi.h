#pragma once
#include <QString>
#include <functional>

#include "shell/AppState.h"
#include "support/Ui.h"

class QWidget;

namespace tavrok::app {

class MainWindow;

// The Ui of the desktop program: real message boxes, file dialogs and the dialog views.
// Progress, the wait cursor and the title go to the main window.
class QtUi : public support::Ui {
  public:
    QtUi(shell::AppState& state, MainWindow& window);

    void showMessage(std::string_view text, std::string_view caption = defaultCaption) override;
    void showFailure(std::string_view text, std::string_view cause,
                     std::string_view caption = defaultCaption) override;
    void showInformation(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) override;
    std::vector<std::string> promptForFiles(const support::FilePrompt& prompt) override;
    bool runDialog(support::DialogModel& dialog) override;
    void showProgress(std::string_view text) override;
    void pump() override;
    bool stopRequested() override;
    void setWaitCursor(bool waiting) override;
    bool openDocument(std::string_view location) override;
    support::WindowOutput& output(support::WindowId window) override;

    // "Name|*.a; *.b|Name|*.*||" as Qt's ";;"-separated name filters.
    static QString qtFilter(const std::string& filter);

  private:
    // The main window's output; the scene and plot windows get theirs when they are built.
    struct MainOutput final : support::WindowOutput {
        explicit MainOutput(MainWindow& window) : m_window(window) {}
        void setTitle(std::string_view title) override;
        void clear() override;
        void showGrowingMap(const support::RgbImage& image, int finishedRows) override;
        void refreshMenus() override;
        MainWindow& m_window;
    };
    // The 3D scene's window, made when the first frame arrives.
    struct SceneOutput final : support::WindowOutput {
        explicit SceneOutput(MainWindow& window) : m_window(window) {}
        void setTitle(std::string_view) override {}
        void clear() override {}
        void showGrowingMap(const support::RgbImage&, int) override {}
        void refreshMenus() override;
        void showPicture(const support::RgbImage& image) override;
        void closeWindow() override;
        MainWindow& m_window;
    };
    struct NoWindow final : support::WindowOutput {
        void setTitle(std::string_view) override {}
        void clear() override {}
        void showGrowingMap(const support::RgbImage&, int) override {}
        void refreshMenus() override {}
    };

    shell::AppState& m_state;
    MainWindow& m_window;
    MainOutput m_mainOutput;
    SceneOutput m_sceneOutput;
    NoWindow m_noWindow;
    bool m_waitCursor = false;
};

}  // namespace tavrok::app

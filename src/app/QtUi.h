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
    bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) override;
    std::vector<std::string> promptForFiles(const support::FilePrompt& prompt) override;
    bool runDialog(support::DialogModel& dialog) override;
    void showProgress(std::string_view text) override;
    void pump() override;
    bool stopRequested() override;
    void setWaitCursor(bool waiting) override;
    void setWindowTitle(std::string_view title) override;
    void clearWindow() override;
    void showGrowingMap(const support::RgbImage& image, int finishedRows) override;
    bool openDocument(std::string_view location) override;

    // "Name|*.a; *.b|Name|*.*||" as Qt's ";;"-separated name filters.
    static QString qtFilter(const std::string& filter);

  private:
    shell::AppState& m_state;
    MainWindow& m_window;
    bool m_waitCursor = false;
};

}  // namespace tavrok::app

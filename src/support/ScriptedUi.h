#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/Ui.h"

namespace tavrok::support {

// A Ui for tests: replays queued answers in order and records everything the program said.
// An interaction with no queued answer behaves like the user pressing Cancel or No.
class ScriptedUi : public Ui {
  public:
    // Fills in a dialog's fields; returning false presses Cancel.
    using DialogScript = std::function<bool(DialogModel&)>;

    void queueAnswer(bool yes) { m_answers.push_back(yes); }
    void queueFiles(std::vector<std::string> files) { m_files.push_back(std::move(files)); }
    void queueDialog(DialogScript script) { m_dialogs.push_back(std::move(script)); }
    // Makes stopRequested() answer true after it has been asked this many times.
    void stopAfterPolls(int polls) { m_stopAfterPolls = polls; }
    // Runs once per pump(), as events the user sent during long work would; the count of
    // pumps so far is passed.
    std::function<void(int pumps)> onPump;

    WindowOutput& output(WindowId window = WindowId::Main) override;

    // What one window was told; the main window's fields are the ones below.
    struct Window final : WindowOutput {
        std::string title;
        int clears = 0;
        int menuRefreshes = 0;
        std::vector<int> growingMapRows;
        void setTitle(std::string_view text) override { title = text; }
        void clear() override { ++clears; }
        void showGrowingMap(const RgbImage&, int finishedRows) override {
            growingMapRows.push_back(finishedRows);
        }
        void refreshMenus() override { ++menuRefreshes; }
    };
    Window mainWindow;
    Window sceneWindow;
    Window plotWindow;

    void showMessage(std::string_view text, std::string_view caption = defaultCaption) override;
    void showInformation(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) override;
    std::vector<std::string> promptForFiles(const FilePrompt& prompt) override;
    bool runDialog(DialogModel& dialog) override;
    void showProgress(std::string_view text) override { progressTexts.emplace_back(text); }
    void pump() override;
    bool stopRequested() override;
    void setWaitCursor(bool waiting) override { waitCursor = waiting; }
    bool openDocument(std::string_view location) override {
        documentsOpened.emplace_back(location);
        return documentsOpen;
    }

    struct Message {
        std::string text;
        std::string caption;
        bool information = false;  // an information box rather than a warning
    };
    std::vector<Message> messages;
    std::vector<std::string> questions;
    std::vector<FilePrompt> prompts;
    std::vector<std::string> dialogsShown;
    std::vector<std::string> progressTexts;
    std::vector<std::string> documentsOpened;
    bool documentsOpen = true;  // whether the desktop has a viewer
    bool waitCursor = false;
    int pumps = 0;

    // The texts of all messages, in order; convenient for assertions.
    std::vector<std::string> messageTexts() const;

  private:
    bool nextAnswer();

    std::deque<bool> m_answers;
    std::deque<std::vector<std::string>> m_files;
    std::deque<DialogScript> m_dialogs;
    int m_stopAfterPolls = -1;
    int m_polls = 0;
};

}  // namespace tavrok::support

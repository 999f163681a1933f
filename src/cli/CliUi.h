#pragma once
#include <functional>
#include <string>
#include <vector>

#include "support/Ui.h"

namespace tavrok::cli {

// The Ui of batch use: messages go to standard error, questions take the answer given on the
// command line, dialogs are filled from options, and Ctrl+C is the Stop key.
class CliUi : public support::Ui {
  public:
    using DialogFiller = std::function<support::Status(support::DialogModel&)>;

    CliUi();
    void setDialogFiller(DialogFiller filler) { m_dialogFiller = std::move(filler); }
    void setAnswer(bool yes) { m_answer = yes; }
    void setVerbose(bool verbose) { m_verbose = verbose; }

    void showMessage(std::string_view text, std::string_view caption = defaultCaption) override;
    // The message, then the cause on a line of its own.
    void showFailure(std::string_view text, std::string_view cause,
                     std::string_view caption = defaultCaption) override;
    void showInformation(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) override;
    bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) override;
    std::vector<std::string> promptForFiles(const support::FilePrompt& prompt) override;
    bool runDialog(support::DialogModel& dialog) override;
    void showProgress(std::string_view text) override;
    void pump() override {}
    bool stopRequested() override;
    void setWaitCursor(bool) override {}
    bool openDocument(std::string_view) override { return false; }
    // Batch use has no windows: titles and pictures go nowhere.
    support::WindowOutput& output(support::WindowId) override { return m_noWindow; }

    // Whether any message was shown.
    bool failed() const { return m_failed; }
    // Lines of the last informational dialog (the DEM specs).
    const std::vector<std::string>& dialogLines() const { return m_dialogLines; }

  private:
    struct NoWindow final : support::WindowOutput {
        void setTitle(std::string_view) override {}
        void clear() override {}
        void showGrowingMap(const support::RgbImage&, int) override {}
        void refreshMenus() override {}
    };
    NoWindow m_noWindow;
    DialogFiller m_dialogFiller;
    std::vector<std::string> m_dialogLines;
    bool m_answer = false;
    bool m_verbose = false;
    bool m_failed = false;
    std::string m_lastCause;
};

}  // namespace tavrok::cli

#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "support/DialogModel.h"
#include "support/RgbImage.h"

namespace tavrok::support {

// The families of file prompts; each remembers the last directory used.
enum class DirectoryFamily {
    Terrain,
    Waypoints,
    MapOverlays,
    Images,
    Vrml,
    Terragen,
    ColorScales,
    Flyby
};

// One file prompt: the title bar text, a filter in "Name|*.a; *.b|Name|*.*||" form, the
// remembered-directory family, and whether several files may be chosen or a file is saved.
struct FilePrompt {
    std::string title;
    std::string filter;
    DirectoryFamily family = DirectoryFamily::Terrain;
    bool multiSelect = false;
    bool save = false;
};

// The program's windows: each has its own menu bar, keys and output.
enum class WindowId { Main, Scene, Plot };

// What one window shows: its title, its picture, and its menus. A command writes here; how
// the window paints it is the implementation's business.
class WindowOutput {
  public:
    virtual ~WindowOutput() = default;

    virtual void setTitle(std::string_view title) = 0;
    // Paints the client area white (nothing shown, or a failed load).
    virtual void clear() = 0;
    // The overhead map while it is being coloured: its top finishedRows rows are final. The
    // image is only borrowed for the call; the finished map is shown once the command ends.
    virtual void showGrowingMap(const RgbImage& image, int finishedRows) = 0;
    // The window's menu state changed (a long job greyed or restored it); show it now.
    virtual void refreshMenus() = 0;
    // A picture window (the 3D scene) shows the image, opening at the image's size when it
    // is closed and taking a new size when the image has one. The main window ignores it.
    virtual void showPicture(const RgbImage& /*image*/) {}
    // Closes a picture window; the main window ignores it.
    virtual void closeWindow() {}
};

// Talking to the user: messages, questions, prompts, dialogs, and the keep-alive of long work.
class Interaction {
  public:
    virtual ~Interaction() = default;

    static constexpr std::string_view defaultCaption = "Tavrok";

    // A modal message with a warning icon.
    virtual void showMessage(std::string_view text, std::string_view caption = defaultCaption) = 0;
    // A failure: its message, and its cause where there is room for one. An empty text shows
    // nothing on the desktop (the failure needs no message box); the command line still prints
    // the cause.
    virtual void showFailure(std::string_view text, std::string_view /*cause*/,
                             std::string_view caption = defaultCaption) {
        if (!text.empty()) {
            showMessage(text, caption);
        }
    }
    // A modal message with an information icon: news, not a problem (the About box).
    virtual void showInformation(std::string_view text,
                                 std::string_view caption = defaultCaption) = 0;
    virtual bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) = 0;
    virtual bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) = 0;
    // Full paths of the chosen files; empty when the user cancelled.
    virtual std::vector<std::string> promptForFiles(const FilePrompt& prompt) = 0;
    // Runs a modal dialog over the model; true after a successful OK, false on Cancel.
    virtual bool runDialog(DialogModel& dialog) = 0;

    // Keep-alive during long work: a progress text, pending events, the Stop and Escape keys.
    // Pending events may run other commands; the shell's job guard decides which are taken.
    virtual void showProgress(std::string_view text) = 0;
    virtual void pump() = 0;
    virtual bool stopRequested() = 0;
    virtual void setWaitCursor(bool waiting) = 0;

    // Opens a document or web address with the desktop's viewer; false when none could.
    virtual bool openDocument(std::string_view location) = 0;
};

// Every interaction a command has with the user and its windows goes through this seam. The
// desktop program, the command line and the tests each implement it; commands never know
// which one they have.
class Ui : public Interaction {
  public:
    virtual WindowOutput& output(WindowId window = WindowId::Main) = 0;
};

}  // namespace tavrok::support

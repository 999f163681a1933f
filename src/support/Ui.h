#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "support/RgbImage.h"

#include "support/DialogModel.h"

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

// Every interaction a command has with the user goes through this seam. The desktop program,
// the command line and the tests each implement it; commands never know which one they have.
class Ui {
  public:
    virtual ~Ui() = default;

    static constexpr std::string_view defaultCaption = "Tavrok";

    // A modal message with a warning icon.
    virtual void showMessage(std::string_view text, std::string_view caption = defaultCaption) = 0;
    virtual bool askYesNo(std::string_view text, std::string_view caption = defaultCaption) = 0;
    virtual bool askOkCancel(std::string_view text, std::string_view caption = defaultCaption) = 0;
    // Full paths of the chosen files; empty when the user cancelled.
    virtual std::vector<std::string> promptForFiles(const FilePrompt& prompt) = 0;
    // Runs a modal dialog over the model; true after a successful OK, false on Cancel.
    virtual bool runDialog(DialogModel& dialog) = 0;

    // Keep-alive during long work: a progress text, pending events, the Stop and Escape keys.
    virtual void showProgress(std::string_view text) = 0;
    virtual void pump() = 0;
    virtual bool stopRequested() = 0;
    virtual void setWaitCursor(bool waiting) = 0;

    virtual void setWindowTitle(std::string_view title) = 0;
    // Opens a document or web address with the desktop's viewer; false when none could.
    virtual bool openDocument(std::string_view location) = 0;
    // Paints the client area white (nothing shown, or a failed load).
    virtual void clearWindow() = 0;
    // The overhead map while it is being coloured: its top finishedRows rows are final. The
    // image is only borrowed for the call; the finished map is shown once the command ends.
    virtual void showGrowingMap(const RgbImage& image, int finishedRows) = 0;
};

}  // namespace tavrok::support

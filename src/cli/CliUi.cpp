#include "cli/CliUi.h"
#include "support/Text.h"

#include <csignal>
#include <iostream>

#include "terrain/DemSpecsDialog.h"

namespace tavrok::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

}  // namespace

CliUi::CliUi() {
    std::signal(SIGINT, onInterrupt);
}

void CliUi::showMessage(std::string_view text, std::string_view caption) {
    m_failed = true;
    std::cerr << "tavrok-cli: ";
    if (caption != defaultCaption) {
        std::cerr << caption << ": ";
    }
    std::cerr << text << '\n';
}

// A grid handed from one reader to the next fails twice for the same reason (a folder given as
// a matrix): the reason is told once.
void CliUi::showFailure(std::string_view text, std::string_view cause, std::string_view caption) {
    if (!cause.empty() && cause == m_lastCause) {
        return;
    }
    m_lastCause = cause;
    if (!text.empty()) {
        showMessage(text, caption);
    }
    if (!cause.empty()) {
        m_failed = true;
        std::cerr << "tavrok-cli: " << cause << '\n';
    }
}

// News rather than a problem: standard output, and the run has not failed.
void CliUi::showInformation(std::string_view text, std::string_view caption) {
    std::cout << "tavrok-cli: ";
    if (caption != defaultCaption) {
        std::cout << caption << ": ";
    }
    std::cout << text << '\n';
}

bool CliUi::askYesNo(std::string_view text, std::string_view) {
    std::cerr << "tavrok-cli: " << text << (m_answer ? " Yes" : " No") << '\n';
    return m_answer;
}

bool CliUi::askOkCancel(std::string_view text, std::string_view caption) {
    return askYesNo(text, caption);
}

std::vector<std::string> CliUi::promptForFiles(const support::FilePrompt& prompt) {
    std::cerr << "tavrok-cli: \"" << prompt.title << "\" needs a file named on the command line\n";
    return {};
}

// Informational dialogs are printed; forms are filled from the options, and a form that the
// options cannot fill is cancelled with its message.
bool CliUi::runDialog(support::DialogModel& dialog) {
    if (dialog.dialogId() == "IDD_DEMSPECS") {
        m_dialogLines = static_cast<terrain::DemSpecsDialog&>(dialog).lines;
        return true;
    }
    if (!m_dialogFiller) {
        showMessage(support::quotedThen(dialog.title(), " needs options on the command line"));
        return false;
    }
    if (const support::Status filled = m_dialogFiller(dialog); !filled) {
        // A grid handed over after its importer said what was wrong is not described by hand
        // on the command line: options for a headerless grid would not mend a damaged file.
        if (!(m_failed && dialog.dialogId() == "IDD_DIALOG1")) {
            showMessage(filled.error().detail);
        }
        return false;
    }
    if (const support::Status accepted = dialog.accept(); !accepted) {
        showMessage(accepted.error().message());
        return false;
    }
    return true;
}

void CliUi::showProgress(std::string_view text) {
    if (m_verbose) {
        std::cerr << text << '\n';
    }
}

bool CliUi::stopRequested() {
    return interrupted != 0;
}

}  // namespace tavrok::cli

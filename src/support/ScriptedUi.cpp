#include "support/ScriptedUi.h"

namespace tavrok::support {

void ScriptedUi::showMessage(std::string_view text, std::string_view caption) {
    messages.push_back({std::string(text), std::string(caption)});
}

void ScriptedUi::showInformation(std::string_view text, std::string_view caption) {
    messages.push_back({std::string(text), std::string(caption), true});
}

bool ScriptedUi::nextAnswer() {
    if (m_answers.empty()) {
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

bool ScriptedUi::askYesNo(std::string_view text, std::string_view) {
    questions.emplace_back(text);
    return nextAnswer();
}

bool ScriptedUi::askOkCancel(std::string_view text, std::string_view) {
    questions.emplace_back(text);
    return nextAnswer();
}

std::vector<std::string> ScriptedUi::promptForFiles(const FilePrompt& prompt) {
    prompts.push_back(prompt);
    if (m_files.empty()) {
        return {};
    }
    auto files = std::move(m_files.front());
    m_files.pop_front();
    return files;
}

// Like a real dialog, a rejected OK shows its message and leaves the dialog open for the next
// scripted attempt; running out of scripts is Cancel.
bool ScriptedUi::runDialog(DialogModel& dialog) {
    dialogsShown.emplace_back(dialog.dialogId());
    while (!m_dialogs.empty()) {
        auto script = std::move(m_dialogs.front());
        m_dialogs.pop_front();
        if (!script(dialog)) {
            return false;
        }
        const Status accepted = dialog.accept();
        if (accepted.ok()) {
            return true;
        }
        showMessage(accepted.error().message(), defaultCaption);
    }
    return false;
}

void ScriptedUi::pump() {
    ++pumps;
    if (onPump) {
        onPump(pumps);
    }
}

WindowOutput& ScriptedUi::output(WindowId window) {
    switch (window) {
        case WindowId::Scene:
            return sceneWindow;
        case WindowId::Plot:
            return plotWindow;
        case WindowId::Main:
            break;
    }
    return mainWindow;
}

bool ScriptedUi::stopRequested() {
    ++m_polls;
    return m_stopAfterPolls >= 0 && m_polls > m_stopAfterPolls;
}

std::vector<std::string> ScriptedUi::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : messages) {
        texts.push_back(message.text);
    }
    return texts;
}

}  // namespace tavrok::support

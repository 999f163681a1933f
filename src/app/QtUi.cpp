#include "app/QtUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/dialogs/DialogViews.h"
#include "paint/QtPainter.h"

namespace tavrok::app {

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

QtUi::QtUi(shell::AppState& state, MainWindow& window)
    : m_state(state), m_window(window), m_mainOutput(window), m_sceneOutput(window) {}

void QtUi::showMessage(std::string_view message, std::string_view caption) {
    QMessageBox::warning(&m_window, text(caption), text(message));
}

// The cause waits behind the box's "Show Details..." button: the message stays the short text.
void QtUi::showFailure(std::string_view message, std::string_view cause, std::string_view caption) {
    if (message.empty()) {
        return;
    }
    if (cause.empty()) {
        showMessage(message, caption);
        return;
    }
    QMessageBox box(QMessageBox::Warning, text(caption), text(message), QMessageBox::Ok, &m_window);
    box.setDetailedText(text(cause));
    box.exec();
}

void QtUi::showInformation(std::string_view message, std::string_view caption) {
    QMessageBox::information(&m_window, text(caption), text(message));
}

bool QtUi::askYesNo(std::string_view question, std::string_view caption) {
    return QMessageBox::question(&m_window, text(caption), text(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtUi::askOkCancel(std::string_view question, std::string_view caption) {
    return QMessageBox::warning(&m_window, text(caption), text(question),
                                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

namespace {

QString spacedPatterns(QString patterns) {
    return patterns.replace(';', ' ').simplified();
}

// Qt reads the patterns from the parentheses that end a filter; a name that already ends
// with its own patterns ("Geo Matrix (*.bin)") must not get them a second time.
QString filterEntry(const QString& name, const QString& patterns) {
    const QString wanted = spacedPatterns(patterns);
    const qsizetype open = name.lastIndexOf('(');
    if (open >= 0 && name.endsWith(')') &&
        spacedPatterns(name.mid(open + 1, name.size() - open - 2)) == wanted) {
        return name.left(open).trimmed() + " (" + wanted + ")";
    }
    return name + " (" + wanted + ")";
}

}  // namespace

QString QtUi::qtFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        filters << filterEntry(parts[i], parts[i + 1]);
    }
    return filters.join(";;");
}

// The prompt opens in the family's remembered directory and remembers the chosen one.
std::vector<std::string> QtUi::promptForFiles(const support::FilePrompt& prompt) {
    std::string& remembered = m_state.shell.settings.directory(prompt.family);
    QFileDialog dialog(&m_window, QString::fromStdString(prompt.title),
                       QString::fromStdString(remembered), qtFilter(prompt.filter));
    dialog.setObjectName("filePrompt");
    if (prompt.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(prompt.multiSelect ? QFileDialog::ExistingFiles
                                              : QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles()) {
        files.push_back(file.toStdString());
    }
    if (!files.empty()) {
        remembered = std::filesystem::path(files.front()).parent_path().string();
    }
    return files;
}

bool QtUi::runDialog(support::DialogModel& dialog) {
    return runDialogView(dialog, m_window, *this);
}

void QtUi::showProgress(std::string_view message) {
    m_window.setProgressText(text(message));
    pump();
}

void QtUi::pump() {
    QCoreApplication::processEvents();
}

bool QtUi::stopRequested() {
    return m_state.shell.stopRequested;
}

void QtUi::setWaitCursor(bool waiting) {
    if (waiting == m_waitCursor) {
        return;
    }
    m_waitCursor = waiting;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
        m_window.setProgressText({});
    }
}

support::WindowOutput& QtUi::output(support::WindowId window) {
    if (window == support::WindowId::Main) {
        return m_mainOutput;
    }
    if (window == support::WindowId::Scene) {
        return m_sceneOutput;
    }
    return m_noWindow;
}

void QtUi::SceneOutput::refreshMenus() {
    m_window.sceneWindow().applyMenuState();
}

void QtUi::SceneOutput::showPicture(const support::RgbImage& image) {
    m_window.sceneWindow().showPicture(paint::toQImage(image));
}

void QtUi::SceneOutput::closeWindow() {
    m_window.sceneWindow().closeByCommand();
}

void QtUi::MainOutput::setTitle(std::string_view title) {
    m_window.setWindowTitle(text(title));
}

void QtUi::MainOutput::clear() {
    m_window.clearMap();
}

void QtUi::MainOutput::showGrowingMap(const support::RgbImage& image, int finishedRows) {
    m_window.showGrowingMap(image, finishedRows);
}

void QtUi::MainOutput::refreshMenus() {
    m_window.applyMenuState();
}

}  // namespace tavrok::app

namespace tavrok::app {

bool QtUi::openDocument(std::string_view location) {
    const QString where = text(location);
    const QUrl url = where.contains("://") ? QUrl(where) : QUrl::fromLocalFile(where);
    return QDesktopServices::openUrl(url);
}

}  // namespace tavrok::app

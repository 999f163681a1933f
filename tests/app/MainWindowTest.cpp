#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "TestSupport.h"
#include "app/MainWindow.h"
#include "shell/MenuLayout.h"

namespace tavrok::app {
namespace {

using shell::CommandId;

// Answers the next modal window when it appears. A failed check inside must not leave the
// dialog open and hang the test, so after a failure the dialog is closed.
// With `wanted`, only a modal window of that class is answered (a closing dialog may still
// be the active modal one for a moment).
void answerNextModal(std::function<void(QWidget*)> answer, const char* wanted = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, wanted] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || (wanted && !modal->inherits(wanted))) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(modal);
        if (::testing::Test::HasFailure() && QApplication::activeModalWidget() == modal) {
            modal->close();
        }
    });
    timer->start();
}

// Closes the next message box and hands back its text.
std::shared_ptr<QString> captureNextMessage() {
    auto text = std::make_shared<QString>();
    answerNextModal([text](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            *text = box->text();
        }
        modal->close();
    });
    return text;
}

class MainWindowTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        setenv("XDG_CONFIG_HOME", path("config").c_str(), 1);
        state.tempDir = folder();
        window = std::make_unique<MainWindow>(state);
        window->resize(800, 600);
        window->show();
    }
    void TearDown() override {
        window.reset();
        TemporaryFolderTest::TearDown();
    }

    void loadSample() {
        state.selectedFiles = {test::sampleTerrain};
        window->runCommand(CommandId::LoadMatrixFiles);
        ASSERT_TRUE(state.terrain.loaded);
    }

    shell::AppState state;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, BuildsTheMenuBarFromTheCommandTable) {
    const auto bar = window->menuBar()->actions();
    const auto& layout = shell::mainMenu();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(layout.size()));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(bar[qsizetype(i)]->text().toStdString(), layout[i].text);
    }
    const auto file = bar[0]->menu()->actions();
    ASSERT_EQ(file.size(), 12);
    EXPECT_EQ(file[0]->text(), "Load Terrain Model");
    EXPECT_EQ(file[0]->data().toInt(), 39);
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[9]->menu()->title(), "SaveTerragen Terrain");
    EXPECT_EQ(file[11]->text(), "Exit");
    for (const auto* entry : shell::commandEntries(layout)) {
        const QAction* action = window->action(entry->command);
        ASSERT_NE(action, nullptr) << entry->text;
        EXPECT_EQ(action->text().toStdString(), entry->text);
        EXPECT_EQ(action->data().toInt(), static_cast<int>(entry->command));
    }
}

TEST_F(MainWindowTest, GreysTheMenusUntilATerrainIsLoaded) {
    EXPECT_TRUE(window->action(CommandId::LoadTerrainModel)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::About)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::ShowDemSpecs)->isEnabled());
    EXPECT_FALSE(window->popup(shell::Popup::ShowScale)->isEnabled());
    loadSample();
    EXPECT_TRUE(window->action(CommandId::ShowDemSpecs)->isEnabled());
    EXPECT_TRUE(window->popup(shell::Popup::ShowScale)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::UtmMeters)->isChecked());
    EXPECT_FALSE(window->action(CommandId::StopOperation)->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Overhead View - mt_hood.bin");
    EXPECT_FALSE(window->mapView().image().isNull());
}

TEST_F(MainWindowTest, FunctionKeysRunTheirCommands) {
    loadSample();
    const auto message = captureNextMessage();
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_EQ(*message, "\"F2  3D Scene\" is not available yet");
    auto specsShown = std::make_shared<QString>();
    answerNextModal([specsShown](QWidget* modal) {
        *specsShown = modal->windowTitle();
        modal->close();
    });
    window->runCommand(CommandId::ShowDemSpecs);
    EXPECT_EQ(*specsShown, "DEM Specifications");
}

TEST_F(MainWindowTest, EscapeSetsTheStopFlag) {
    EXPECT_FALSE(state.stopRequested);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(state.stopRequested);
}

TEST_F(MainWindowTest, IgnoresCloseWhileBusyAndSavesSettingsOnClose) {
    state.busy = true;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    state.busy = false;
    state.settings.lastFileType = 1305;
    writeFile("tavrok_terrain/unpacked.dem", "x");
    EXPECT_TRUE(window->close());
    const auto settings = shell::SettingsFile::read(shell::SettingsFile::defaultPath());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->lastFileType, 1305);
    EXPECT_FALSE(std::filesystem::exists(path("tavrok_terrain/unpacked.dem")));
}

TEST_F(MainWindowTest, LoadsAMatrixThroughTheFileTypeDialogAndTheFilePrompt) {
    answerNextModal([](QWidget* modal) {
        modal->findChild<QRadioButton*>("1301")->click();
        QMetaObject::invokeMethod(modal, "accept");
        answerNextModal(
            [](QWidget* prompt) {
                auto* dialog = qobject_cast<QFileDialog*>(prompt);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->windowTitle(), "Open Matrix File");
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                ASSERT_NE(name, nullptr);
                name->setText(test::sampleTerrain);
                EXPECT_EQ(dialog->selectedFiles(), QStringList{test::sampleTerrain});
                QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
            },
            "QFileDialog");
    });
    window->runCommand(CommandId::LoadTerrainModel);
    EXPECT_TRUE(state.terrain.loaded);
    EXPECT_EQ(state.settings.lastFileType, 1301);
    EXPECT_EQ(state.settings.directory(support::DirectoryFamily::Terrain),
              std::filesystem::path(test::sampleTerrain).parent_path().string());
}

TEST_F(MainWindowTest, TheMatrixDialogStaysOpenUntilItsFieldsAreRight) {
    std::vector<float> samples{1, 2, 3, 4, 5, 6};
    state.selectedFiles = {writeBinary("grid.raw", samples.data(), samples.size() * 4)};
    auto rejected = std::make_shared<QString>();
    answerNextModal([rejected](QWidget* modal) {
        modal->findChild<QComboBox*>("encoding")->setCurrentIndex(1);
        modal->findChild<QComboBox*>("coordinateSystem")->setCurrentIndex(2);
        modal->findChild<QLineEdit*>("rows")->setText("2");
        modal->findChild<QLineEdit*>("columns")->setText("3");
        modal->findChild<QLineEdit*>("east")->setText("20");
        answerNextModal(
            [rejected, modal](QWidget* box) {
                *rejected = qobject_cast<QMessageBox*>(box)->text();
                box->close();
                modal->findChild<QLineEdit*>("north")->setText("10");
                QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
            },
            "QMessageBox");
        QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
    });
    window->runCommand(CommandId::BuildRawMatrix);
    EXPECT_EQ(*rejected, "Incorrect Corner Coordinates");
    EXPECT_TRUE(state.terrain.loaded);
    EXPECT_EQ(state.terrain.header.columns, 3);
}

}  // namespace
}  // namespace tavrok::app

int main(int argc, char** argv) {
    // Listing the tests happens without the test environment: never ask for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

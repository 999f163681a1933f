#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "ScopedEnvironment.h"
#include "TestSupport.h"
#include "WindowTest.h"
#include "app/MainWindow.h"
#include "overhead/ScaleLegend.h"
#include "paint/QtPainter.h"
#include "shell/MenuLayout.h"
#include "shell/SettingsFile.h"
#include "shell/TerrainLoading.h"

namespace tavrok::app {
namespace {

using shell::CommandId;

// Closes the next message box, hands back its text and then does `then`. With `then` the box
// opens over another dialog, so only a message box is answered.
std::shared_ptr<QString> captureNextMessage(std::function<void()> then = {}) {
    auto text = std::make_shared<QString>();
    answerNextModal(
        [text, then](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                *text = box->text();
            }
            modal->close();
            if (then) {
                then();
            }
        },
        then ? "QMessageBox" : nullptr);
    return text;
}

// Names the file in the next file prompt, which must bear `title`, and accepts it.
void answerFilePrompt(const std::filesystem::path& file, const char* title) {
    answerNextModal(
        [file, title](QWidget* prompt) {
            auto* dialog = qobject_cast<QFileDialog*>(prompt);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), title);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
            QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
        },
        "QFileDialog");
}

class MainWindowTest : public WindowTest {};

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
    loadSample();
    EXPECT_TRUE(window->action(CommandId::ShowDemSpecs)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::UtmMeters)->isChecked());
    EXPECT_FALSE(window->action(CommandId::StopOperation)->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Overhead View - mt_hood.bin");
    EXPECT_FALSE(window->mapView().image().isNull());
}

// Closes whatever modal window is up after a moment and reports its text and icon; nothing
// is reported when none appeared.
struct ShownMessage {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool shown = false;
};

std::shared_ptr<ShownMessage> closeModalSoon(QObject* context) {
    auto shown = std::make_shared<ShownMessage>();
    QTimer::singleShot(300, context, [shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        shown->shown = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown->text = box->text();
            shown->icon = box->icon();
        }
        modal->close();
    });
    return shown;
}

// F4 is not built yet, F1 over the overhead view keeps it, About is an information box.
TEST_F(MainWindowTest, FunctionKeysAndAboutRunTheirCommands) {
    loadSample();
    const auto message = captureNextMessage();
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(*message, "\"F4  Apply/Remove Map Overlay\" is not available yet");
    auto specsShown = std::make_shared<QString>();
    answerNextModal([specsShown](QWidget* modal) {
        *specsShown = modal->windowTitle();
        modal->close();
    });
    window->runCommand(CommandId::ShowDemSpecs);
    EXPECT_EQ(*specsShown, "DEM Specifications");

    const QImage before = window->mapView().image();
    auto afterF1 = closeModalSoon(window.get());
    QTest::keyClick(window.get(), Qt::Key_F1);
    QTest::qWait(400);
    EXPECT_FALSE(afterF1->shown) << afterF1->text.toStdString();
    EXPECT_EQ(state.map.viewMode, shell::viewOverhead);
    EXPECT_EQ(window->mapView().image(), before);

    auto about = closeModalSoon(window.get());
    window->runCommand(CommandId::About);
    EXPECT_TRUE(about->text.startsWith("Tavrok terrain visualization"))
        << about->text.toStdString();
    EXPECT_EQ(about->icon, QMessageBox::Information);
}

// During a long job every menu is grey but Stop, keys and menus start nothing, and a close
// waits for the job to end, then happens with the settings saved.
TEST_F(MainWindowTest, ALongJobLocksTheWindowAndDefersItsClose) {
    loadSample();
    state.shell.settings.lastFileType = 1305;
    writeFile("tavrok_terrain/unpacked.dem", "x");
    auto duringJob = std::make_shared<std::vector<bool>>();
    QTimer::singleShot(0, window.get(), [this, duringJob] {
        duringJob->push_back(state.shell.busy);
        duringJob->push_back(window->action(CommandId::LoadTerrainModel)->isEnabled());
        duringJob->push_back(window->action(CommandId::StopOperation)->isEnabled());
        QTest::keyClick(window.get(), Qt::Key_F6);  // would open "Map Scale" if taken
        duringJob->push_back(window->close());
        duringJob->push_back(window->isVisible());
    });
    state.map.overheadZoom = 1.0;
    window->runCommand(CommandId::BuildOverhead, 1);
    EXPECT_EQ(*duringJob, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_FALSE(window->isVisible());
    const auto settings = shell::SettingsFile::read(shell::SettingsFile::defaultPath());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->lastFileType, 1305);
    EXPECT_FALSE(std::filesystem::exists(path("tavrok_terrain/unpacked.dem")));
}

// Presses a button of the open dialog once the current event has been handled, so that a
// modal window it opens does not block the caller.
void clickLater(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
}

TEST_F(MainWindowTest, LoadsAMatrixThroughTheFileTypeDialogAndTheFilePrompt) {
    answerNextModal([](QWidget* modal) {
        modal->findChild<QRadioButton*>("1301")->click();
        QMetaObject::invokeMethod(modal, "accept");
        answerFilePrompt(test::sampleTerrain, "Open Matrix File");
    });
    window->runCommand(CommandId::LoadTerrainModel);
    EXPECT_TRUE(state.document.loaded());
    EXPECT_EQ(state.shell.settings.lastFileType, 1301);
    EXPECT_EQ(state.shell.settings.directory(support::DirectoryFamily::Terrain),
              std::filesystem::path(test::sampleTerrain).parent_path().string());
}

TEST_F(MainWindowTest, TheMatrixDialogStaysOpenUntilItsFieldsAreRight) {
    std::vector<float> samples{1, 2, 3, 4, 5, 6};
    const auto grid = writeBinary("grid.raw", samples.data(), samples.size() * 4);
    std::shared_ptr<QString> rejected;
    answerNextModal([&rejected](QWidget* modal) {
        modal->findChild<QComboBox*>("encoding")->setCurrentIndex(1);
        modal->findChild<QComboBox*>("coordinateSystem")->setCurrentIndex(2);
        modal->findChild<QLineEdit*>("rows")->setText("2");
        modal->findChild<QLineEdit*>("columns")->setText("3");
        modal->findChild<QLineEdit*>("east")->setText("20");
        rejected = captureNextMessage([modal] {
            modal->findChild<QLineEdit*>("north")->setText("10");
            QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
    });
    window->runImport(shell::LoadRequest{CommandId::BuildRawMatrix, 0, {grid}});
    ASSERT_TRUE(rejected);
    EXPECT_EQ(*rejected, "Incorrect Corner Coordinates");
    EXPECT_TRUE(state.document.loaded());
    EXPECT_EQ(state.document.header().columns, 3);
}

TEST_F(MainWindowTest, SavesTheChosenMatrixFormatAndAsksAZonelessGridForItsZone) {
    loadSample();
    answerNextModal([this](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "File Format");
        EXPECT_TRUE(modal->findChild<QRadioButton*>("Floating Point")->isChecked());
        modal->findChild<QRadioButton*>("Signed Integer")->click();
        answerFilePrompt(path("hood.bin"), "Save Geo Matrix");
        QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
    });
    window->runCommand(CommandId::SaveTerrainMatrix);
    EXPECT_EQ(std::filesystem::file_size(path("hood.bin")), 799u * 1013 * 2);

    auto header = state.document.header();
    header.projection = terrain::ProjectionKind::XY;
    state.document.replace(state.document.grid().clone().value(), header, {});
    std::shared_ptr<QString> refused;
    answerNextModal(
        [this, &refused](QWidget* question) {
            answerNextModal(
                [this, &refused](QWidget* zone) {
                    EXPECT_EQ(zone->windowTitle(), "UTM Global Coordinates");
                    zone->findChild<QLineEdit*>("zone")->setText("99");
                    refused = captureNextMessage([this, zone] {
                        zone->findChild<QLineEdit*>("zone")->setText("13");
                        zone->findChild<QRadioButton*>("South")->click();
                        answerFilePrompt(path("local.tif"), "Save GeoTiff DEM");
                        QMetaObject::invokeMethod(zone, "accept", Qt::QueuedConnection);
                    });
                    QMetaObject::invokeMethod(zone, "accept", Qt::QueuedConnection);
                },
                "tavrok::app::UtmZoneView");
            auto* box = qobject_cast<QMessageBox*>(question);
            ASSERT_NE(box, nullptr);
            QMetaObject::invokeMethod(box->button(QMessageBox::Ok), "click", Qt::QueuedConnection);
        },
        "QMessageBox");
    window->runCommand(CommandId::SaveGeoTiffDem);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, "Incorrect Zone");
    EXPECT_EQ(state.document.header().zoneText, "13S");
    EXPECT_TRUE(std::filesystem::exists(path("local.tif")));
}

TEST_F(MainWindowTest, LightingOkRebuildsTheShadingAndCancelKeepsIt) {
    loadSample();
    const QImage before = window->mapView().image();
    answerNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Lighting Parameters");
        auto* azimuth = modal->findChild<QLineEdit*>("azimuth");
        ASSERT_NE(azimuth, nullptr);
        EXPECT_EQ(azimuth->text(), "240");
        azimuth->setText("-45");
        modal->findChild<QLineEdit*>("depth")->setText("250");
        QMetaObject::invokeMethod(modal, "accept");
    });
    window->runCommand(CommandId::ShadedRelief);
    EXPECT_EQ(state.overhead.lighting.azimuth, -45);
    EXPECT_EQ(state.overhead.lighting.shadeDepth, 100);
    EXPECT_NE(window->mapView().image(), before);

    answerNextModal([](QWidget* modal) {
        modal->findChild<QLineEdit*>("elevation")->setText("5");
        QMetaObject::invokeMethod(modal, "reject");
    });
    window->runCommand(CommandId::ShadedRelief);
    EXPECT_EQ(state.overhead.lighting.elevation, 80);
}

TEST_F(MainWindowTest, TerrainColorsEditsWrapCopyAndReachTheMapOnOk) {
    loadSample();
    const QImage before = window->mapView().image();
    answerNextModal([this](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "IDD_SCENECOLOR");
        modal->findChild<QAbstractButton*>("slot13")->click();
        auto* red = modal->findChild<QScrollBar*>("red");
        red->setSliderPosition(0);
        red->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(red->value(), 255);
        EXPECT_EQ(modal->findChild<QLabel*>("redValue")->text(), "255");
        EXPECT_EQ(state.overhead.overheadScale.entries[13].red, 255);
        EXPECT_EQ(state.overhead.overheadScale.entries[14].red, 255);
        red->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(red->value(), 9);

        modal->findChild<QAbstractButton*>("copyTo")->click();
        EXPECT_FALSE(modal->findChild<QWidget*>("forest")->isEnabled());
        EXPECT_FALSE(modal->findChild<QWidget*>("ok")->isEnabled());
        modal->findChild<QAbstractButton*>("slot2")->click();
        EXPECT_TRUE(modal->findChild<QWidget*>("forest")->isEnabled());
        EXPECT_EQ(state.overhead.overheadScale.entries[2],
                  state.overhead.overheadScale.entries[13]);

        auto* modify = modal->findChild<QAbstractButton*>("modify");
        modify->click();
        EXPECT_EQ(modify->text(), "Apply");
        EXPECT_FALSE(modal->findChild<QWidget*>("ok")->isEnabled());
        modal->findChild<QLineEdit*>("minimum")->setText("100");
        modal->findChild<QLineEdit*>("maximum")->setText("1400");
        QMetaObject::invokeMethod(modal, "reject");  // ignored while the range is edited
        EXPECT_TRUE(modal->isVisible());
        modify->click();
        EXPECT_EQ(modal->findChild<QAbstractButton*>("slot1")->text(), "200    m");
        modal->findChild<QAbstractButton*>("lowlands")->click();
        EXPECT_TRUE(modal->findChild<QWidget*>("seaLevel")->isEnabled());
        modal->findChild<QLineEdit*>("seaLevel")->setText("150");
        modal->findChild<QAbstractButton*>("ok")->click();
    });
    window->runCommand(CommandId::ModifyColors);
    EXPECT_EQ(state.overhead.overheadScale.entries[2].red, 9);
    EXPECT_EQ(state.overhead.scale.scaleMinimum, 100);
    EXPECT_EQ(state.overhead.scale.scaleMaximum, 1400);
    EXPECT_EQ(state.overhead.scale.seaLevel, 150);
    EXPECT_EQ(state.overhead.scale.terrainType, colour::TerrainType::Lowlands);
    EXPECT_NE(window->mapView().image(), before);
}

TEST_F(MainWindowTest, TerrainColorsCancelRestoresAndARefusedFileIsReported) {
    loadSample();
    const auto table = state.overhead.overheadScale;
    const std::string shortFile = writeFile("short.dat", std::string(87, 'x'));
    std::shared_ptr<QString> message;
    answerNextModal([&](QWidget* modal) {
        modal->findChild<QAbstractButton*>("snow")->click();
        EXPECT_NE(state.overhead.overheadScale.entries, table.entries);
        answerFilePrompt(shortFile, "Load Color Scale");
        message = captureNextMessage([modal] { clickLater(modal, "cancel"); });
        clickLater(modal, "loadFile");
    });
    window->runCommand(CommandId::ModifyScale);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, "Not a Color Scale File");
    EXPECT_EQ(state.overhead.overheadScale.entries, table.entries);
}

TEST_F(MainWindowTest, MapScaleZoomsAndTheMapScrollsWithTheReadoutFollowing) {
    loadSample();
    const int columns = state.document.header().columns;
    answerNextModal([columns](QWidget* modal) {
        auto* width = modal->findChild<QScrollBar*>("width");
        ASSERT_NE(width, nullptr);
        const int opened = width->value();
        width->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(width->value(), opened + 4);
        width->setSliderPosition(2 * columns);
        EXPECT_EQ(modal->findChild<QLabel*>("pixelColumns")->text(), QString::number(2 * columns));
        EXPECT_EQ(modal->findChild<QLabel*>("zoom")->text().trimmed(), "2.00");
        QMetaObject::invokeMethod(modal, "accept");
    });
    QTest::keyClick(window.get(), Qt::Key_F6);
    EXPECT_FLOAT_EQ(state.map.overheadZoom, 2.0);
    EXPECT_EQ(window->mapView().image().width(), 2 * columns);
    QScrollBar* horizontal = window->scrollArea().horizontalScrollBar();
    EXPECT_GT(horizontal->maximum(), 0);
    EXPECT_GT(window->scrollArea().verticalScrollBar()->maximum(), 0);

    // After scrolling right the pointer at the viewport's left edge is that far east.
    horizontal->setValue(400);
    QTest::mouseMove(&window->mapView(), QPoint(400 + 10, 300));
    const auto& header = state.document.header();
    const long east = std::lround(std::floor(header.westBound + 410 * header.spacingX / 2.0 + 0.5));
    EXPECT_TRUE(window->mapView().readoutLines().contains(QString("East: %1 m").arg(east)))
        << window->mapView().readoutLines().join(" | ").toStdString();
}

TEST_F(MainWindowTest, TheReadoutFollowsThePointerAndGoesAwayOverTheBackground) {
    loadSample();
    MapView& map = window->mapView();
    EXPECT_TRUE(map.readoutLines().isEmpty());
    const QImage& image = map.image();
    const QPoint origin = imageOrigin();
    QTest::mouseMove(&map, origin + QPoint(20, 30));
    const QStringList lines = map.readoutLines();
    ASSERT_EQ(lines.size(), 4) << lines.join(" | ").toStdString();
    const auto& header = state.document.header();
    const double zoom = state.overhead.geometry.zoom;
    const long east = std::lround(std::floor(header.westBound + 20 * header.spacingX / zoom + 0.5));
    const long north = std::lround(
        std::floor(header.southBound + (image.height() - 1 - 30) * header.spacingY / zoom + 0.5));
    EXPECT_EQ(lines[0], "Zone: 10");
    EXPECT_EQ(lines[1], QString("North: %1 m").arg(north));
    EXPECT_EQ(lines[2], QString("East: %1 m").arg(east));
    EXPECT_TRUE(lines[3].startsWith("Elevation: ")) << lines[3].toStdString();
    // The first box starts 46 average characters from the right, 3 lines above the bottom.
    const QImage shown = map.grab().toImage();
    const QFontMetrics metrics(paint::QtPainter::textFont());
    const QPoint inBox(map.width() - 46 * metrics.averageCharWidth() + 3,
                       map.height() - 3 * metrics.height() + 3);
    EXPECT_EQ(shown.pixelColor(inBox), QColor(Qt::black));

    // A step within the same degrees and order of magnitude redraws the boxes in place; a
    // new mode refills the strip.
    EXPECT_TRUE(map.readoutStripRefilled());
    QTest::mouseMove(&map, origin + QPoint(21, 31));
    EXPECT_FALSE(map.readoutStripRefilled());
    window->runCommand(CommandId::DecimalDegree);
    QTest::mouseMove(&map, origin + QPoint(21, 30));
    EXPECT_TRUE(map.readoutStripRefilled());
    ASSERT_EQ(map.readoutLines().size(), 3);
    EXPECT_TRUE(map.readoutLines()[0].startsWith("Latitude: 45."));

    // Over the background around the map the readout goes away, and comes back on the map.
    ASSERT_TRUE(origin.x() > 0 || origin.y() > 0) << "the map fills the window: no background";
    QTest::mouseMove(&map, origin.x() > 0 ? QPoint(origin.x() - 1, origin.y() + 30)
                                          : QPoint(origin.x() + 21, origin.y() - 1));
    EXPECT_TRUE(map.readoutLines().isEmpty()) << map.readoutLines().join(" | ").toStdString();
    QTest::mouseMove(&map, origin + QPoint(21, 30));
    EXPECT_FALSE(map.readoutLines().isEmpty());
}

TEST_F(MainWindowTest, TheMapSizeModeShowsTheMatrixSizeBox) {
    loadSample();
    MapView& map = window->mapView();
    const QFontMetrics metrics(paint::QtPainter::textFont());
    // Inside the strip, left of where its centred text starts.
    const QPoint inStrip(map.width() - 22 * metrics.averageCharWidth() + 2,
                         map.height() - 7 * metrics.height() + 2);
    const QColor before = map.grab().toImage().pixelColor(inStrip);
    state.overhead.mapSizeMode = true;
    map.update();
    const QColor shown = map.grab().toImage().pixelColor(inStrip);
    EXPECT_EQ(shown, QColor(Qt::black));
    EXPECT_NE(before, shown);
}

TEST_F(MainWindowTest, ThePolarAreaDialogChoosesTheImageToLocate) {
    auto promptTitle = std::make_shared<QString>();
    answerNextModal([promptTitle](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Mars Polar Area Selection");
        modal->findChild<QRadioButton*>("resolution256")->click();
        QTest::mouseClick(modal->findChild<QWidget*>("polarMap"), Qt::LeftButton, {},
                          QPoint(100, 120));
        answerNextModal(
            [promptTitle](QWidget* prompt) {
                *promptTitle = prompt->windowTitle();
                prompt->close();
            },
            "QFileDialog");
        QMetaObject::invokeMethod(modal, "accept", Qt::QueuedConnection);
    });
    window->runImport(shell::LoadRequest{CommandId::LoadMarsPolarMola, 0, {}});
    EXPECT_TRUE(promptTitle->contains("megt_n_256_1.img")) << promptTitle->toStdString();
    EXPECT_FALSE(state.document.loaded());
}

TEST_F(MainWindowTest, DemSpecsShowAGeoTiffsCornerTable) {
    window->runImport(shell::LoadRequest{
        CommandId::LoadUsgsDem,
        0,
        {test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif")}});
    ASSERT_TRUE(state.document.loaded());
    EXPECT_EQ(window->windowTitle(), "Overhead View - gdalraster_lf_elev_220_mt_hood_utm.tif");
    auto listing = std::make_shared<QString>();
    answerNextModal([listing](QWidget* modal) {
        if (auto* text = modal->findChild<QPlainTextEdit*>("sourceListing")) {
            *listing = text->toPlainText();
        }
        modal->close();
    });
    window->runCommand(CommandId::ShowDemSpecs);
    EXPECT_TRUE(listing->contains("Corner Coordinates")) << listing->toStdString();
}

TEST_F(MainWindowTest, TheScaleLegendOpensInEitherUnitAndKeepsItsPlace) {
    loadSample();
    ScaleLegendWindow& legend = window->scaleLegend();
    EXPECT_FALSE(legend.isVisible());
    window->runCommand(CommandId::ShowScaleMeters);
    ASSERT_TRUE(legend.isVisible());
    EXPECT_EQ(legend.windowTitle(), "Scale");
    EXPECT_GE(legend.image().height(), overhead::legendBarHeight);
    const QImage metres = legend.image();
    window->runCommand(CommandId::ShowScaleFeet);
    EXPECT_TRUE(legend.isVisible());
    EXPECT_NE(legend.image(), metres);
    legend.move(300, 200);
    const QPoint placed = legend.pos();
    window->runCommand(CommandId::ShowScaleCancel);
    EXPECT_FALSE(legend.isVisible());
    window->runCommand(CommandId::ShowScaleMeters);
    EXPECT_TRUE(legend.isVisible());
    EXPECT_EQ(legend.pos(), placed);
    legend.close();
    EXPECT_FALSE(state.map.scaleWindow.shown);
}

// The legend's items are reachable whenever a terrain is loaded, whatever its kind.
TEST_F(MainWindowTest, ShowScaleItemsFollowTheirPopupForEveryKindOfTerrain) {
    struct Case {
        const char* name;
        std::optional<shell::LoadRequest> load;
        bool enabled;
    };
    const Case cases[] = {
        {"nothing loaded", std::nullopt, false},
        {"UTM matrix", shell::LoadRequest{CommandId::LoadMatrixFiles, 0, {test::sampleTerrain}},
         true},
        {"UTM GeoTIFF",
         shell::LoadRequest{
             CommandId::LoadUsgsDem,
             0,
             {test::sharedData("geotiff_dem/gdalraster_lf_elev_220_mt_hood_utm.tif")}},
         true},
        {"geographic SRTM",
         shell::LoadRequest{CommandId::LoadSrtmFiles, 0, {test::sharedData("srtm/N57E011.hgt")}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.load) {
            window->runImport(*c.load);
            ASSERT_TRUE(state.document.loaded());
        }
        EXPECT_EQ(window->popup(shell::Popup::ShowScale)->isEnabled(), c.enabled);
        for (const CommandId id :
             {CommandId::ShowScaleMeters, CommandId::ShowScaleFeet, CommandId::ShowScaleCancel}) {
            EXPECT_EQ(window->action(id)->isEnabled(), c.enabled) << static_cast<int>(id);
        }
    }
}

TEST_F(MainWindowTest, TheProgressTextIsWhiteOnBlack) {
    window->setProgressText("     Shading Surface ...  ");
    auto* progress = window->findChild<QLabel*>("progress");
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(progress->isVisible());
    const QImage shown = progress->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::black));
    bool white = false;
    for (int y = 0; y < shown.height() && !white; ++y) {
        for (int x = 0; x < shown.width() && !white; ++x) {
            white = shown.pixelColor(x, y) == QColor(Qt::white);
        }
    }
    EXPECT_TRUE(white);
    window->setProgressText({});
    EXPECT_FALSE(progress->isVisible());
}

// F2 asks for the settings and the scene colours and opens the scene at the chosen size; F6
// moves the camera with the scene redrawn under the dialog; Escape brings the map back.
TEST_F(MainWindowTest, TheSceneWindowOpensAtItsSizeMovesAndClosesWithEscape) {
    loadSample();
    answerNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Terrain Projection Parameters");
        modal->findChild<QAbstractButton*>("1045")->click();  // 800x600
        answerNextModal([](QWidget* colours) {
            EXPECT_EQ(colours->windowTitle(), "Terrain Colors");
            QMetaObject::invokeMethod(colours, "accept");
        });
        QMetaObject::invokeMethod(modal, "accept");
    });
    QTest::keyClick(window.get(), Qt::Key_F2);
    SceneWindow& scene = window->sceneWindow();
    ASSERT_TRUE(scene.isVisible());
    EXPECT_EQ(scene.windowTitle(), "3D Scene");
    EXPECT_EQ(scene.picture().size(), QSize(800, 600));
    EXPECT_EQ(state.map.viewMode, shell::viewScene);
    EXPECT_FALSE(window->action(CommandId::LoadTerrainModel)->isEnabled());
    EXPECT_NE(scene.menuBar()->findChild<QMenu*>("View"), nullptr);

    const QImage first = scene.picture();
    answerNextModal([&scene, &first](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Rotate or Shift Scene");
        modal->findChild<QAbstractButton*>("1177")->click();  // Move Closer
        EXPECT_NE(scene.picture(), first);
        QMetaObject::invokeMethod(modal, "reject");
    });
    QTest::keyClick(&scene, Qt::Key_F6);
    EXPECT_EQ(state.scene.parameters.zoom, 16);  // Cancel went back

    QTest::keyClick(&scene, Qt::Key_Escape);
    EXPECT_FALSE(scene.isVisible());
    EXPECT_EQ(state.map.viewMode, shell::viewOverhead);
    EXPECT_EQ(state.scene.renderer, nullptr);
    EXPECT_TRUE(window->action(CommandId::LoadTerrainModel)->isEnabled());
}

TEST(QtFilter, NamesThatCarryTheirPatternsGetThemOnce) {
    const struct {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Geo Matrix (*.bin)|*.bin||", "Geo Matrix (*.bin)"},
        {"Color Scale (*.dat)|*.dat||", "Color Scale (*.dat)"},
        {"SRTM Data|*.hgt; *.hgt.zip||", "SRTM Data (*.hgt *.hgt.zip)"},
        {"Both (*.a; *.b)|*.a;*.b|All Files|*.*||", "Both (*.a *.b);;All Files (*.*)"},
        {"Other (*.x)|*.y||", "Other (*.x) (*.y)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtUi::qtFilter(c.filter).toStdString(), c.qt) << c.filter;
    }
}

// A long rebuild at zoom 2 is stopped by Escape sent where the keyboard focus is, while the
// job pumps events; the map falls back to the zoom that fits the window.
TEST_F(MainWindowTest, EscapeDuringALongRebuildCancelsTheResizing) {
    loadSample();
    state.map.overheadZoom = 2.0;
    auto greyDuringJob = std::make_shared<std::vector<bool>>();
    QTimer::singleShot(0, window.get(), [this, greyDuringJob] {
        greyDuringJob->push_back(window->action(CommandId::ResizeOverheadView)->isEnabled());
        greyDuringJob->push_back(window->action(CommandId::StopOperation)->isEnabled());
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), Qt::Key_Escape);
    });
    const auto message = captureNextMessage();
    window->runCommand(CommandId::BuildOverhead, 1);
    EXPECT_EQ(*greyDuringJob, (std::vector<bool>{false, true}));
    EXPECT_EQ(*message, "Map Resizing Cancelled");
    EXPECT_LT(state.map.overheadZoom, 2.0);
    EXPECT_FALSE(state.shell.stopRequested);
    EXPECT_FALSE(window->mapView().image().isNull());
}

TEST_F(MainWindowTest, F8DragEnterAndTheLimitsDialogCropTheTerrain) {
    loadSample();
    MapView& map = window->mapView();
    const QPoint origin = imageOrigin();
    QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::SelectArea);
    EXPECT_FALSE(state.shell.menus.main.enabled(CommandId::ConvertToUtm));
    QTest::mousePress(&map, Qt::LeftButton, {}, origin + QPoint(40, 40));
    QTest::mouseMove(&map, origin + QPoint(140, 120));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, origin + QPoint(140, 120));
    QString title;
    QString west;
    answerNextModal(
        [&](QWidget* modal) {
            title = modal->windowTitle();
            west = modal->findChild<QLineEdit*>("westernEdge")->text();
            qobject_cast<QDialog*>(modal)->accept();
        },
        "tavrok::app::AreaLimitsView");
    const int columns = state.document.header().columns;
    QTest::keyClick(&map, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.document.header().columns < columns; }));
    EXPECT_EQ(title, "Set Area Limits - Meters");
    EXPECT_FALSE(west.isEmpty());
    EXPECT_LT(state.document.header().columns, columns);
    // The scene marker takes the mouse back.
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::SceneMarker);
    EXPECT_TRUE(state.shell.menus.main.enabled(CommandId::ConvertToUtm));

    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::PatchArea);
    QTest::keyClick(&map, Qt::Key_Escape);
    EXPECT_EQ(state.mapTools.current(), shell::MapTool::SceneMarker);
    EXPECT_TRUE(state.shell.menus.main.enabled(CommandId::SelectSmallerArea));
}

// The program as it starts: a window placed from the settings (or the default placement),
// the settings read and, at close, written.
class StartupWindowTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        setenv("XDG_CONFIG_HOME", path("config").c_str(), 1);
        // The folder goes away with the test; the next test's own temporary folder must not.
        m_tmpdir.emplace("TMPDIR", folder().string());
    }

    // Starts a fresh program on the sample and hands back its window.
    std::unique_ptr<MainWindow> start(shell::AppState& state) {
        auto window = std::make_unique<MainWindow>(state);
        startMainWindow(*window, QString::fromStdString(test::sampleTerrain));
        return window;
    }

  private:
    std::optional<test::ScopedEnvironment> m_tmpdir;
};

// The first map must be fitted to the laid-out window, not to the size a window has before
// it is shown.
TEST_F(StartupWindowTest, TheFirstMapFitsTheWindowAsPlaced) {
    shell::AppState state;
    const auto window = start(state);
    ASSERT_TRUE(state.document.loaded());
    const QSize area = window->scrollArea().size();
    EXPECT_EQ(state.map.clientWidth, area.width());
    EXPECT_EQ(state.map.clientHeight, area.height());
    const auto& grid = state.document.grid();
    const double fitted =
        shell::overheadZoomFor(grid.rows(), grid.columns(), area.width(), area.height());
    EXPECT_NEAR(state.map.overheadZoom, fitted, 0.011);
    // The fit rule picks the limiting side: no side of the map overflows the window, one fills it.
    const QSize image = window->mapView().image().size();
    EXPECT_LE(image.width(), area.width());
    EXPECT_LE(image.height(), area.height());
    EXPECT_GE(
        std::max(double(image.width()) / area.width(), double(image.height()) / area.height()),
        0.98);
    window->close();
}

// Stores, window rectangle: written at close, found again by the next start, unchanged by a
// second cycle.
TEST_F(StartupWindowTest, StoresAndTheWindowRectangleSurviveRestartsWithoutDrift) {
    std::array<colour::ColorScale, 2> stores{};
    for (int entry = 0; entry < colour::colorEntryCount; ++entry) {
        stores[0].entries[entry] = colour::Rgb{std::uint8_t(entry + 1), 2, 3};
        stores[1].entries[entry] = colour::Rgb{250, std::uint8_t(entry), 7};
    }
    QRect placed;
    {
        shell::AppState state;
        auto window = start(state);
        state.overhead.colorStores = stores;
        window->setGeometry(40, 50, 700, 520);
        placed = window->geometry();
        window->close();
    }
    std::ifstream file(shell::SettingsFile::defaultPath(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), shell::SettingsFile::size);
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 1u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[84]), 250u);
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        shell::AppState state;
        auto window = start(state);
        EXPECT_EQ(state.overhead.colorStores, stores);
        EXPECT_EQ(window->geometry(), placed);
        window->close();
    }
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

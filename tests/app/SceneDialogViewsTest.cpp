#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>

#include "WindowTest.h"
#include "app/dialogs/MovementView.h"
#include "scene/MovementDialog.h"
#include "scene/TerrainProjectionDialog.h"

namespace tavrok::app {
namespace {

template <typename Widget = QAbstractButton>
Widget* control(QWidget* dialog, int id) {
    auto* found = dialog->findChild<Widget*>(QString::number(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}

class SceneDialogViewsTest : public WindowTest {};

TEST_F(SceneDialogViewsTest, TerrainProjectionShowsTheModelsRulesAndReadsItsBoxesOnOk) {
    scene::SceneParameters parameters;
    parameters.colorMode = scene::ColorMode::SideBySide;
    parameters.projectionSize = scene::ProjectionSize::S1024x768;
    scene::TerrainProjectionDialog model(parameters, {}, {100, 9090, 10}, false);
    answerNextModal([&model](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Terrain Projection Parameters");
        ASSERT_NE(control(modal, 1081), nullptr);
        EXPECT_TRUE(control(modal, 1041)->isChecked());
        EXPECT_FALSE(control(modal, 1081)->isEnabled());
        control(modal, 1003)->click();
        EXPECT_TRUE(control(modal, 1081)->isEnabled());

        auto* slider = modal->findChild<QSlider*>("altitudeSlider");
        auto* altitude = modal->findChild<QLineEdit*>("altitude");
        ASSERT_NE(altitude, nullptr);
        EXPECT_FALSE(slider->isEnabled());
        EXPECT_EQ(altitude->text(), "");
        control(modal, 1090)->click();
        EXPECT_TRUE(slider->isEnabled());
        EXPECT_EQ(slider->value(), 909);
        slider->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(slider->value(), 899);
        EXPECT_EQ(altitude->text(), "8990");

        auto* seaLevel = modal->findChild<QLineEdit*>("seaLevel");
        EXPECT_FALSE(seaLevel->isEnabled());
        control(modal, 1271)->click();
        EXPECT_TRUE(seaLevel->isEnabled());
        seaLevel->clear();
        QTest::keyClicks(seaLevel, "-7");
        QTest::keyClicks(modal->findChild<QLineEdit*>("magnification"), "x");
        EXPECT_EQ(model.magnificationText, "100x");
        QMetaObject::invokeMethod(modal, "accept");
    });
    ASSERT_TRUE(window->ui().runDialog(model));
    EXPECT_EQ(model.parameters.colorMode, scene::ColorMode::Color);
    EXPECT_EQ(model.parameters.terrainPosition, scene::TerrainPosition::Background);
    EXPECT_EQ(model.parameters.observerAltitude, 8990);
    EXPECT_EQ(model.parameters.verticalMagnificationPercent, 100);
    EXPECT_EQ(model.parameters.tilt, 0);  // a new Background scene starts level
    EXPECT_EQ(model.scale.terrainType, colour::TerrainType::Lowlands);
    EXPECT_EQ(model.scale.seaLevel, -7);
}

TEST_F(SceneDialogViewsTest, MovementButtonsRedrawAtOnceAndTheDialogReturnsWhereItClosed) {
    QWidget scene;
    scene.setObjectName("sceneWindow");
    scene.setGeometry(200, 150, 640, 480);
    scene.show();
    scene::SceneParameters live;
    scene::MeshGeometry geometry;
    terrain::TerrainHeader header;
    int redraws = 0;
    scene::MovementDialog model(live, geometry, header, [&redraws] { ++redraws; });
    MovementView::forgetPlacement();
    const QPoint moved(30, 40);
    answerNextModal([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Rotate or Shift Scene");
        EXPECT_EQ(modal->frameGeometry().bottomLeft(), scene.frameGeometry().bottomLeft());
        control(modal, 1179)->click();
        EXPECT_EQ(live.turn, 5);
        EXPECT_EQ(redraws, 1);
        control(modal, 1266)->click();
        control(modal, 1177)->click();
        EXPECT_EQ(live.zoom, 15);
        modal->move(moved);
        QMetaObject::invokeMethod(modal, "reject");
    });
    EXPECT_FALSE(window->ui().runDialog(model));
    EXPECT_EQ(live.turn, 5);  // restoring is the caller's part after Cancel
    model.restoreRemembered();
    EXPECT_EQ(live.zoom, 16);

    answerNextModal([moved](QWidget* modal) {
        EXPECT_EQ(modal->pos(), moved);
        QMetaObject::invokeMethod(modal, "accept");
    });
    EXPECT_TRUE(window->ui().runDialog(model));
    EXPECT_EQ(live.movementIncrement, scene::MovementIncrement::Fine);
    EXPECT_FALSE(live.newScene);
}

}  // namespace
}  // namespace tavrok::app

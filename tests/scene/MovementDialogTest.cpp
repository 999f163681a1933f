#include <gtest/gtest.h>

#include <tuple>

#include "scene/MovementDialog.h"

namespace tavrok::scene {
namespace {

using Button = MovementButton;

// Everything a movement button may change.
auto view(const SceneParameters& p) {
    return std::tuple(p.shiftX, p.shiftY, p.zoom, p.tilt, p.turn, p.observerAltitude, p.heading,
                      p.observerPosition.x, p.observerPosition.y);
}

// A scene 201 vertices wide at every third cell of a 30 m grid: the observer climbs
// truncate(201 × 3 × 30 / 200) = 90 m per unit of increment and walks 3 pixels.
class MovementDialogTest : public ::testing::Test {
  protected:
    MovementDialogTest() {
        geometry.meshSize = 201;
        geometry.meshStep = 3;
        header.spacingX = 30.0f;
        live.observerPosition = {100.0, 200.0};
        live.observerAltitude = 500;
    }

    MovementDialog open(TerrainPosition position) {
        live.terrainPosition = position;
        return MovementDialog(live, geometry, header, [this] { ++redraws; });
    }

    SceneParameters live;
    MeshGeometry geometry;
    terrain::TerrainHeader header;
    int redraws = 0;
};

TEST_F(MovementDialogTest, ForegroundButtonsStepTheCameraAdjustments) {
    const struct Case {
        Button button;
        MovementIncrement increment;
        int SceneParameters::*field;
        int change;
    } cases[] = {
        {Button::Closer, MovementIncrement::Medium, &SceneParameters::zoom, -5},
        {Button::Away, MovementIncrement::Coarse, &SceneParameters::zoom, 25},
        // Medium turns 5 steps of 2 degrees: 10 degrees a press.
        {Button::TurnLeft, MovementIncrement::Medium, &SceneParameters::turn, 5},
        {Button::TurnRight, MovementIncrement::Fine, &SceneParameters::turn, -1},
        {Button::TiltForward, MovementIncrement::Medium, &SceneParameters::tilt, 5},
        {Button::TiltBack, MovementIncrement::Medium, &SceneParameters::tilt, -5},
        {Button::ShiftLeft, MovementIncrement::Medium, &SceneParameters::shiftX, 5},
        {Button::ShiftRight, MovementIncrement::Medium, &SceneParameters::shiftX, -5},
        {Button::Up, MovementIncrement::Medium, &SceneParameters::shiftY, -5},
        {Button::Down, MovementIncrement::Fine, &SceneParameters::shiftY, 1},
    };
    for (const auto& c : cases) {
        live = SceneParameters{};
        auto dialog = open(TerrainPosition::Foreground);
        EXPECT_EQ(dialog.dialogId(), "IDD_VIEWPOINT");
        dialog.setIncrement(c.increment);
        SceneParameters expected = live;
        expected.*c.field += c.change;
        const int before = redraws;
        dialog.press(static_cast<int>(c.button));
        EXPECT_EQ(view(live), view(expected)) << static_cast<int>(c.button);
        EXPECT_EQ(redraws, before + 1) << static_cast<int>(c.button);
    }
}

TEST_F(MovementDialogTest, BackgroundButtonsWalkTurnTiltAndClimb) {
    const struct Case {
        Button button;
        double heading;
        double x, y, headingAfter;
        int tilt, altitude;
        int redraws;
    } cases[] = {
        {Button::Closer, 0, 100, 185, 0, 0, 500, 1},   // north: up the map, 5 × 3 pixels
        {Button::Closer, 90, 85, 200, 90, 0, 500, 1},  // west
        {Button::Away, 0, 100, 215, 0, 0, 500, 1},
        {Button::TurnLeft, 10, 100, 200, 15, 0, 500, 1},
        {Button::TurnRight, 10, 100, 200, 5, 0, 500, 1},
        {Button::TiltForward, 0, 100, 200, 0, 5, 500, 1},
        {Button::TiltBack, 0, 100, 200, 0, -5, 500, 1},
        {Button::Up, 0, 100, 200, 0, 0, 950, 1},
        {Button::Down, 0, 100, 200, 0, 0, 50, 1},
        {Button::ShiftLeft, 0, 100, 200, 0, 0, 500, 0},  // no translation in this dialog
        {Button::ShiftRight, 0, 100, 200, 0, 0, 500, 0},
    };
    for (const auto& c : cases) {
        live = SceneParameters{};
        live.observerPosition = {100.0, 200.0};
        live.observerAltitude = 500;
        live.heading = c.heading;
        live.zoom = live.tilt = 0;
        auto dialog = open(TerrainPosition::Background);
        EXPECT_EQ(dialog.climbMetres(), 90);
        redraws = 0;
        dialog.press(static_cast<int>(c.button));
        const int b = static_cast<int>(c.button);
        EXPECT_NEAR(live.observerPosition.x, c.x, 1e-6) << b;
        EXPECT_NEAR(live.observerPosition.y, c.y, 1e-6) << b;
        EXPECT_EQ(live.heading, c.headingAfter) << b;
        EXPECT_EQ(live.tilt, c.tilt) << b;
        EXPECT_EQ(live.observerAltitude, c.altitude) << b;
        EXPECT_EQ(live.zoom, 0) << b;
        EXPECT_EQ(redraws, c.redraws) << b;
    }
}

TEST_F(MovementDialogTest, CancelAfterSeveralMovesRestoresWithoutARedrawAndResetRedraws) {
    live.heading = 30;
    auto dialog = open(TerrainPosition::Background);
    EXPECT_EQ(dialog.title(), "Reposition Observer");
    const auto opened = view(live);
    dialog.setIncrement(MovementIncrement::Coarse);
    for (const Button button :
         {Button::TurnLeft, Button::Up, Button::TiltBack, Button::Down, Button::Up}) {
        dialog.press(static_cast<int>(button));
    }
    ASSERT_EQ(redraws, 5);
    ASSERT_NE(view(live), opened);
    dialog.restoreRemembered();
    EXPECT_EQ(view(live), opened);
    EXPECT_EQ(redraws, 5);

    dialog.press(static_cast<int>(Button::TiltForward));
    dialog.press(static_cast<int>(Button::Reset));
    EXPECT_EQ(view(live), opened);
    EXPECT_EQ(redraws, 7);
    EXPECT_EQ(live.movementIncrement, MovementIncrement::Medium);  // only OK stores it
}

TEST_F(MovementDialogTest, OkKeepsTheMovesStoresTheIncrementAndEndsTheNewScene) {
    auto dialog = open(TerrainPosition::Foreground);
    EXPECT_EQ(dialog.title(), "Rotate or Shift Scene");
    EXPECT_EQ(dialog.increment(), MovementIncrement::Medium);
    dialog.setIncrement(MovementIncrement::Fine);
    dialog.press(static_cast<int>(Button::Closer));
    ASSERT_TRUE(dialog.accept());
    EXPECT_EQ(live.zoom, 15);
    EXPECT_EQ(live.movementIncrement, MovementIncrement::Fine);
    EXPECT_FALSE(live.newScene);
    EXPECT_EQ(open(TerrainPosition::Foreground).increment(), MovementIncrement::Fine);
}

}  // namespace
}  // namespace tavrok::scene

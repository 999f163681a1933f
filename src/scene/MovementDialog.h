#pragma once
#include <functional>
#include <string_view>

#include "scene/MeshGeometry.h"
#include "scene/SceneParameters.h"
#include "support/DialogModel.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::scene {

// Buttons of the movement dialogs; both dialogs share the identifiers, their captions differ.
enum class MovementButton {
    Closer = 1177,       // Foreground "Move Closer", Background "Forward"
    Away = 1178,         // "Move Away" / "Back"
    TurnLeft = 1179,     // "Left": rotate the scene / look left
    TurnRight = 1180,    // "Right"
    TiltForward = 1181,  // "Tilt Forward" / look "Down"
    TiltBack = 1182,     // "Tilt Back" / look "Up"
    ShiftLeft = 1184,    // "Left" translation, Foreground only
    ShiftRight = 1185,   // "Right" translation, Foreground only
    Up = 1188,           // "Move Up" / position "Up"
    Down = 1189,         // "Move Down" / position "Down"
    Reset = 1165,        // back to the values of the opening
};

// "Rotate or Shift Scene" (Foreground) or "Reposition Observer" (Background), chosen by the
// terrain position when the dialog opens. It works on the live scene settings: every button
// changes them at once and asks for a redraw, so the scene follows while the dialog is open.
class MovementDialog : public support::DialogModel {
  public:
    // Remembers shiftX, shiftY, zoom, tilt, turn, observerAltitude and heading for Reset and
    // Cancel. `live`, `geometry` and `header` must outlive the dialog.
    MovementDialog(SceneParameters& live, const MeshGeometry& geometry,
                   const terrain::TerrainHeader& header, std::function<void()> redraw);

    std::string_view dialogId() const override;
    std::string_view title() const override;
    TerrainPosition position() const { return m_position; }

    // One button press (MovementButton values) with the chosen increment i (25, 5 or 1), then
    // a redraw. Foreground: zoom, turn (steps of 2 degrees), tilt and shifts move by i.
    // Background: the observer walks i × meshStep overhead pixels along the heading, turns
    // the heading or tilts by i degrees, and climbs by a hundredth of half the mesh width on
    // the ground (metres) times i. Unknown identifiers and the translation buttons in
    // Background do nothing.
    void press(int buttonId);

    MovementIncrement increment() const { return m_increment; }
    void setIncrement(MovementIncrement increment) { m_increment = increment; }

    // Keeps the values, stores the increment for the next opening and clears newScene.
    // Never fails.
    support::Status accept() override;
    // Cancel: back to the values remembered on opening, without a redraw (the last frame stays
    // on screen until the next one).
    void restoreRemembered();

    // Metres the Background observer climbs per unit of increment.
    int climbMetres() const { return m_climbMetres; }

  private:
    struct Adjustments {
        int shiftX;
        int shiftY;
        int zoom;
        int tilt;
        int turn;
        int observerAltitude;
        double heading;
    };

    bool moveForeground(MovementButton button, int increment);
    bool moveBackground(MovementButton button, int increment);
    void walk(int increment);

    SceneParameters& m_live;
    std::function<void()> m_redraw;
    TerrainPosition m_position;
    MovementIncrement m_increment;
    double m_stepPixels;
    int m_climbMetres;
    Adjustments m_remembered;
};

}  // namespace tavrok::scene

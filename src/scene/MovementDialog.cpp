#include "scene/MovementDialog.h"

#include <cmath>

#include "support/Units.h"

namespace tavrok::scene {

MovementDialog::MovementDialog(SceneParameters& live, const MeshGeometry& geometry,
                               const terrain::TerrainHeader& header, std::function<void()> redraw)
    : m_live(live),
      m_redraw(std::move(redraw)),
      m_position(live.terrainPosition),
      m_increment(live.movementIncrement),
      m_stepPixels(geometry.meshStep),
      m_climbMetres(static_cast<int>(static_cast<double>(geometry.meshSize) * geometry.meshStep *
                                     header.spacingX * header.metresPerUnitX / 200.0)),
      m_remembered{live.shiftX, live.shiftY,           live.zoom,   live.tilt,
                   live.turn,   live.observerAltitude, live.heading} {}

std::string_view MovementDialog::dialogId() const {
    return m_position == TerrainPosition::Foreground ? "IDD_VIEWPOINT" : "IDD_OBSERVER";
}

std::string_view MovementDialog::title() const {
    return m_position == TerrainPosition::Foreground ? "Rotate or Shift Scene"
                                                     : "Reposition Observer";
}

void MovementDialog::press(int buttonId) {
    const auto button = static_cast<MovementButton>(buttonId);
    if (button == MovementButton::Reset) {
        restoreRemembered();
        m_redraw();
        return;
    }
    const int step = incrementStep(m_increment);
    const bool moved = m_position == TerrainPosition::Foreground ? moveForeground(button, step)
                                                                 : moveBackground(button, step);
    if (moved) {
        m_redraw();
    }
}

// Each Foreground button moves one camera adjustment up or down by the increment.
bool MovementDialog::moveForeground(MovementButton button, int increment) {
    struct Step {
        MovementButton button;
        int SceneParameters::*adjustment;
        int sign;
    };
    using enum MovementButton;
    static constexpr Step steps[] = {
        {Closer, &SceneParameters::zoom, -1},      {Away, &SceneParameters::zoom, +1},
        {TurnLeft, &SceneParameters::turn, +1},    {TurnRight, &SceneParameters::turn, -1},
        {TiltForward, &SceneParameters::tilt, +1}, {TiltBack, &SceneParameters::tilt, -1},
        {ShiftLeft, &SceneParameters::shiftX, +1}, {ShiftRight, &SceneParameters::shiftX, -1},
        {Up, &SceneParameters::shiftY, -1},        {Down, &SceneParameters::shiftY, +1},
    };
    for (const Step& step : steps) {
        if (step.button == button) {
            m_live.*step.adjustment += step.sign * increment;
            return true;
        }
    }
    return false;
}

bool MovementDialog::moveBackground(MovementButton button, int increment) {
    switch (button) {
        case MovementButton::Closer:
            walk(increment);
            return true;
        case MovementButton::Away:
            walk(-increment);
            return true;
        case MovementButton::TurnLeft:
            m_live.heading += increment;
            return true;
        case MovementButton::TurnRight:
            m_live.heading -= increment;
            return true;
        case MovementButton::TiltForward:
            m_live.tilt += increment;
            return true;
        case MovementButton::TiltBack:
            m_live.tilt -= increment;
            return true;
        case MovementButton::Up:
            m_live.observerAltitude += m_climbMetres * increment;
            return true;
        case MovementButton::Down:
            m_live.observerAltitude -= m_climbMetres * increment;
            return true;
        default:
            return false;
    }
}

// Map y grows downward, so facing north (heading 0) a step forward lowers y.
void MovementDialog::walk(int increment) {
    const double heading = m_live.heading / support::degreesPerRadian;
    const double distance = increment * m_stepPixels;
    m_live.observerPosition.x -= std::sin(heading) * distance;
    m_live.observerPosition.y -= std::cos(heading) * distance;
}

support::Status MovementDialog::accept() {
    m_live.movementIncrement = m_increment;
    m_live.newScene = false;
    return support::success();
}

void MovementDialog::restoreRemembered() {
    m_live.shiftX = m_remembered.shiftX;
    m_live.shiftY = m_remembered.shiftY;
    m_live.zoom = m_remembered.zoom;
    m_live.tilt = m_remembered.tilt;
    m_live.turn = m_remembered.turn;
    m_live.observerAltitude = m_remembered.observerAltitude;
    m_live.heading = m_remembered.heading;
}

}  // namespace tavrok::scene

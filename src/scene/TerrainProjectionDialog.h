#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "colour/ColorScale.h"
#include "scene/MeshGeometry.h"
#include "scene/SceneParameters.h"
#include "support/DialogModel.h"

namespace tavrok::scene {

// Button identifiers of the terrain types, their stored form in the dialog.
inline constexpr int mountainPlainButton = 1267;
inline constexpr int islandOceanButton = 1270;
inline constexpr int lowlandsButton = 1271;

// "Terrain Projection Parameters": the legend, vertical magnification and light of the scene,
// its colour mode, image size, terrain position, mesh resolution and terrain type, the sea
// level, and the Background observer's altitude on a slider.
//
// The radio choices and the altitude go straight into `parameters` and `scale` (both are
// copies the caller takes back only after OK); the text boxes are read by accept().
class TerrainProjectionDialog : public support::DialogModel {
  public:
    // `limits`: the observer altitude range and slider step of the coming scene (metres);
    // `lowMemory`: the machine cannot take the Max resolution, so neither choice is offered.
    // A new scene starts the observer at the highest multiple of the step within the maximum,
    // and a 480x360 image grows to 640x480.
    TerrainProjectionDialog(const SceneParameters& parameters, const colour::ScaleSettings& scale,
                            const AltitudeLimits& limits, bool lowMemory);

    std::string_view dialogId() const override { return "IDD_TERRAIN"; }
    std::string_view title() const override { return "Terrain Projection Parameters"; }
    // Reads the text boxes (the legend up to 80 characters; the numbers from their first five
    // characters, a non-number reading 0; the sea level only for a terrain type with sea) and,
    // for a new scene, resets the camera adjustments of the chosen position. Never fails.
    support::Status accept() override;

    // What the text boxes hold.
    std::string legend;
    std::string magnificationText;  // percent
    std::string azimuthText;        // degrees
    std::string elevationText;      // degrees
    std::string seaLevelText;       // signed elevation units; blank for Mountain/Plain

    // Side-by-side pairs are always 480x360 per eye: choosing S/S selects that size and greys
    // the others; Color or R/B offer them again.
    void chooseColorMode(ColorMode mode);
    // Ignored for a greyed size.
    void chooseProjectionSize(ProjectionSize size);
    bool sizeEnabled(ProjectionSize size) const;
    // Marks the scene new and shows or greys the altitude slider for the position.
    void chooseTerrainPosition(TerrainPosition position);
    // Ignored on a low-memory machine, where neither resolution is selected.
    void chooseResolution(MeshResolution resolution);
    bool resolutionEnabled() const { return !m_lowMemory; }
    std::optional<MeshResolution> resolutionChoice() const;
    // Fills the sea-level box with the stored level when it becomes enabled, blanks it for
    // Mountain/Plain.
    void chooseTerrainType(colour::TerrainType type);
    bool seaLevelEnabled() const;

    // The altitude slider and its box: enabled in Background only. The slider runs from 0 to
    // maximum / step and sits at observerAltitude / step; the box shows the altitude in metres
    // (blank in Foreground).
    bool altitudeEnabled() const;
    int sliderMaximum() const;
    int sliderPosition() const;
    std::string altitudeText() const;
    // Line (±1) and page (±10) moves of the slider, in steps: the altitude moves by
    // steps × step, is rounded down to a multiple of the step and kept within minimum .. maximum.
    void stepAltitude(int steps);
    // Dragging to a slider position: position × step, rounded down, kept within 0 .. maximum.
    void dragAltitude(int position);

    const AltitudeLimits& limits() const { return m_limits; }

    SceneParameters parameters;
    colour::ScaleSettings scale;

  private:
    void setAltitude(int metres, int lowest);

    AltitudeLimits m_limits;
    bool m_lowMemory;
};

// The terrain type a dialog button stands for, and back.
int terrainTypeButton(colour::TerrainType type);
std::optional<colour::TerrainType> terrainTypeForButton(int buttonId);

// The whole number that starts the first `width` characters of a text box: optional leading
// blanks and sign, then decimal digits up to the first other character; 0 when there is none.
int leadingInteger(std::string_view text, std::size_t width = 5);

}  // namespace tavrok::scene

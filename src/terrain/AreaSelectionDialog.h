#pragma once
#include <optional>
#include <string_view>

#include "support/DialogModel.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::terrain {

// "Area Selection": the centre and width of a square area picked on an equirectangular world
// map (720 × 360 pixels, shown stretched to the picture's size). The Earth variant takes
// widths of 12 to 36 degrees from a scroll bar; the Mars variant 30 or 60 degrees from two
// buttons and shows longitudes from 0 to 360.
class AreaSelectionDialog : public support::DialogModel {
  public:
    enum class Planet { Earth, Mars };

    AreaSelectionDialog(Planet planet, int rememberedWidthDegrees, int pictureWidth,
                        int pictureHeight);

    std::string_view dialogId() const override { return "IDD_GEOCOORD"; }
    std::string_view title() const override { return "Area Selection"; }
    // Rounds an odd width up to the next even number.
    support::Status accept() override;

    Planet planet() const { return m_planet; }
    int pictureWidth() const { return m_pictureWidth; }
    int pictureHeight() const { return m_pictureHeight; }

    // Width in whole degrees; the scroll bar clamps to 12 .. 36 (Earth). Mars: 30 or 60.
    int widthDegrees() const { return m_width; }
    void setWidthDegrees(int width);
    void scrollLine(int direction) { setWidthDegrees(m_width + direction); }
    void scrollPage(int direction) { setWidthDegrees(m_width + 2 * direction); }

    ProjectionKind projection = ProjectionKind::Sinusoidal;  // LatLon or Sinusoidal

    // The position under a picture pixel, truncated toward zero and clamped to ±90 and ±180
    // (0 .. 360 for Mars); empty outside the picture.
    struct Position {
        int latitude;
        int longitude;
    };
    std::optional<Position> positionAt(int x, int y) const;
    // Left button down or a drag: the point under the mouse becomes the centre.
    void selectAt(int x, int y);
    int centreLatitude() const { return m_centreLatitude; }
    int centreLongitude() const { return m_centreLongitude; }  // shown value (Mars: 0 .. 360)

    // The area rectangle in picture pixels, centred on the selection but kept inside.
    struct Rectangle {
        int left;
        int top;
        int width;
        int height;
    };
    Rectangle areaRectangle() const;

  private:
    Planet m_planet;
    int m_pictureWidth;
    int m_pictureHeight;
    int m_width;
    int m_centreLatitude = 0;
    int m_centreLongitude = 0;
};

}  // namespace tavrok::terrain

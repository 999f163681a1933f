#pragma once
#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "overhead/MapMapping.h"
#include "support/RgbImage.h"

namespace tavrok::shell {

// The mouse work on the overhead map. One tool is current at a time; Readout is the default,
// and its right button draws a profile line.
enum class MapTool {
    Readout,
    SelectArea,
    PatchArea,
    SceneMarker,
    GpsPointsByMouse,
    OverlayReferencePoints,
    OverlayCropMarkers,
};

enum class MouseButton { Left, Right };

// One input the map widget forwards. Positions are overhead-image pixels (x right, y down),
// the centring offset and the scroll position already removed.
struct MapEvent {
    enum class Kind { Press, Move, Release, Enter, Escape, Scrolled };
    Kind kind = Kind::Move;
    MouseButton button = MouseButton::Left;
    overhead::MapPoint position;

    static MapEvent press(MouseButton button, double x, double y) {
        return {Kind::Press, button, {x, y}};
    }
    static MapEvent move(double x, double y) { return {Kind::Move, MouseButton::Left, {x, y}}; }
    static MapEvent release(MouseButton button, double x, double y) {
        return {Kind::Release, button, {x, y}};
    }
    static MapEvent key(Kind kind) { return {kind, MouseButton::Left, {}}; }
};

// A rectangle the user dragged, normalised, in image pixels (left ≤ right, top ≤ bottom).
struct PixelRectangle {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    friend bool operator==(const PixelRectangle&, const PixelRectangle&) = default;
};

// A rectangle on the grid in fractional cells: west ≤ east, south ≤ north.
struct GridRectangle {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;

    friend bool operator==(const GridRectangle&, const GridRectangle&) = default;
};

// Results a tool hands to the command layer when it finishes.
struct SelectedArea {
    GridRectangle area;
    PixelRectangle pixels;
};
struct PatchArea {
    GridRectangle area;
    PixelRectangle pixels;
};
// Where the scene's observer stands and how big and which way the scene square is.
struct ScenePlacement {
    overhead::GridPoint observer;
    overhead::MapPoint observerPixel;
    int matrixSize = 0;         // N: cells per side of the scene square, odd
    double areaFactor = 1.0;    // the square is 128 × areaFactor pixels wide on the map
    double headingDegrees = 0;  // 0 = up (north), counter-clockwise
};
struct GpsPointsEntered {
    std::vector<overhead::GridPoint> points;
};
// The two reference points on the displayed overlay as fractions of the image width and height,
// x from the left and y from the bottom.
struct ReferencePoints {
    std::array<overhead::MapPoint, 2> fractions;
};
// The overlay crop rectangle as marked, in image pixels; not normalised, so that an inverted
// rectangle can be refused.
struct CropMarkers {
    PixelRectangle pixels;
};
struct ProfileLine {
    overhead::GridPoint start;
    overhead::GridPoint end;
};
using MapToolResult = std::variant<SelectedArea, PatchArea, ScenePlacement, GpsPointsEntered,
                                   ReferencePoints, CropMarkers, ProfileLine>;

// What a handled event asks of the widget and the command layer.
struct MapToolOutcome {
    bool redraw = false;                  // the drawing changed
    bool cancelled = false;               // Escape ended the tool
    std::optional<MapToolResult> result;  // the tool finished (or placed something)
};

// The colours of the drawing.
inline constexpr support::Rgb rubberBandColour{200, 50, 0};
inline constexpr support::Rgb markerColour{255, 0, 0};
inline constexpr support::Rgb secondMarkerColour{0, 0, 255};

struct PointMarker {
    overhead::MapPoint position;
    support::Rgb colour;
};
struct PixelLine {
    overhead::MapPoint from;
    overhead::MapPoint to;
};
// The scene square's corners in order around it, its two draggable corner handles and the
// observer, all in image pixels.
struct SceneMarkerShape {
    std::array<overhead::MapPoint, 4> corners;
    std::array<overhead::MapPoint, 2> handles;
    overhead::MapPoint observer;
};

// What the widget draws over the map, in image pixels.
struct MapDrawing {
    std::optional<PixelRectangle> rubberBand;  // outline, solid, 1 pixel, rubberBandColour
    std::optional<SceneMarkerShape> sceneMarker;
    std::vector<PointMarker> points;
    std::optional<PixelLine> profileLine;
    std::string prompt;  // white on black, centred near the top of the window; empty for none
};

// The scene marker's settings when its tool starts.
struct SceneMarkerStart {
    overhead::MapPoint observer;
    double areaFactor = 1.0;
    double headingDegrees = 0;
    int meshStep = 1;  // grid cells between mesh vertices, ≥ 1
};

// The state machine of the map tools. It knows nothing of widgets: the widget feeds it events
// with the current mapping, draws `drawing()` and hands results to the command layer.
class MapTools {
  public:
    // Makes `tool` current, dropping whatever the previous tool held. The overlay crop markers
    // start at the corners of the image the mapping describes.
    void start(MapTool tool, const overhead::MapMapping& mapping = {});
    void startSceneMarker(const SceneMarkerStart& marker);
    // Back to the readout without a result.
    void cancel();

    MapTool current() const { return m_tool; }
    // The left button is down and something follows the mouse.
    bool dragging() const { return m_drag != Drag::None; }

    MapToolOutcome handle(const MapEvent& event, const overhead::MapMapping& mapping);
    MapDrawing drawing(const overhead::MapMapping& mapping) const;

    // Mouse entry keeps at most this many points.
    static constexpr std::size_t maximumGpsPoints = 2000;
    // Handles and markers are grabbed within this many pixels in x and in y.
    static constexpr double grabRadius = 20;
    // The handles lie this many pixels per area factor from the square's centre (128 / √2).
    static constexpr double handleDistance = 90.496;

  private:
    enum class Drag { None, Rectangle, Profile, Observer, Handle0, Handle1, CropMarker };

    MapToolOutcome handleSelection(const MapEvent& event, const overhead::MapMapping& mapping);
    MapToolOutcome handleProfile(const MapEvent& event, const overhead::MapMapping& mapping);
    MapToolOutcome handleSceneMarker(const MapEvent& event, const overhead::MapMapping& mapping);
    MapToolOutcome handleGpsPoints(const MapEvent& event, const overhead::MapMapping& mapping);
    MapToolOutcome handleReferencePoints(const MapEvent& event,
                                         const overhead::MapMapping& mapping);
    MapToolOutcome handleCropMarkers(const MapEvent& event, const overhead::MapMapping& mapping);
    MapToolOutcome finish(MapToolResult result);
    int sceneMatrixSize(float zoom) const;
    ScenePlacement scenePlacement(const overhead::MapMapping& mapping) const;
    overhead::MapPoint sceneCentre(float zoom) const;
    SceneMarkerShape sceneShape(float zoom) const;
    std::array<overhead::MapPoint, 4> cropCorners() const;

    MapTool m_tool = MapTool::Readout;
    Drag m_drag = Drag::None;
    // Selection: where the button went down and where the mouse is.
    overhead::MapPoint m_corner1;
    overhead::MapPoint m_corner2;
    bool m_hasRectangle = false;
    // Profile line: start and current end while the right button is down.
    overhead::MapPoint m_lineStart;
    overhead::MapPoint m_lineEnd;
    // Scene marker.
    SceneMarkerStart m_scene;
    // GPS points and overlay reference points, in image pixels.
    std::vector<overhead::MapPoint> m_points;
    std::size_t m_nextReference = 0;
    // Overlay crop: the upper-left and lower-right markers; the other two share their
    // coordinates. m_cropMarker is the one being dragged (0 .. 3, clockwise from upper left).
    overhead::MapPoint m_cropTopLeft;
    overhead::MapPoint m_cropBottomRight;
    int m_cropMarker = 0;
};

// The normalised rectangle with corners a and b.
PixelRectangle normalised(overhead::MapPoint a, overhead::MapPoint b);
// The grid rectangle under a pixel rectangle: west and east from its left and right edges,
// north from its top and south from its bottom.
GridRectangle gridRectangle(const PixelRectangle& pixels, const overhead::MapMapping& mapping);

}  // namespace tavrok::shell

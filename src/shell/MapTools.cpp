#include "shell/MapTools.h"
#include "support/Units.h"

#include <algorithm>
#include <cmath>

namespace tavrok::shell {

using overhead::GridPoint;
using overhead::MapMapping;
using overhead::MapPoint;

namespace {

using support::degreesPerRadian;

bool isPress(const MapEvent& event, MouseButton button) {
    return event.kind == MapEvent::Kind::Press && event.button == button;
}

bool isRelease(const MapEvent& event, MouseButton button) {
    return event.kind == MapEvent::Kind::Release && event.button == button;
}

bool withinGrab(MapPoint a, MapPoint b) {
    return std::abs(a.x - b.x) < MapTools::grabRadius && std::abs(a.y - b.y) < MapTools::grabRadius;
}

MapPoint offset(MapPoint from, double distance, double angleRadians) {
    return {from.x + distance * std::cos(angleRadians), from.y + distance * std::sin(angleRadians)};
}

}  // namespace

PixelRectangle normalised(MapPoint a, MapPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

GridRectangle gridRectangle(const PixelRectangle& pixels, const MapMapping& mapping) {
    const GridPoint northWest = mapping.gridPoint({pixels.left, pixels.top});
    const GridPoint southEast = mapping.gridPoint({pixels.right, pixels.bottom});
    return {northWest.column, southEast.row, southEast.column, northWest.row};
}

void MapTools::start(MapTool tool, const MapMapping& mapping) {
    *this = MapTools{};
    m_tool = tool;
    m_cropTopLeft = {0, 0};
    m_cropBottomRight = mapping.clampToImage(
        {static_cast<double>(mapping.imageWidth() - 1), mapping.imageHeight() - 1.0});
}

void MapTools::startSceneMarker(const SceneMarkerStart& marker) {
    start(MapTool::SceneMarker);
    m_scene = marker;
    m_scene.meshStep = std::max(marker.meshStep, 1);
}

void MapTools::cancel() {
    *this = MapTools{};
}

MapToolOutcome MapTools::finish(MapToolResult result) {
    // A profile line drawn beside the scene marker leaves the marker where it is.
    const bool keepMarker = m_tool == MapTool::SceneMarker;
    const SceneMarkerStart marker = m_scene;
    cancel();
    if (keepMarker) {
        m_tool = MapTool::SceneMarker;
        m_scene = marker;
    }
    MapToolOutcome outcome;
    outcome.redraw = true;
    outcome.result = std::move(result);
    return outcome;
}

MapToolOutcome MapTools::handle(const MapEvent& event, const MapMapping& mapping) {
    if (event.kind == MapEvent::Kind::Scrolled) {
        const MapDrawing drawn = drawing(mapping);
        return {drawn.rubberBand || drawn.sceneMarker || !drawn.points.empty() ||
                    drawn.profileLine || !drawn.prompt.empty(),
                false,
                {}};
    }
    if (event.kind == MapEvent::Kind::Escape && m_tool == MapTool::SceneMarker) {
        // The marker belongs to the map; Escape only drops a drag in progress.
        const bool dragging = m_drag != Drag::None;
        m_drag = Drag::None;
        return {dragging, false, {}};
    }
    if (event.kind == MapEvent::Kind::Escape) {
        const bool active = m_tool != MapTool::Readout || m_drag != Drag::None;
        cancel();
        return {active, active, {}};
    }
    switch (m_tool) {
        case MapTool::Readout:
            return handleProfile(event, mapping);
        case MapTool::SelectArea:
        case MapTool::PatchArea:
            return handleSelection(event, mapping);
        case MapTool::SceneMarker:
            // The right button still draws profile lines beside the marker.
            if (event.button == MouseButton::Right || m_drag == Drag::Profile) {
                return handleProfile(event, mapping);
            }
            return handleSceneMarker(event, mapping);
        case MapTool::GpsPointsByMouse:
            return handleGpsPoints(event, mapping);
        case MapTool::OverlayReferencePoints:
            return handleReferencePoints(event, mapping);
        case MapTool::OverlayCropMarkers:
            return handleCropMarkers(event, mapping);
    }
    return {};
}

// The left button drags a rectangle; a new press while it is down is ignored, and the
// rectangle stays after the release until Enter confirms it.
MapToolOutcome MapTools::handleSelection(const MapEvent& event, const MapMapping& mapping) {
    const MapPoint position = mapping.clampToImage(event.position);
    if (isPress(event, MouseButton::Left) && m_drag == Drag::None) {
        m_corner1 = m_corner2 = position;
        m_hasRectangle = true;
        m_drag = Drag::Rectangle;
        return {true, false, {}};
    }
    if (m_drag == Drag::Rectangle && event.kind == MapEvent::Kind::Move) {
        m_corner2 = position;
        return {true, false, {}};
    }
    if (m_drag == Drag::Rectangle && isRelease(event, MouseButton::Left)) {
        m_drag = Drag::None;
        return {};
    }
    if (event.kind == MapEvent::Kind::Enter && m_hasRectangle) {
        const PixelRectangle pixels = normalised(m_corner1, m_corner2);
        const GridRectangle area = gridRectangle(pixels, mapping);
        if (m_tool == MapTool::PatchArea) {
            return finish(PatchArea{area, pixels});
        }
        return finish(SelectedArea{area, pixels});
    }
    return {};
}

// The right button draws a line from where it went down to the mouse; its release gives the
// line's two ends on the grid.
MapToolOutcome MapTools::handleProfile(const MapEvent& event, const MapMapping& mapping) {
    const MapPoint position = mapping.clampToImage(event.position);
    if (isPress(event, MouseButton::Right) && m_drag == Drag::None) {
        m_lineStart = m_lineEnd = position;
        m_drag = Drag::Profile;
        return {true, false, {}};
    }
    if (m_drag != Drag::Profile) {
        return {};
    }
    if (event.kind == MapEvent::Kind::Move) {
        m_lineEnd = position;
        return {true, false, {}};
    }
    if (isRelease(event, MouseButton::Right)) {
        m_lineEnd = position;
        return finish(ProfileLine{mapping.gridPoint(m_lineStart), mapping.gridPoint(m_lineEnd)});
    }
    return {};
}

// A press near one of the two far corner handles drags it: its distance from the square's
// centre sizes the square and its direction turns it. A press elsewhere places the observer.
// Each release reports the placement; the tool stays until Escape.
MapToolOutcome MapTools::handleSceneMarker(const MapEvent& event, const MapMapping& mapping) {
    const float zoom = mapping.zoom() > 0 ? mapping.zoom() : 1.0f;
    if (isPress(event, MouseButton::Left) && m_drag == Drag::None) {
        const SceneMarkerShape shape = sceneShape(zoom);
        if (withinGrab(event.position, shape.handles[0])) {
            m_drag = Drag::Handle0;
        } else if (withinGrab(event.position, shape.handles[1])) {
            m_drag = Drag::Handle1;
        } else {
            m_scene.observer = mapping.clampToImage(event.position);
            m_drag = Drag::Observer;
        }
        return {true, false, {}};
    }
    if (event.kind == MapEvent::Kind::Move && m_drag == Drag::Observer) {
        m_scene.observer = mapping.clampToImage(event.position);
        return {true, false, {}};
    }
    if (event.kind == MapEvent::Kind::Move &&
        (m_drag == Drag::Handle0 || m_drag == Drag::Handle1)) {
        const MapPoint centre = sceneCentre(zoom);
        const double dx = event.position.x - centre.x;
        const double dy = event.position.y - centre.y;
        m_scene.areaFactor = std::sqrt(dx * dx + dy * dy) / handleDistance;
        if (dx != 0) {
            m_scene.headingDegrees = m_drag == Drag::Handle0
                                         ? std::atan2(dy, -dx) * degreesPerRadian + 45
                                         : -std::atan2(dy, dx) * degreesPerRadian - 45;
        }
        return {true, false, {}};
    }
    if (event.kind == MapEvent::Kind::Release && m_drag != Drag::None) {
        m_drag = Drag::None;
        MapToolOutcome outcome{true, false, {}};
        outcome.result = scenePlacement(mapping);
        return outcome;
    }
    return {};
}

// Each left click adds a point, up to the limit; Enter hands the list over.
MapToolOutcome MapTools::handleGpsPoints(const MapEvent& event, const MapMapping& mapping) {
    if (isPress(event, MouseButton::Left) && mapping.containsPixel(event.position) &&
        m_points.size() < maximumGpsPoints) {
        m_points.push_back(event.position);
        return {true, false, {}};
    }
    if (event.kind == MapEvent::Kind::Enter) {
        GpsPointsEntered entered;
        for (const MapPoint& point : m_points) {
            entered.points.push_back(mapping.gridPoint(point));
        }
        return finish(std::move(entered));
    }
    return {};
}

// Clicks set point one and point two in turn; Enter with both set hands them over as
// fractions of the image.
MapToolOutcome MapTools::handleReferencePoints(const MapEvent& event, const MapMapping& mapping) {
    if (isPress(event, MouseButton::Left) && mapping.containsPixel(event.position)) {
        if (m_points.size() < 2) {
            m_points.push_back(event.position);
        } else {
            m_points[m_nextReference] = event.position;
        }
        m_nextReference = (m_nextReference + 1) % 2;
        return {true, false, {}};
    }
    if (event.kind == MapEvent::Kind::Enter && m_points.size() == 2 && mapping.imageWidth() > 0 &&
        mapping.imageHeight() > 0) {
        ReferencePoints reference;
        for (std::size_t i = 0; i < 2; ++i) {
            reference.fractions[i] = {
                m_points[i].x / mapping.imageWidth(),
                (mapping.imageHeight() - 1 - m_points[i].y) / mapping.imageHeight()};
        }
        return finish(reference);
    }
    return {};
}

// Four corner markers; dragging one moves the two edges it sits on. Enter hands over the
// rectangle as marked, even when it is inverted.
MapToolOutcome MapTools::handleCropMarkers(const MapEvent& event, const MapMapping& mapping) {
    if (isPress(event, MouseButton::Left) && m_drag == Drag::None) {
        const auto corners = cropCorners();
        for (int i = 0; i < 4; ++i) {
            if (withinGrab(event.position, corners[i])) {
                m_cropMarker = i;
                m_drag = Drag::CropMarker;
                return {};
            }
        }
        return {};
    }
    if (event.kind == MapEvent::Kind::Move && m_drag == Drag::CropMarker) {
        const MapPoint position = mapping.clampToImage(event.position);
        const bool left = m_cropMarker == 0 || m_cropMarker == 3;
        const bool top = m_cropMarker == 0 || m_cropMarker == 1;
        (left ? m_cropTopLeft.x : m_cropBottomRight.x) = position.x;
        (top ? m_cropTopLeft.y : m_cropBottomRight.y) = position.y;
        return {true, false, {}};
    }
    if (isRelease(event, MouseButton::Left)) {
        m_drag = Drag::None;
        return {};
    }
    if (event.kind == MapEvent::Kind::Enter) {
        return finish(CropMarkers{
            {m_cropTopLeft.x, m_cropTopLeft.y, m_cropBottomRight.x, m_cropBottomRight.y}});
    }
    return {};
}

// Upper left, upper right, lower right, lower left.
std::array<MapPoint, 4> MapTools::cropCorners() const {
    return {m_cropTopLeft,
            {m_cropBottomRight.x, m_cropTopLeft.y},
            m_cropBottomRight,
            {m_cropTopLeft.x, m_cropBottomRight.y}};
}

// N = trunc(128 × areaFactor / (meshStep × zoom)), made odd.
int MapTools::sceneMatrixSize(float zoom) const {
    const int n = static_cast<int>(128 * m_scene.areaFactor / (m_scene.meshStep * zoom));
    return n - n % 2 + 1;
}

// Half a mesh width ahead of the observer; heading 0 faces up the map.
MapPoint MapTools::sceneCentre(float zoom) const {
    const double ahead = sceneMatrixSize(zoom) * m_scene.meshStep * zoom / 2.0;
    const double heading = m_scene.headingDegrees / degreesPerRadian;
    return {m_scene.observer.x - ahead * std::sin(heading),
            m_scene.observer.y - ahead * std::cos(heading)};
}

// The two handles are the far corners: up-left and up-right of the centre at heading 0,
// turning counter-clockwise with the heading.
SceneMarkerShape MapTools::sceneShape(float zoom) const {
    const MapPoint centre = sceneCentre(zoom);
    const double radius = handleDistance * m_scene.areaFactor;
    const double heading = m_scene.headingDegrees / degreesPerRadian;
    const double quarter = 90 / degreesPerRadian;
    // Screen angles (y down) of the corners: the first handle sits at 225° − heading.
    const double first = 225 / degreesPerRadian - heading;
    SceneMarkerShape shape;
    for (int i = 0; i < 4; ++i) {
        shape.corners[i] = offset(centre, radius, first + i * quarter);
    }
    shape.handles = {shape.corners[0], shape.corners[1]};
    shape.observer = m_scene.observer;
    return shape;
}

ScenePlacement MapTools::scenePlacement(const MapMapping& mapping) const {
    const float zoom = mapping.zoom() > 0 ? mapping.zoom() : 1.0f;
    ScenePlacement placement;
    placement.observer = mapping.gridPoint(m_scene.observer);
    placement.observerPixel = m_scene.observer;
    placement.matrixSize = sceneMatrixSize(zoom);
    placement.areaFactor = m_scene.areaFactor;
    placement.headingDegrees = m_scene.headingDegrees;
    return placement;
}

MapDrawing MapTools::drawing(const MapMapping& mapping) const {
    MapDrawing drawn;
    if (m_drag == Drag::Profile) {
        drawn.profileLine = PixelLine{m_lineStart, m_lineEnd};
    }
    switch (m_tool) {
        case MapTool::Readout:
            break;
        case MapTool::SelectArea:
        case MapTool::PatchArea:
            drawn.prompt = m_tool == MapTool::SelectArea
                               ? "Select Smaller Area With Mouse and Press 'Enter'"
                               : "Select Area To Patch With Mouse and Press 'Enter'";
            if (m_hasRectangle) {
                drawn.rubberBand = normalised(m_corner1, m_corner2);
            }
            break;
        case MapTool::SceneMarker:
            drawn.sceneMarker = sceneShape(mapping.zoom() > 0 ? mapping.zoom() : 1.0f);
            break;
        case MapTool::GpsPointsByMouse:
            for (const MapPoint& point : m_points) {
                drawn.points.push_back({point, markerColour});
            }
            break;
        case MapTool::OverlayReferencePoints:
            for (std::size_t i = 0; i < m_points.size(); ++i) {
                drawn.points.push_back({m_points[i], i == 0 ? markerColour : secondMarkerColour});
            }
            break;
        case MapTool::OverlayCropMarkers:
            for (const MapPoint& corner : cropCorners()) {
                drawn.points.push_back({corner, markerColour});
            }
            break;
    }
    return drawn;
}

}  // namespace tavrok::shell

#include "shell/MapTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace tavrok::shell {
namespace {

using Kind = MapEvent::Kind;
using overhead::MapMapping;
using overhead::MapPoint;

// Zoom 2 over a 100 × 50 grid: column = x / 2, row = (99 − y) / 2.
const MapMapping smallMap(2.0f, 200, 100, 100, 50);

MapEvent press(double x, double y) {
    return MapEvent::press(MouseButton::Left, x, y);
}
MapEvent release(double x, double y) {
    return MapEvent::release(MouseButton::Left, x, y);
}
MapEvent rightPress(double x, double y) {
    return MapEvent::press(MouseButton::Right, x, y);
}
MapEvent rightRelease(double x, double y) {
    return MapEvent::release(MouseButton::Right, x, y);
}
MapEvent move(double x, double y) {
    return MapEvent::move(x, y);
}
const MapEvent enter = MapEvent::key(Kind::Enter);
const MapEvent escape = MapEvent::key(Kind::Escape);
const MapEvent scrolled = MapEvent::key(Kind::Scrolled);

std::string numbers(std::initializer_list<double> values) {
    std::string text;
    for (const double value : values) {
        char item[32];
        std::snprintf(item, sizeof item, " %.4g", value);
        text += item;
    }
    return text;
}

// A result as text, so that a table can state what it expects.
std::string describe(const std::optional<MapToolResult>& result) {
    if (!result) {
        return "none";
    }
    struct Describer {
        std::string operator()(const SelectedArea& a) const {
            return "area" + numbers({a.area.west, a.area.south, a.area.east, a.area.north});
        }
        std::string operator()(const PatchArea& a) const {
            return "patch" + numbers({a.area.west, a.area.south, a.area.east, a.area.north});
        }
        std::string operator()(const ScenePlacement& p) const {
            return "scene" + numbers({p.observer.column, p.observer.row, p.matrixSize * 1.0,
                                      p.areaFactor, p.headingDegrees});
        }
        std::string operator()(const GpsPointsEntered& g) const {
            std::string text = "points";
            for (const auto& point : g.points) {
                text += numbers({point.column, point.row});
            }
            return text;
        }
        std::string operator()(const ReferencePoints& r) const {
            return "reference" + numbers({r.fractions[0].x, r.fractions[0].y, r.fractions[1].x,
                                          r.fractions[1].y});
        }
        std::string operator()(const CropMarkers& c) const {
            return "crop" + numbers({c.pixels.left, c.pixels.top, c.pixels.right, c.pixels.bottom});
        }
        std::string operator()(const ProfileLine& l) const {
            return "line" + numbers({l.start.column, l.start.row, l.end.column, l.end.row});
        }
    };
    return std::visit(Describer{}, *result);
}

std::string describe(const MapDrawing& drawn) {
    std::string text;
    if (drawn.rubberBand) {
        const auto& band = *drawn.rubberBand;
        text += "band" + numbers({band.left, band.top, band.right, band.bottom});
    }
    if (drawn.profileLine) {
        const auto& line = *drawn.profileLine;
        text += "line" + numbers({line.from.x, line.from.y, line.to.x, line.to.y});
    }
    for (const auto& point : drawn.points) {
        text += "point" + numbers({point.position.x, point.position.y});
    }
    return text.empty() ? "nothing" : text;
}

struct Sequence {
    const char* name;
    MapTool tool;
    std::vector<MapEvent> events;
    MapTool toolAfter;
    const char* drawingAfter;
    const char* lastResult;
    bool cancelled = false;
};

void runSequences(const std::vector<Sequence>& sequences, const MapMapping& mapping) {
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        MapTools tools;
        tools.start(sequence.tool, mapping);
        std::optional<MapToolResult> lastResult;
        bool cancelled = false;
        for (const auto& event : sequence.events) {
            const MapToolOutcome outcome = tools.handle(event, mapping);
            if (outcome.result) {
                lastResult = outcome.result;
            }
            cancelled = cancelled || outcome.cancelled;
        }
        EXPECT_EQ(tools.current(), sequence.toolAfter);
        EXPECT_EQ(describe(tools.drawing(mapping)), sequence.drawingAfter);
        EXPECT_EQ(describe(lastResult), sequence.lastResult);
        EXPECT_EQ(cancelled, sequence.cancelled);
    }
}

TEST(MapTools, RubberBandSelectionsAndTheProfileLine) {
    const auto select = MapTool::SelectArea;
    const auto readout = MapTool::Readout;
    runSequences(
        {
            {"press, drag, release, Enter gives the area under the rectangle",
             select,
             {press(20, 10), move(60, 50), release(60, 50), enter},
             readout,
             "nothing",
             "area 10 24.5 30 44.5"},
            {"a rectangle dragged up and left is normalised",
             select,
             {press(60, 50), move(20, 10), release(20, 10), enter},
             readout,
             "nothing",
             "area 10 24.5 30 44.5"},
            {"press, drag, Escape gives nothing and returns to the readout",
             select,
             {press(20, 10), move(60, 50), escape},
             readout,
             "nothing",
             "none",
             true},
            {"a drag beyond the image is clamped to its edges",
             select,
             {press(150, 90), move(260, -30), release(260, -30), enter},
             readout,
             "nothing",
             "area 75 4.5 99.5 49.5"},
            {"the patch tool hands over a patch rectangle",
             MapTool::PatchArea,
             {press(0, 99), move(10, 89), release(10, 89), enter},
             readout,
             "nothing",
             "patch 0 0 5 5"},
            {"Enter before any rectangle does nothing", select, {enter}, select, "nothing", "none"},
            {"the rectangle stays after the release until Enter",
             select,
             {press(20, 10), move(60, 50), release(60, 50), move(100, 100)},
             select,
             "band 20 10 60 50",
             "none"},
            {"a second press while dragging is ignored",
             select,
             {press(20, 10), press(80, 80), move(60, 50)},
             select,
             "band 20 10 60 50",
             "none"},
            {"a new press after the release starts a new rectangle",
             select,
             {press(20, 10), move(60, 50), release(60, 50), press(5, 5), move(7, 8)},
             select,
             "band 5 5 7 8",
             "none"},
            {"the right button does not select",
             select,
             {rightPress(20, 10), move(60, 50)},
             select,
             "nothing",
             "none"},
            {"a right-button drag in the readout gives a profile line",
             readout,
             {rightPress(10, 99), move(30, 80), move(50, 59), rightRelease(50, 59)},
             readout,
             "nothing",
             "line 5 0 25 20"},
            {"the profile line follows the mouse while the button is down",
             readout,
             {rightPress(10, 99), move(50, 59)},
             readout,
             "line 10 99 50 59",
             "none"},
            {"Escape drops a profile line being drawn",
             readout,
             {rightPress(10, 99), move(50, 59), escape, rightRelease(50, 59)},
             readout,
             "nothing",
             "none",
             true},
            {"the left button in the readout draws nothing",
             readout,
             {press(10, 10), move(50, 50), release(50, 50)},
             readout,
             "nothing",
             "none"},
        },
        smallMap);
}

TEST(MapTools, PointsAndMarkers) {
    const MapMapping map(1.0f, 400, 300, 400, 300);
    runSequences(
        {
            {"each click adds a GPS point; clicks off the map are dropped",
             MapTool::GpsPointsByMouse,
             {press(10, 299), release(10, 299), press(500, 20), press(40, 0)},
             MapTool::GpsPointsByMouse,
             "point 10 299point 40 0",
             "none"},
            {"Enter hands the GPS points over in grid cells",
             MapTool::GpsPointsByMouse,
             {press(10, 299), press(40, 0), enter},
             MapTool::Readout,
             "nothing",
             "points 10 0 40 299"},
            {"a third reference click replaces point one",
             MapTool::OverlayReferencePoints,
             {press(100, 100), press(300, 200), press(0, 299), enter},
             MapTool::Readout,
             "nothing",
             "reference 0 0 0.75 0.33"},
            {"Enter with one reference point does nothing",
             MapTool::OverlayReferencePoints,
             {press(100, 100), enter},
             MapTool::OverlayReferencePoints,
             "point 100 100",
             "none"},
            {"dragging the lower-right crop marker moves two edges",
             MapTool::OverlayCropMarkers,
             {press(395, 295), move(300, 200), release(300, 200), enter},
             MapTool::Readout,
             "nothing",
             "crop 0 0 300 200"},
            {"a press away from the crop markers moves nothing",
             MapTool::OverlayCropMarkers,
             {press(200, 150), move(300, 200), release(300, 200)},
             MapTool::OverlayCropMarkers,
             "point 0 0point 399 0point 399 299point 0 299",
             "none"},
            {"an upper-left crop marker dragged past the lower-right one stays inverted",
             MapTool::OverlayCropMarkers,
             {press(5, 5), move(399, 299), release(399, 299), enter},
             MapTool::Readout,
             "nothing",
             "crop 399 299 399 299"},
        },
        map);
}

TEST(MapTools, GpsEntryStopsAtItsLimit) {
    MapTools tools;
    tools.start(MapTool::GpsPointsByMouse);
    for (std::size_t i = 0; i < MapTools::maximumGpsPoints + 5; ++i) {
        tools.handle(press(static_cast<double>(i % 200), 10), smallMap);
    }
    EXPECT_EQ(tools.drawing(smallMap).points.size(), MapTools::maximumGpsPoints);
}

TEST(MapTools, ScrollingRedrawsOnlyWhatIsDrawn) {
    MapTools tools;
    EXPECT_FALSE(tools.handle(scrolled, smallMap).redraw);
    tools.start(MapTool::SelectArea);
    EXPECT_TRUE(tools.handle(scrolled, smallMap).redraw);
    tools.handle(press(20, 10), smallMap);
    const MapToolOutcome outcome = tools.handle(scrolled, smallMap);
    EXPECT_TRUE(outcome.redraw);
    EXPECT_FALSE(outcome.result);
    EXPECT_EQ(describe(tools.drawing(smallMap)), "band 20 10 20 10");
}

TEST(MapTools, SelectionsShowTheirPrompt) {
    MapTools tools;
    tools.start(MapTool::SelectArea);
    EXPECT_EQ(tools.drawing(smallMap).prompt, "Select Smaller Area With Mouse and Press 'Enter'");
    tools.start(MapTool::PatchArea);
    EXPECT_EQ(tools.drawing(smallMap).prompt, "Select Area To Patch With Mouse and Press 'Enter'");
    tools.handle(escape, smallMap);
    EXPECT_EQ(tools.drawing(smallMap).prompt, "");
}

// Zoom 2, mesh step 1, area factor 1: N = trunc(128 / 2) = 64, made odd 65; the square's
// centre lies 65 pixels ahead of the observer at (200, 250), so at (200, 185), and its handles
// 90.496 pixels from it, up-left and up-right at heading 0.
const MapMapping sceneMap(2.0f, 400, 300, 200, 150);

MapTools sceneTools() {
    MapTools tools;
    tools.startSceneMarker({{200, 250}, 1.0, 0.0, 1});
    return tools;
}

TEST(MapTools, SceneMarkerHandlesAreTheFarCorners) {
    const MapTools tools = sceneTools();
    const auto marker = tools.drawing(sceneMap).sceneMarker;
    ASSERT_TRUE(marker);
    const double half = 90.496 / std::sqrt(2.0);
    EXPECT_NEAR(marker->handles[0].x, 200 - half, 1e-3);
    EXPECT_NEAR(marker->handles[0].y, 185 - half, 1e-3);
    EXPECT_NEAR(marker->handles[1].x, 200 + half, 1e-3);
    EXPECT_NEAR(marker->handles[1].y, 185 - half, 1e-3);
    EXPECT_NEAR(marker->corners[2].y, 185 + half, 1e-3);
    EXPECT_EQ(marker->observer, (MapPoint{200, 250}));
}

TEST(MapTools, SceneMarkerClicksAndHandleDrags) {
    const double grown = 100 / 90.496;  // a handle dragged 100 pixels from the centre
    const struct {
        const char* name;
        std::vector<MapEvent> events;
        std::string placement;
    } cases[] = {
        {"a click away from the handles places the observer",
         {press(50, 90), release(50, 90)},
         "scene 25 104.5 65 1 0"},
        {"the second handle dragged right turns the square to -45 degrees",
         {press(262, 122), move(300, 185), release(300, 185)},
         "scene 100 24.5 71" + numbers({grown, -45})},
        {"the first handle dragged left turns it to 45 degrees",
         {press(137, 122), move(100, 185), release(100, 185)},
         "scene 100 24.5 71" + numbers({grown, 45})},
        {"straight above the centre the heading stays",
         {press(137, 122), move(200, 85), release(200, 85)},
         "scene 100 24.5 71" + numbers({grown, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapTools tools = sceneTools();
        std::optional<MapToolResult> result;
        for (const auto& event : c.events) {
            if (auto outcome = tools.handle(event, sceneMap); outcome.result) {
                result = outcome.result;
            }
        }
        EXPECT_EQ(describe(result), c.placement);
        EXPECT_EQ(tools.current(), MapTool::SceneMarker);
    }
}

TEST(MapTools, EscapeLeavesTheSceneMarker) {
    MapTools tools = sceneTools();
    const MapToolOutcome outcome = tools.handle(escape, sceneMap);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(tools.current(), MapTool::Readout);
    EXPECT_FALSE(tools.drawing(sceneMap).sceneMarker);
}

}  // namespace
}  // namespace tavrok::shell

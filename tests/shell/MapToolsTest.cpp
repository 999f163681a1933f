#include "shell/MapTools.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace tavrok::shell {
namespace {

using Kind = MapEvent::Kind;
using overhead::MapMapping;
using overhead::MapPoint;

// Zoom 2 over a 100 × 50 grid: column = x / 2, row = (99 − y) / 2.
const MapMapping smallMap(2.0f, 200, 100, 100, 50);
const MapEvent escape = MapEvent::key(Kind::Escape);
const MapEvent scrolled = MapEvent::key(Kind::Scrolled);

MapEvent press(double x, double y) {
    return MapEvent::press(MouseButton::Left, x, y);
}

// Events written as a script: "L x,y" and "l x,y" press and release the left button, "R x,y"
// and "r x,y" the right one, "M x,y" moves, "E" is Enter, "X" Escape, "S" a scroll.
std::vector<MapEvent> script(const std::string& text) {
    std::vector<MapEvent> events;
    std::istringstream in(text);
    char code = 0;
    while (in >> code) {
        if (code == 'E' || code == 'X' || code == 'S') {
            events.push_back(MapEvent::key(code == 'E'   ? Kind::Enter
                                           : code == 'X' ? Kind::Escape
                                                         : Kind::Scrolled));
            continue;
        }
        MapEvent event;
        char comma = 0;
        in >> event.position.x >> comma >> event.position.y;
        event.kind = code == 'M' ? Kind::Move : std::isupper(code) ? Kind::Press : Kind::Release;
        event.button = std::tolower(code) == 'r' ? MouseButton::Right : MouseButton::Left;
        events.push_back(event);
    }
    return events;
}

constexpr const char* toolNames[] = {"readout", "select",    "patch", "scene",
                                     "gps",     "reference", "crop"};

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

// Runs the events and states the tool, the drawing and the last result as one line:
// "tool: drawing -> result", with " (cancelled)" when Escape ended a tool.
std::string run(MapTools& tools, const std::string& events, const MapMapping& mapping) {
    std::optional<MapToolResult> lastResult;
    bool cancelled = false;
    for (const auto& event : script(events)) {
        const MapToolOutcome outcome = tools.handle(event, mapping);
        if (outcome.result) {
            lastResult = outcome.result;
        }
        cancelled = cancelled || outcome.cancelled;
    }
    return std::string(toolNames[static_cast<int>(tools.current())]) + ": " +
           describe(tools.drawing(mapping)) + " -> " + describe(lastResult) +
           (cancelled ? " (cancelled)" : "");
}

struct Sequence {
    const char* name;
    MapTool tool;
    const char* events;
    const char* expected;
};

void runSequences(const std::vector<Sequence>& sequences, const MapMapping& mapping) {
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        MapTools tools;
        tools.start(sequence.tool, mapping);
        EXPECT_EQ(run(tools, sequence.events, mapping), sequence.expected);
    }
}

TEST(MapTools, RubberBandSelectionsAndTheProfileLine) {
    const auto select = MapTool::SelectArea;
    const auto readout = MapTool::Readout;
    runSequences(
        {
            {"press, drag, release, Enter gives the area under the rectangle", select,
             "L 20,10 M 60,50 l 60,50 E", "readout: nothing -> area 10 24.5 30 44.5"},
            {"a rectangle dragged up and left is normalised", select, "L 60,50 M 20,10 l 20,10 E",
             "readout: nothing -> area 10 24.5 30 44.5"},
            {"press, drag, Escape gives nothing and returns to the readout", select,
             "L 20,10 M 60,50 X", "readout: nothing -> none (cancelled)"},
            {"a drag beyond the image is clamped to its edges", select,
             "L 150,90 M 260,-30 l 260,-30 E", "readout: nothing -> area 75 4.5 99.5 49.5"},
            {"the patch tool hands over a patch rectangle", MapTool::PatchArea,
             "L 0,99 M 10,89 l 10,89 E", "readout: nothing -> patch 0 0 5 5"},
            {"Enter before any rectangle does nothing", select, "E", "select: nothing -> none"},
            {"the rectangle stays after the release until Enter", select,
             "L 20,10 M 60,50 l 60,50 M 100,100", "select: band 20 10 60 50 -> none"},
            {"a second press while dragging is ignored", select, "L 20,10 L 80,80 M 60,50",
             "select: band 20 10 60 50 -> none"},
            {"a new press after the release starts a new rectangle", select,
             "L 20,10 M 60,50 l 60,50 L 5,5 M 7,8", "select: band 5 5 7 8 -> none"},
            {"the right button does not select", select, "R 20,10 M 60,50",
             "select: nothing -> none"},
            {"a right-button drag in the readout gives a profile line", readout,
             "R 10,99 M 30,80 M 50,59 r 50,59", "readout: nothing -> line 5 0 25 20"},
            {"the profile line follows the mouse while the button is down", readout,
             "R 10,99 M 50,59", "readout: line 10 99 50 59 -> none"},
            {"Escape drops a profile line being drawn", readout, "R 10,99 M 50,59 X r 50,59",
             "readout: nothing -> none (cancelled)"},
            {"the left button in the readout draws nothing", readout, "L 10,10 M 50,50 l 50,50",
             "readout: nothing -> none"},
        },
        smallMap);
}

TEST(MapTools, PointsAndMarkers) {
    runSequences(
        {
            {"each click adds a GPS point; clicks off the map are dropped",
             MapTool::GpsPointsByMouse, "L 10,299 l 10,299 L 500,20 L 40,0",
             "gps: point 10 299point 40 0 -> none"},
            {"Enter hands the GPS points over in grid cells", MapTool::GpsPointsByMouse,
             "L 10,299 L 40,0 E", "readout: nothing -> points 10 0 40 299"},
            {"a third reference click replaces point one", MapTool::OverlayReferencePoints,
             "L 100,100 L 300,200 L 0,299 E", "readout: nothing -> reference 0 0 0.75 0.33"},
            {"Enter with one reference point does nothing", MapTool::OverlayReferencePoints,
             "L 100,100 E", "reference: point 100 100 -> none"},
            {"dragging the lower-right crop marker moves two edges", MapTool::OverlayCropMarkers,
             "L 395,295 M 300,200 l 300,200 E", "readout: nothing -> crop 0 0 300 200"},
            {"a press away from the crop markers moves nothing", MapTool::OverlayCropMarkers,
             "L 200,150 M 300,200 l 300,200",
             "crop: point 0 0point 399 0point 399 299point 0 299 -> none"},
            {"an upper-left crop marker dragged past the lower-right one stays inverted",
             MapTool::OverlayCropMarkers, "L 5,5 M 399,299 l 399,299 E",
             "readout: nothing -> crop 399 299 399 299"},
            {"Escape leaves any tool", MapTool::GpsPointsByMouse, "L 10,10 X",
             "readout: nothing -> none (cancelled)"},
        },
        MapMapping(1.0f, 400, 300, 400, 300));
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
    EXPECT_EQ(tools.drawing(smallMap).prompt, "Select Smaller Area With Mouse and Press 'Enter'");
    EXPECT_TRUE(tools.handle(scrolled, smallMap).redraw);
    EXPECT_EQ(run(tools, "L 20,10 S", smallMap), "select: band 20 10 20 10 -> none");
    tools.start(MapTool::PatchArea);
    EXPECT_EQ(tools.drawing(smallMap).prompt, "Select Area To Patch With Mouse and Press 'Enter'");
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
    const std::string grown = numbers({100 / 90.496});  // a handle 100 pixels from the centre
    const struct {
        const char* name;
        const char* events;
        std::string expected;
    } cases[] = {
        {"a click away from the handles places the observer", "L 50,90 l 50,90",
         "scene: nothing -> scene 25 104.5 65 1 0"},
        {"the second handle dragged right turns the square to -45 degrees",
         "L 262,122 M 300,185 l 300,185", "scene: nothing -> scene 100 24.5 71" + grown + " -45"},
        {"the first handle dragged left turns it to 45 degrees", "L 137,122 M 100,185 l 100,185",
         "scene: nothing -> scene 100 24.5 71" + grown + " 45"},
        {"straight above the centre the heading stays", "L 137,122 M 200,85 l 200,85",
         "scene: nothing -> scene 100 24.5 71" + grown + " 0"},
        {"Escape keeps the marker on the map", "X", "scene: nothing -> none"},
        {"the right button draws a profile line and the marker stays", "R 10,99 M 30,80 r 30,80",
         "scene: nothing -> line 5 100 15 109.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapTools tools = sceneTools();
        EXPECT_EQ(run(tools, c.events, sceneMap), c.expected);
    }
}

}  // namespace
}  // namespace tavrok::shell

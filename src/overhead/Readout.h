#pragma once
#include <string>
#include <vector>
#include "terrain/SourceRecord.h"

#include "overhead/CoordinateMode.h"
#include "overhead/ViewGeometry.h"
#include "support/Painter.h"
#include "terrain/Terrain.h"

namespace tavrok::overhead {

// Where the overhead image is on screen: its geometry (zoom, size, centring offsets), the
// scroll positions and the client area, all in pixels.
struct ReadoutView {
    ViewGeometry geometry;
    int scrollX = 0;
    int scrollY = 0;
    int clientWidth = 1024;
    int clientHeight = 768;
};

// The window of a Mars polar image that the terrain was cut from.
using MarsPolarWindow = terrain::MarsPolarWindow;

// One black box of the readout: a caption line over a value line.
struct ReadoutBox {
    std::string caption;
    std::string value;
};

struct Readout {
    // False when the readout is not shown (the client area is narrower than 481 pixels for
    // geographic terrain, the pointer is off the map, or nothing is loaded).
    bool shown = false;
    // The mode actually used: "UTM Meters" becomes "Decimal Degree" where it has no meaning;
    // the caller keeps this and updates the menu checks.
    CoordinateMode mode = CoordinateMode::UtmMeters;
    std::vector<ReadoutBox> boxes;
    // The first box starts this many average character widths from the client area's right
    // edge; the boxes' top is this many line heights above the bottom.
    int charactersFromRight = 38;
    int linesAboveBottom = 4;
    // What decides whether the strip must be refilled before drawing: whole degrees of
    // latitude and longitude and the elevation's order of magnitude.
    int latitudeDegrees = 0;
    int longitudeDegrees = 0;
    int magnitude = 0;
};

// The readout for the pointer at client position (pointerX, pointerY). The pointer's pixel
// maps to a grid position through MapMapping; the coordinates shown are that position's (UTM
// terrain converted with its own ellipsoid and zone) and the elevation, in metres above the
// datum, is interpolated bilinearly at it. A pointer off the image (over the background) gets
// no readout.
Readout overheadReadout(const terrain::Terrain& terrain, const ReadoutView& view,
                        CoordinateMode mode, int pointerX, int pointerY,
                        const MarsPolarWindow& marsWindow = {});

// Whether the readout strip must be refilled (and the image under it restored) before
// `current` is drawn over `previous`.
bool readoutNeedsRefill(const Readout& previous, const Readout& current);

// A box's rectangle in client pixels.
struct ReadoutPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
// The boxes' rectangles: each as wide as its longer text plus two character widths and two
// text lines high, one character width apart.
std::vector<ReadoutPlace> placeReadout(const Readout& readout, const support::Painter& painter,
                                       int clientWidth, int clientHeight);

// Mars polar image sample (column, row) to degrees of latitude and longitude.
struct LatLon {
    double latitude = 0;
    double longitude = 0;
};
LatLon marsPolarLatLon(double column, double row, int resolution, bool southPole);

// "Matrix Size %-1d" with the scene's cell count at the zoom (the map-size mode box).
std::string matrixSizeText(float zoom);

}  // namespace tavrok::overhead

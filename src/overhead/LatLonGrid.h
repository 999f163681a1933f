#pragma once
#include <string>
#include <vector>

#include "overhead/CoordinateMode.h"
#include "overhead/ViewGeometry.h"
#include "support/Painter.h"
#include "support/RgbImage.h"
#include "terrain/Terrain.h"

namespace tavrok::overhead {

// How the grid of a terrain is laid out.
enum class GridLayout {
    None,       // X/Y matrices and Mars polar grids get no grid
    Utm,        // lines traced through the UTM conversion
    LatLon,     // straight lines on a geographic DEM
    GlobalTile  // GLOBE, GTOPO30 and MOLA tile sets (gridKind 5)
};
GridLayout gridLayoutFor(const terrain::TerrainHeader& header);

// Degrees between lines for an extent in degrees: of 0.01, 0.02, 0.05 … 50, 100 the one
// nearest to a third of the extent, the smaller on a tie.
double gridSpacing(double extentDegrees);
// Global tile sets: 15 from an extent of 30, 10 from 15, 5 from 10, 2 from 5, 1 from 2,
// 0.5 above 1, otherwise 0.2.
double globalGridSpacing(double extentDegrees);

// Degrees of the grid lines crossing [bound, bound + extent] in one direction, first line
// first: for UTM and Lat/Lon terrain the first line is the smallest multiple of the spacing not
// below the bound; for global tile sets bound − fmod(bound, spacing).
std::vector<double> gridLines(GridLayout layout, double bound, double extent, double spacing);

// A line's label: "%02i:%02i " (whole degrees, minutes to the nearest, 60 minutes carried into
// the degrees away from zero) or "%-6.2f ".
std::string gridLabel(double degrees, bool degreesMinutes);

// Draws the latitude/longitude grid into the image (top row north) in the given colour, one
// pixel at a time, with labels through the painter (none without one). The UTM lines use the
// terrain's ellipsoid and zone from its header and nothing else, so the same terrain and view
// always give the same image. Points that cannot be converted are left out; a line whose last
// point failed gets no label. A label that would lie partly outside the image is moved just
// inside it; one that would overlap a label drawn before it (meridians first, west to east,
// then parallels, south to north) is left out.
void drawLatLonGrid(support::RgbImage& image, const terrain::Terrain& terrain,
                    const ViewGeometry& geometry, support::Rgb colour, bool degreesMinutes,
                    support::Painter* painter);

}  // namespace tavrok::overhead

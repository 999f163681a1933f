#include "overhead/Readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geodesy/Utm.h"
#include "overhead/MapMapping.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

using support::degreesPerRadian;

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

struct Dms {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
};

Dms toDms(double value) {
    const int degrees = static_cast<int>(value);
    const double rest = std::abs(value - degrees) * 60;
    const int minutes = static_cast<int>(rest);
    return {degrees, minutes, static_cast<int>((rest - minutes) * 60)};
}

std::string elevationText(double elevation) {
    return format("%-6.1f m", elevation);
}

// Order of magnitude of an elevation: log10 truncated, 0 for 0.
int magnitudeOf(double value) {
    return value == 0 ? 0 : static_cast<int>(std::log10(std::abs(value)));
}

enum class Kind { Utm, LatLon, Global, MarsPolar };

Kind kindOf(const terrain::TerrainHeader& header) {
    if (header.gridKind == terrain::gridKindMarsPolar) {
        return Kind::MarsPolar;
    }
    if (header.gridKind == terrain::gridKindSinusoidal) {
        return Kind::Global;
    }
    if (header.gridKind == terrain::gridKindMatrix ||
        header.coordinateType == terrain::coordinateTypeUtm) {
        return Kind::Utm;
    }
    return Kind::LatLon;
}

void addLatLonBoxes(Readout& readout, double latitude, double longitude, bool dms, bool globalTiles,
                    const char* decimal) {
    if (!dms) {
        readout.boxes.push_back({"Latitude", format(decimal, latitude)});
        readout.boxes.push_back({"Longitude", format(decimal, longitude)});
        return;
    }
    const Dms lat = toDms(latitude);
    const Dms lon = toDms(longitude);
    if (globalTiles) {
        readout.boxes.push_back({"Latitude", format("%02i:%02i", lat.degrees, lat.minutes)});
        readout.boxes.push_back({"Longitude", format("%03i:%02i", lon.degrees, lon.minutes)});
        return;
    }
    readout.boxes.push_back(
        {"Latitude", format("%02i:%02i:%02i", lat.degrees, lat.minutes, lat.seconds)});
    readout.boxes.push_back(
        {"Longitude", format("%03i:%02i:%02i", lon.degrees, lon.minutes, lon.seconds)});
}

GridPoint gridPointUnder(const terrain::Terrain& terrain, const ReadoutView& view, int pointerX,
                         int pointerY) {
    const MapMapping mapping =
        MapMapping::of(view.geometry, terrain.grid.rows(), terrain.grid.columns());
    return mapping.gridPoint(
        imagePixel(pointerX, pointerY, view.geometry, view.scrollX, view.scrollY));
}

// The elevation at a grid position, bilinear. The image's last pixel row and column lie on or
// just beyond the last grid row and column, where ElevationAt has no four neighbours: there
// the position is moved onto the edge cells, which interpolates along the edge.
double elevationAtGridPoint(const terrain::Terrain& terrain, GridPoint cell) {
    constexpr double insideEdge = 1e-6;
    const double lastColumn = terrain.grid.columns() - 1 - insideEdge;
    const double lastRow = terrain.grid.rows() - 1 - insideEdge;
    return terrain::ElevationAt(terrain, std::clamp(cell.column, 0.0, std::max(lastColumn, 0.0)),
                                std::clamp(cell.row, 0.0, std::max(lastRow, 0.0)), true);
}

void utmReadout(Readout& readout, const terrain::Terrain& terrain, const ReadoutView& view,
                int pointerX, int pointerY) {
    const auto& header = terrain.header;
    const double spacingNorth = header.spacingY > 0 ? header.spacingY : header.spacingX;
    const GridPoint cell = gridPointUnder(terrain, view, pointerX, pointerY);
    const double easting = std::floor(header.westBound + cell.column * header.spacingX + 0.5);
    const double northing = std::floor(header.southBound + cell.row * spacingNorth + 0.5);
    // The elevation of the position shown, after its rounding to whole metres.
    double elevation = header.minElevation;
    if (header.spacingX > 0 && spacingNorth > 0) {
        elevation = elevationAtGridPoint(terrain, {(easting - header.westBound) / header.spacingX,
                                                   (northing - header.southBound) / spacingNorth});
    }

    // The terrain's own ellipsoid and zone, as the grid lines are traced: a position read off
    // a line then carries that line's label. A converter of its own: nothing the readout
    // converts is seen by any drawing.
    geodesy::UtmConverter converter;
    converter.setUtmParameters(header.ellipsoid, header.utmZone);
    const std::string zoneText =
        std::to_string(header.utmZone) + (header.hemisphere == 'S' ? "S" : "N");
    const auto position = converter.utmToLatLon(zoneText, easting, northing);
    const bool converted = position.flags == 0;

    readout.charactersFromRight = readout.mode == CoordinateMode::UtmMeters ? 46 : 38;
    readout.linesAboveBottom = 3;
    if (readout.mode == CoordinateMode::UtmMeters) {
        readout.boxes.push_back({"Zone", format("%-1d", header.utmZone)});
        readout.boxes.push_back({"North", format("%-1d m", static_cast<int>(northing))});
        readout.boxes.push_back({"East", format("%-1d m", static_cast<int>(easting))});
    } else if (converted) {
        addLatLonBoxes(readout, position.latitudeDegrees, position.longitudeDegrees,
                       readout.mode == CoordinateMode::DegreeMinSec, false, "%-6.4f");
    } else {
        // A matrix whose stored zone is no UTM zone has no geographic position.
        readout.boxes.push_back({"Latitude", "------"});
        readout.boxes.push_back({"Longitude", "------"});
    }
    readout.boxes.push_back({"Elevation", elevationText(elevation)});
    if (converted) {
        readout.latitudeDegrees = static_cast<int>(position.latitudeDegrees);
        readout.longitudeDegrees = static_cast<int>(position.longitudeDegrees);
    }
    readout.magnitude = static_cast<int>(std::log10(std::abs(std::trunc(elevation) + 10000.0)));
}

}  // namespace

LatLon marsPolarLatLon(double column, double row, int resolution, bool southPole) {
    static constexpr double sizes[] = {10240, 11520, 12288};
    static constexpr double centres[] = {5120, 5760, 6144};
    static constexpr double scales[] = {128, 256, 512};
    const int r = std::clamp(resolution, 0, 2);
    column = std::clamp(column, 0.0, sizes[r]);
    row = std::clamp(row, 0.0, sizes[r]);
    const double u = (column - centres[r] - 0.5) / scales[r];
    const double v = (row - centres[r] - 0.5) / scales[r];
    const double radius = std::sqrt(u * u + v * v);
    const double angle = std::atan2(v, u) * degreesPerRadian;
    const double polar = 2 * std::atan(radius * support::geodesyPi / 360) * degreesPerRadian;
    LatLon result;
    if (southPole) {
        result.longitude = -angle - 180;
        result.latitude = polar - 90;
    } else {
        result.longitude = angle;
        result.latitude = 90 - polar;
    }
    if (result.longitude < 0) {
        result.longitude += 360;
    }
    return result;
}

namespace {

// Over the background around a small map (or beyond a map's edge) there is no position:
// extrapolated coordinates there would describe ground the terrain does not hold.
bool pointerOverImage(const ReadoutView& view, int pointerX, int pointerY) {
    const MapPoint pixel =
        imagePixel(pointerX, pointerY, view.geometry, view.scrollX, view.scrollY);
    return pixel.x >= 0 && pixel.y >= 0 && pixel.x < view.geometry.width &&
           pixel.y < view.geometry.height;
}

}  // namespace

Readout overheadReadout(const terrain::Terrain& terrain, const ReadoutView& view,
                        CoordinateMode mode, int pointerX, int pointerY,
                        const MarsPolarWindow& marsWindow) {
    Readout readout;
    const auto& header = terrain.header;
    const auto& g = view.geometry;
    if (!terrain.loaded || !(g.zoom > 0) || !pointerOverImage(view, pointerX, pointerY)) {
        return readout;
    }
    const Kind kind = kindOf(header);
    readout.mode = mode;
    if (kind != Kind::Utm && mode == CoordinateMode::UtmMeters) {
        readout.mode = CoordinateMode::DecimalDegree;
    }
    if (kind == Kind::Utm) {
        readout.shown = true;
        utmReadout(readout, terrain, view, pointerX, pointerY);
        return readout;
    }
    if (view.clientWidth < 481) {
        return readout;
    }
    readout.shown = true;
    // Coordinates and elevation both come from the grid position under the pointer.
    const GridPoint cell = gridPointUnder(terrain, view, pointerX, pointerY);
    const double columnF = cell.column;
    const double rowsDown = terrain.grid.rows() - 1 - cell.row;
    const bool dms = readout.mode == CoordinateMode::DegreeMinSec;
    double latitude = 0;
    double longitude = 0;
    double elevation = 0;
    switch (kind) {
        case Kind::LatLon: {
            latitude = (header.northBound - rowsDown * header.spacingY) / 3600;
            longitude = (header.westBound + columnF * header.spacingX) / 3600;
            elevation = elevationAtGridPoint(terrain, cell);
            addLatLonBoxes(readout, latitude, longitude, dms, false, "%-6.4f ");
            break;
        }
        case Kind::Global: {
            latitude = header.northLat - rowsDown * header.degreesPerRow;
            longitude = (columnF - header.columns / 2.0) * header.degreesPerColumn;
            if (header.projection == terrain::ProjectionKind::Sinusoidal) {
                const double c = std::cos(latitude / degreesPerRadian);
                longitude = std::abs(c) > 1e-12 ? longitude / c : 0.0;
            }
            longitude += header.sinusoidalCentralMeridian;
            elevation = elevationAtGridPoint(terrain, cell);
            addLatLonBoxes(readout, latitude, longitude, dms, true, "%-6.4f ");
            break;
        }
        case Kind::MarsPolar: {
            // Both axes of the polar image use the column spacing.
            const double scale = header.spacingX / g.zoom;
            const double sampleColumn =
                marsWindow.firstColumn + (pointerX - g.offsetX + view.scrollX) * scale;
            const double sampleRow =
                marsWindow.firstRow + (pointerY - g.offsetY + view.scrollY) * scale;
            const LatLon position = marsPolarLatLon(sampleColumn, sampleRow, marsWindow.resolution,
                                                    marsWindow.southPole);
            latitude = position.latitude;
            longitude = position.longitude;
            elevation = elevationAtGridPoint(terrain, cell);
            addLatLonBoxes(readout, latitude, longitude, false, false, "%-6.4f ");
            break;
        }
        case Kind::Utm:
            break;
    }
    readout.boxes.push_back({"Elevation", elevationText(elevation)});
    readout.latitudeDegrees = static_cast<int>(latitude);
    readout.longitudeDegrees = static_cast<int>(longitude);
    readout.magnitude = magnitudeOf(elevation);
    return readout;
}

bool readoutNeedsRefill(const Readout& previous, const Readout& current) {
    return previous.latitudeDegrees != current.latitudeDegrees ||
           previous.longitudeDegrees != current.longitudeDegrees ||
           previous.magnitude != current.magnitude || previous.mode != current.mode ||
           previous.boxes.size() != current.boxes.size();
}

std::vector<ReadoutPlace> placeReadout(const Readout& readout, const support::Painter& painter,
                                       int clientWidth, int clientHeight) {
    const int charWidth = painter.averageCharWidth();
    const int lineHeight = painter.lineHeight();
    std::vector<ReadoutPlace> places;
    int x = clientWidth - readout.charactersFromRight * charWidth;
    const int y = clientHeight - readout.linesAboveBottom * lineHeight;
    for (const auto& box : readout.boxes) {
        const int width =
            std::max(painter.textWidth(box.caption), painter.textWidth(box.value)) + 2 * charWidth;
        places.push_back({x, y, width, 2 * lineHeight});
        x += width + charWidth;
    }
    return places;
}

std::string matrixSizeText(float zoom) {
    return format("Matrix Size %-1d", sceneMatrixSize(zoom));
}

}  // namespace tavrok::overhead

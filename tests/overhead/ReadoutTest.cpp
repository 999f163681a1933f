#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "OverheadFixtures.h"
#include "overhead/Readout.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {
namespace {

ReadoutView viewOf(const terrain::Terrain& terrain, float zoom = 1.0f, int clientWidth = 1024) {
    ReadoutView view;
    view.clientWidth = clientWidth;
    view.clientHeight = 768;
    view.geometry =
        ViewGeometry::compute(terrain.grid.rows(), terrain.grid.columns(), zoom, clientWidth, 768);
    return view;
}

std::vector<std::string> captions(const Readout& readout) {
    std::vector<std::string> out;
    for (const auto& box : readout.boxes) {
        out.push_back(box.caption);
    }
    return out;
}

// Cells c + r, minimum 1000 m: every position has its own elevation.
const auto utm = test::utmTerrain(
    300, 400, [](int c, int r) { return float(c + r); }, 1000, 1700);

TEST(UtmReadout, UtmMetersShowsZoneNorthingEastingAndElevation) {
    const auto view = viewOf(utm);
    // Pointer on image column 100 and image row 200 counted from the bottom.
    const int pointerY = view.geometry.offsetY + view.geometry.height - 1 - 200;
    const auto readout = overheadReadout(utm, view, CoordinateMode::UtmMeters,
                                         view.geometry.offsetX + 100, pointerY);
    ASSERT_TRUE(readout.shown);
    EXPECT_EQ(captions(readout), (std::vector<std::string>{"Zone", "North", "East", "Elevation"}));
    EXPECT_EQ(readout.boxes[0].value, "10");
    // Image row 200 from the bottom is grid row 200: 200 rows of 30 m, where the elevation
    // (column + row above the minimum) is read too.
    EXPECT_EQ(readout.boxes[1].value, "5019357 m");
    EXPECT_EQ(readout.boxes[2].value, "590064 m");
    EXPECT_EQ(readout.boxes[3].value, "1300.0 m");
    EXPECT_EQ(readout.charactersFromRight, 46);
    EXPECT_EQ(readout.linesAboveBottom, 3);
    EXPECT_EQ(readout.magnitude, 4);
}

TEST(UtmReadout, DecimalDegreesComeFromTheInverseOnTheTerrainsEllipsoidAndZone) {
    const auto view = viewOf(utm);
    const int pointerY = view.geometry.offsetY + view.geometry.height - 1 - 200;
    const auto readout = overheadReadout(utm, view, CoordinateMode::DecimalDegree,
                                         view.geometry.offsetX + 100, pointerY);
    EXPECT_EQ(captions(readout), (std::vector<std::string>{"Latitude", "Longitude", "Elevation"}));
    EXPECT_EQ(readout.charactersFromRight, 38);
    // No trailing blank for UTM terrain.
    EXPECT_TRUE(std::regex_match(readout.boxes[0].value, std::regex(R"(45\.\d{4})")))
        << readout.boxes[0].value;
    const double latitude = std::stod(readout.boxes[0].value);
    const double longitude = std::stod(readout.boxes[1].value);
    // Back through the terrain's own conversion: the point lies 100 columns east and 200 rows
    // north of the corner.
    const auto cell = terrain::GeoToGrid(utm, longitude, latitude);
    EXPECT_NEAR(cell.column, 100, 0.5);
    EXPECT_NEAR(cell.row, 200, 0.5);
    EXPECT_EQ(readout.latitudeDegrees, 45);
    EXPECT_EQ(readout.longitudeDegrees, -121);
}

TEST(UtmReadout, DegreesMinutesSecondsTruncateEachPart) {
    const auto view = viewOf(utm);
    const auto readout = overheadReadout(utm, view, CoordinateMode::DegreeMinSec,
                                         view.geometry.offsetX + 10, view.geometry.offsetY + 10);
    EXPECT_TRUE(std::regex_match(readout.boxes[0].value, std::regex(R"(45:\d\d:\d\d)")));
    EXPECT_TRUE(std::regex_match(readout.boxes[1].value, std::regex(R"(-121:\d\d:\d\d)")))
        << readout.boxes[1].value;
}

TEST(UtmReadout, AMatrixWithoutAZoneHasNoGeographicPosition) {
    terrain::Terrain matrix{utm.grid.clone().value(), utm.header, utm.loaded};
    matrix.header.gridKind = terrain::gridKindMatrix;
    matrix.header.utmZone = 0;
    const auto view = viewOf(matrix);
    const auto metres =
        overheadReadout(matrix, view, CoordinateMode::UtmMeters, view.geometry.offsetX, 400);
    EXPECT_EQ(metres.mode, CoordinateMode::UtmMeters);
    EXPECT_EQ(metres.boxes[0].value, "0");
    const auto degrees =
        overheadReadout(matrix, view, CoordinateMode::DecimalDegree, view.geometry.offsetX, 400);
    EXPECT_EQ(degrees.boxes[0].value, "------");
}

// 301 × 61 arc-minute cells from 2.5° W to 2.5° E and 0.5° S to 0.5° N.
const auto geographic =
    test::geographicTerrain(61, 301, [](int c, int r) { return float(c * 100 + r); });

TEST(GeographicReadout, UtmMetersFallsBackToDecimalDegreesWithATrailingBlank) {
    const auto view = viewOf(geographic);
    const auto readout = overheadReadout(geographic, view, CoordinateMode::UtmMeters,
                                         view.geometry.offsetX + 150, view.geometry.offsetY);
    ASSERT_TRUE(readout.shown);
    EXPECT_EQ(readout.mode, CoordinateMode::DecimalDegree);
    EXPECT_EQ(readout.boxes[0].value, "0.5000 ");
    EXPECT_EQ(readout.boxes[1].value, "0.0000 ");
    // Interpolated at the position shown: column 150 of the top row.
    EXPECT_EQ(readout.boxes[2].value, "15060.0 m");
    EXPECT_EQ(readout.linesAboveBottom, 4);
    EXPECT_EQ(readout.charactersFromRight, 38);
    EXPECT_EQ(readout.magnitude, 4);
}

TEST(GeographicReadout, DegreesMinutesSecondsAndTheNarrowWindow) {
    const auto view = viewOf(geographic);
    const auto readout = overheadReadout(geographic, view, CoordinateMode::DegreeMinSec,
                                         view.geometry.offsetX + 135, view.geometry.offsetY);
    EXPECT_EQ(readout.boxes[0].value, "00:30:00");
    // A quarter degree west: the sign of a zero degree part is lost, as the format has it.
    EXPECT_EQ(readout.boxes[1].value, "000:15:00");
    EXPECT_FALSE(overheadReadout(geographic, viewOf(geographic, 1.0f, 480),
                                 CoordinateMode::DecimalDegree, 10, 10)
                     .shown);
}

TEST(GlobalTileReadout, SinusoidalLongitudeWidensWithLatitude) {
    auto global = test::geographicTerrain(120, 240, [](int, int) { return 5.0f; });
    auto& h = global.header;
    h.gridKind = terrain::gridKindSinusoidal;
    h.projection = terrain::ProjectionKind::Sinusoidal;
    h.degreesPerColumn = 0.5f;
    h.degreesPerRow = 0.5f;
    h.northLat = 60;
    h.southLat = 0;
    h.sinusoidalCentralMeridian = 10;
    const auto view = viewOf(global);
    // 60 cells east of the centre at 59.5° N: 30° along the equator, 59.1° of longitude there.
    const auto readout = overheadReadout(global, view, CoordinateMode::DegreeMinSec,
                                         view.geometry.offsetX + 180, view.geometry.offsetY + 1);
    EXPECT_EQ(readout.boxes[0].value, "59:30");
    EXPECT_TRUE(std::regex_match(readout.boxes[1].value, std::regex(R"(069:0\d)")))
        << readout.boxes[1].value;
    EXPECT_EQ(readout.boxes[2].value, "5.0    m");
}

TEST(MarsPolarReadout, ThePoleSitsAtTheImageCentre) {
    const auto north = marsPolarLatLon(5120.5, 5120.5, 0, false);
    EXPECT_DOUBLE_EQ(north.latitude, 90);
    EXPECT_DOUBLE_EQ(north.longitude, 0);
    const auto south = marsPolarLatLon(5760.5, 5760.5, 1, true);
    EXPECT_DOUBLE_EQ(south.latitude, -90);
    EXPECT_DOUBLE_EQ(south.longitude, 180);
    // 128 samples from the pole is one degree of latitude at the first resolution.
    const auto east = marsPolarLatLon(5120.5 + 128, 5120.5, 0, false);
    EXPECT_NEAR(east.latitude, 89.0, 1e-4);
    const auto clamped = marsPolarLatLon(-50, 1e9, 2, false);
    EXPECT_EQ(clamped.longitude, marsPolarLatLon(0, 12288, 2, false).longitude);
}

// Just inside each edge of the image there is a readout; one pixel beyond it, over the
// background, there is none, for every kind of terrain.
TEST(Readout, NothingIsShownOffTheMap) {
    struct Case {
        const char* name;
        const terrain::Terrain* terrain;
    };
    const Case cases[] = {{"utm", &utm}, {"geographic", &geographic}};
    for (const Case& c : cases) {
        const auto view = viewOf(*c.terrain);
        const auto& g = view.geometry;
        ASSERT_GT(g.offsetX, 0) << c.name;
        ASSERT_GT(g.offsetY, 0) << c.name;
        const struct {
            int x;
            int y;
            bool shown;
        } points[] = {
            {g.offsetX, g.offsetY, true},
            {g.offsetX + g.width - 1, g.offsetY + g.height - 1, true},
            {g.offsetX - 1, g.offsetY + 5, false},
            {g.offsetX + g.width, g.offsetY + 5, false},
            {g.offsetX + 5, g.offsetY - 1, false},
            {g.offsetX + 5, g.offsetY + g.height, false},
            {0, 0, false},
        };
        for (const auto& p : points) {
            const auto readout =
                overheadReadout(*c.terrain, view, CoordinateMode::DecimalDegree, p.x, p.y);
            EXPECT_EQ(readout.shown, p.shown) << c.name << " at " << p.x << ", " << p.y;
            EXPECT_EQ(readout.boxes.empty(), !p.shown) << c.name << " at " << p.x << ", " << p.y;
        }
    }
}

TEST(ReadoutRefresh, OnlyNewWholeDegreesOrMagnitudesRefillTheStrip) {
    Readout a;
    a.latitudeDegrees = 45;
    a.longitudeDegrees = -121;
    a.magnitude = 3;
    Readout b = a;
    b.boxes = a.boxes;
    EXPECT_FALSE(readoutNeedsRefill(a, b));
    b.magnitude = 4;
    EXPECT_TRUE(readoutNeedsRefill(a, b));
    b = a;
    b.longitudeDegrees = -122;
    EXPECT_TRUE(readoutNeedsRefill(a, b));
}

TEST(MatrixSize, CountsAnOddNumberOfCells) {
    EXPECT_EQ(matrixSizeText(1.0f), "Matrix Size 129");
    EXPECT_EQ(matrixSizeText(0.96f), "Matrix Size 133");
    EXPECT_EQ(matrixSizeText(2.0f), "Matrix Size 65");
}

}  // namespace
}  // namespace tavrok::overhead

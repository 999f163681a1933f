#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "overhead/MapMapping.h"
#include "overhead/Readout.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"

namespace tavrok::shell {
namespace {

// GDAL's four cells around a georeferenced position, and the bilinear value between their
// centres.
struct GdalNeighbourhood {
    double bilinear = 0;
    double span = 0;    // largest minus smallest of the four
    double lowest = 0;  // the smallest of the four
};

GdalNeighbourhood gdalBilinear(const test::GdalView& gdal, double x, double y) {
    const double pixel = (x - gdal.originX) / gdal.pixelX - 0.5;
    const double line = (y - gdal.originY) / gdal.pixelY - 0.5;
    const int p0 = static_cast<int>(std::floor(pixel));
    const int l0 = static_cast<int>(std::floor(line));
    const double fx = pixel - p0;
    const double fy = line - l0;
    const double nw = gdal.at(p0, l0);
    const double ne = gdal.at(p0 + 1, l0);
    const double sw = gdal.at(p0, l0 + 1);
    const double se = gdal.at(p0 + 1, l0 + 1);
    const double top = nw + (ne - nw) * fx;
    const double bottom = sw + (se - sw) * fx;
    const double lowest = std::min({nw, ne, sw, se});
    return {top + (bottom - top) * fy, std::max({nw, ne, sw, se}) - lowest, lowest};
}

class ReadoutElevationTest : public test::TemporaryFolderTest {
  protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        if (!test::haveProgram("gdalinfo") || !test::haveProgram("gdal_translate")) {
            GTEST_SKIP() << "GDAL's command-line programs are not installed";
        }
        state.shell.tempDir = folder() / "tmp";
        std::filesystem::create_directories(state.shell.tempDir);
    }

    void load(const std::filesystem::path& file) {
        ASSERT_EQ(runImport(state, ui, loadRequestForFiles({file})), CommandStatus::Done)
            << ::testing::PrintToString(ui.messageTexts());
    }

    overhead::ReadoutView viewAt(float zoom) const {
        overhead::ReadoutView view;
        view.clientWidth = 1228;
        view.clientHeight = 903;
        const auto& grid = state.document.terrain().grid;
        view.geometry = overhead::ViewGeometry::compute(grid.rows(), grid.columns(), zoom,
                                                        view.clientWidth, view.clientHeight);
        return view;
    }

    AppState state;
    support::ScriptedUi ui;
};

// Pointer positions as fractions of the image, corners kept a few cells inside.
struct PointerCase {
    double across;
    double down;
};
const PointerCase pointers[] = {
    {0.5, 0.5}, {0.1, 0.2}, {0.83, 0.61}, {0.37, 0.91}, {0.95, 0.07}, {0.26, 0.44},
};

// The shown coordinates and the elevation shown with them belong to one point: GDAL's cells
// around that point give the same bilinear value. Geographic: latitude and longitude rounded to
// 0.0001° (a tenth of a cell), plus a steep slope near 57.7965 N, 11.8606 E where a whole cell
// matters. UTM: northing and easting rounded to whole metres of 90 m cells.
struct RasterCase {
    const char* file;
    overhead::CoordinateMode mode;
    std::size_t northBox;  // the boxes of the northing (or latitude), easting and elevation
    double spanShare;      // how much of the cells' spread the coordinate rounding may move
    bool steepPoint;
};
const RasterCase rasters[] = {
    {"srtm/N57E011.hgt", overhead::CoordinateMode::DecimalDegree, 0, 0.13, true},
    {"geotiff_dem/gdal362_N57E011_float32_wgs84_utm32n_tiled_lzw.tif",
     overhead::CoordinateMode::UtmMeters, 1, 0.02, false},
};

TEST_F(ReadoutElevationTest, ElevationIsGdalsBilinearValueAtTheShownPosition) {
    for (const auto& c : rasters) {
        SCOPED_TRACE(c.file);
        const auto raster = test::sharedData(c.file);
        load(raster);
        const auto gdal = test::ReadWithGdal(raster, path("gdal.raw"));
        for (const float zoom : {0.59f, 2.0f}) {
            const auto view = viewAt(zoom);
            const auto& g = view.geometry;
            std::vector<std::pair<int, int>> positions;
            for (const auto& p : pointers) {
                positions.emplace_back(g.offsetX + static_cast<int>(p.across * (g.width - 1)),
                                       g.offsetY + static_cast<int>(p.down * (g.height - 1)));
            }
            if (c.steepPoint) {
                const auto mapping = overhead::MapMapping::of(g, 1201, 1201);
                const auto steep = mapping.mapPoint({0.8606 * 1200, 0.7965 * 1200});
                positions.emplace_back(g.offsetX + static_cast<int>(std::lround(steep.x)),
                                       g.offsetY + static_cast<int>(std::lround(steep.y)));
            }
            for (const auto& [x, y] : positions) {
                SCOPED_TRACE("zoom " + std::to_string(zoom) + " at " + std::to_string(x) + ", " +
                             std::to_string(y));
                const auto readout =
                    overhead::overheadReadout(state.document.terrain(), view, c.mode, x, y);
                ASSERT_TRUE(readout.shown);
                ASSERT_EQ(readout.boxes.size(), c.northBox + 3);
                const double north = std::stod(readout.boxes[c.northBox].value);
                const double east = std::stod(readout.boxes[c.northBox + 1].value);
                const double elevation = std::stod(readout.boxes[c.northBox + 2].value);
                const auto expected = gdalBilinear(gdal, east, north);
                if (expected.lowest < -9000) {
                    continue;  // a warped edge without data
                }
                // The elevation is shown to 0.05 m.
                EXPECT_NEAR(elevation, expected.bilinear, 0.06 + c.spanShare * expected.span);
            }
        }
    }
}

}  // namespace
}  // namespace tavrok::shell

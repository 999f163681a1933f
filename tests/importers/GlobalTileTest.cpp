#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <numbers>
#include <string>

#include "TestSupport.h"
#include "importers/GlobalTileImporter.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using terrain::ProjectionKind;

std::vector<std::string> namesOf(const std::vector<const GlobalTile*>& tiles) {
    std::vector<std::string> names;
    for (const auto* tile : tiles) {
        names.emplace_back(tile->name);
    }
    return names;
}

const GlobalTile& tileNamed(GlobalDataSet set, std::string_view name) {
    for (const auto& tile : GlobalTiles(set)) {
        if (tile.name == name) {
            return tile;
        }
    }
    throw std::runtime_error("no tile " + std::string(name));
}

TEST(GlobalTiles, TablesCoverTheGlobeOnceWithTheirFileSizes) {
    struct Case {
        GlobalDataSet set;
        std::size_t count;
    };
    for (const auto& c : {Case{GlobalDataSet::Globe, 16}, Case{GlobalDataSet::Gtopo30, 33}}) {
        const auto tiles = GlobalTiles(c.set);
        ASSERT_EQ(tiles.size(), c.count);
        long area = 0;
        for (const auto& tile : tiles) {
            area += static_cast<long>(tile.upper - tile.lower) * (tile.right - tile.left);
        }
        EXPECT_EQ(area, 180L * 360);
    }
    EXPECT_EQ(tileNamed(GlobalDataSet::Globe, "g10g").rows(), 6000);
    EXPECT_EQ(tileNamed(GlobalDataSet::Globe, "a10g").rows(), 4800);
    EXPECT_EQ(tileNamed(GlobalDataSet::Globe, "a10g").columns(), 10800);
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "W180N90.DEM").columns(), 4800);
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "E120S60.DEM").columns(), 7200);
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "E120S60.DEM").rows(), 3600);
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "W180N90.DEM").display,
              "W180N90.DEM or w180n90.tar.gz");
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "W060N90.DEM").display,
              "W060N90.DEM or w06090.tar.gz");
    EXPECT_EQ(tileNamed(GlobalDataSet::Gtopo30, "W000S60.DEM").display,
              "W000S60.DEM w000s60.tar.gz");
}

TEST(GlobalArea, WidthIsEvenAndTheSquareStaysOnTheGlobe) {
    struct Case {
        int latitude, longitude, width;
        int left, right, lower, upper;
    };
    const Case cases[] = {
        {45, 0, 24, -12, 12, 33, 57},  {45, 0, 25, -12, 12, 33, 57},
        {85, 10, 24, -2, 22, 66, 90},  {-89, -179, 36, -180, -144, -90, -54},
        {0, 175, 12, 168, 180, -6, 6},
    };
    for (const auto& c : cases) {
        const auto area = ComputeGlobalArea(c.latitude, c.longitude, c.width);
        EXPECT_EQ(area.left, c.left) << c.latitude << "," << c.longitude;
        EXPECT_EQ(area.right, c.right);
        EXPECT_EQ(area.lower, c.lower);
        EXPECT_EQ(area.upper, c.upper);
    }
    EXPECT_EQ(ComputeGlobalArea(85, 10, 24).centreLatitude, 78);
    EXPECT_EQ(ComputeGlobalArea(45, 0, 24).samples(), 2880);
}

TEST(GlobalArea, EveryOverlappingTileIsNeededEvenWhenOnlyAnEdgeCornerReachesIt) {
    struct Case {
        GlobalDataSet set;
        int latitude, longitude, width;
        std::vector<std::string> tiles;
    };
    const Case cases[] = {
        {GlobalDataSet::Globe, 45, 0, 24, {"b10g", "c10g", "f10g", "g10g"}},
        {GlobalDataSet::Globe, 12, 0, 24, {"f10g", "g10g"}},  // lower edge on the equator
        // The area's southern corners lie on the pole and its western edge on 0 degrees:
        // no corner is strictly inside W000S60, yet the area covers part of it.
        {GlobalDataSet::Gtopo30, -72, 18, 36, {"W020S10.DEM", "E020S10.DEM", "W000S60.DEM"}},
        {GlobalDataSet::Gtopo30, 65, -80, 12, {"W100N90.DEM"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(namesOf(TilesForArea(c.set, ComputeGlobalArea(c.latitude, c.longitude, c.width))),
                  c.tiles);
    }
}

// Sparse tiles of the full size with a few known samples.
class GlobalTileLoadTest : public test::TemporaryFolderTest {
  protected:
    void put(GlobalDataSet set, std::string_view name, double longitude, double latitude,
             std::int16_t value) {
        const auto& tile = tileNamed(set, name);
        const auto column = std::lround((longitude - tile.left) * 120);
        const auto southRow = std::lround((latitude - tile.lower) * 120);
        test::putSample(tilePath(set, tile), std::uintmax_t(tile.rows()) * tile.columns() * 2,
                        std::uint64_t(tile.rows() - 1 - southRow) * tile.columns() + column, value,
                        set == GlobalDataSet::Gtopo30);
    }
    std::filesystem::path tilePath(GlobalDataSet, const GlobalTile& tile) {
        return path(std::string(tile.name));
    }
    support::Result<LoadedTerrain> load(GlobalDataSet set, const GlobalArea& area,
                                        ProjectionKind projection = ProjectionKind::LatLon) {
        requested.clear();
        return LoadGlobalArea(set, area, projection,
                              [&](const GlobalTile& tile) -> std::optional<std::filesystem::path> {
                                  requested.emplace_back(tile.name);
                                  return tilePath(set, tile);
                              },
                              {});
    }
    std::vector<std::string> requested;
};

TEST_F(GlobalTileLoadTest, GlobeAreaAcrossFourTilesPlacesEverySample) {
    const auto set = GlobalDataSet::Globe;
    put(set, "g10g", 5, 45, 1234);
    put(set, "g10g", 6, 45, -500);
    put(set, "b10g", -1, 56, 800);
    put(set, "f10g", -10, 34, -20);
    put(set, "c10g", 11, 56.5, 7);
    const auto area = ComputeGlobalArea(45, 0, 24);
    auto loaded = load(set, area);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_EQ(requested, (std::vector<std::string>{"b10g", "c10g", "f10g", "g10g"}));
    const auto& [grid, header, source] = loaded.value();
    ASSERT_EQ(grid.rows(), 2880);
    ASSERT_EQ(grid.columns(), 2880);
    EXPECT_EQ(header.minElevation, -20.0);
    EXPECT_EQ(header.maxElevation, 1234.0);
    EXPECT_EQ(header.missingFlag, -500);
    EXPECT_EQ(header.gridKind, terrain::gridKindSinusoidal);
    EXPECT_EQ(header.westLon, -12.0f);
    EXPECT_EQ(header.northBound, 57 * 3600.0);
    EXPECT_FLOAT_EQ(header.degreesPerColumn, 0.008333334f);
    EXPECT_EQ(header.metresPerUnitX, 928.0f);
    // Result cell = (longitude - west) * 120, (latitude - south) * 120.
    EXPECT_EQ(grid.at(2040, 1440), 1254.0f);
    EXPECT_EQ(grid.at(2160, 1440), terrain::missingCell);
    EXPECT_EQ(grid.at(1320, 2760), 820.0f);
    EXPECT_EQ(grid.at(240, 120), 0.0f);
    EXPECT_EQ(grid.at(2760, 2820), 27.0f);
    EXPECT_EQ(grid.at(0, 0), 20.0f);  // ground at 0 m
}

TEST_F(GlobalTileLoadTest, Gtopo30IsBigEndianWithItsOwnMissingValue) {
    const auto set = GlobalDataSet::Gtopo30;
    const auto area = ComputeGlobalArea(65, -80, 12);  // inside W100N90 alone
    put(set, "W100N90.DEM", -79, 60, 300);
    put(set, "W100N90.DEM", -78, 60, -9999);
    put(set, "W100N90.DEM", -84, 70, 258);  // both bytes differ when swapped
    auto loaded = load(set, area);
    ASSERT_TRUE(loaded);
    const auto& grid = loaded->grid;
    EXPECT_EQ(loaded->header.maxElevation, 300.0);
    EXPECT_EQ(loaded->header.missingFlag, -9999);
    EXPECT_EQ(grid.at(7 * 120, 1 * 120), 300.0f);
    EXPECT_EQ(grid.at(8 * 120, 1 * 120), terrain::missingCell);
    EXPECT_EQ(grid.at(2 * 120, 11 * 120), 258.0f);
}

TEST_F(GlobalTileLoadTest, CornerOnTheBoundaryStillReadsTheTileItReaches) {
    const auto set = GlobalDataSet::Gtopo30;
    put(set, "W020S10.DEM", 10, -55, 5);
    put(set, "E020S10.DEM", 30, -55, 6);
    put(set, "W000S60.DEM", 10, -80, 4321);
    auto loaded = load(set, ComputeGlobalArea(-72, 18, 36));
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_EQ(requested, (std::vector<std::string>{"W020S10.DEM", "E020S10.DEM", "W000S60.DEM"}));
    EXPECT_EQ(loaded->grid.at(10 * 120, 10 * 120), 4321.0f);
}

TEST_F(GlobalTileLoadTest, SinusoidalChoiceNarrowsTheAreaByLatitude) {
    const auto set = GlobalDataSet::Globe;
    struct Case {
        int latitude;
        double lowestLatitude;  // the row whose cosine is largest decides the width
    };
    for (const auto& c : {Case{0, 0.0}, Case{60, 48.0}}) {
        const auto area = ComputeGlobalArea(c.latitude, 45, 24);
        put(set, c.latitude == 0 ? "k10g" : "g10g", 45, c.latitude == 0 ? -1 : 49, 10);
        put(set, c.latitude == 0 ? "g10g" : "c10g", 45, c.latitude == 0 ? 1 : 50, 10);
        auto loaded = load(set, area, ProjectionKind::Sinusoidal);
        ASSERT_TRUE(loaded) << loaded.error().detail;
        const int columns = loaded->grid.columns();
        EXPECT_EQ(loaded->header.columns, columns);
        EXPECT_EQ(loaded->grid.rows(), 2880);
        const double expected = 2880 * std::cos(c.lowestLatitude * std::numbers::pi / 180);
        EXPECT_NEAR(columns, expected, 3.0) << c.latitude;
        EXPECT_EQ(loaded->header.projection, ProjectionKind::Sinusoidal);
    }
}

TEST_F(GlobalTileLoadTest, MissingOrShortTileAndCancelEndTheLoad) {
    const auto set = GlobalDataSet::Globe;
    const auto area = ComputeGlobalArea(45, 45, 24);  // g10g alone
    auto absent = load(set, area);
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.error().code, ErrorCode::CannotOpenGlobeFile);
    writeFile("g10g", "short");
    auto shortTile = load(set, area);
    ASSERT_FALSE(shortTile);
    EXPECT_EQ(shortTile.error().code, ErrorCode::CannotOpenGlobeFile);
    auto cancelled = LoadGlobalArea(set, area, ProjectionKind::LatLon,
                                    [](const GlobalTile&) { return std::nullopt; }, {});
    ASSERT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error().code, ErrorCode::OperationCancelled);
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>

#include "TestSupport.h"
#include "importers/MolaImporter.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using terrain::ProjectionKind;

std::vector<std::string> namesOf(const std::vector<const MolaTile*>& tiles) {
    std::vector<std::string> names;
    for (const auto* tile : tiles) {
        names.emplace_back(tile->name);
    }
    return names;
}

TEST(MolaArea, CentreIsMovedSoThatTheSquareFits) {
    struct Case {
        MolaMegSet set;
        int latitude, longitude;
        int left, right, lower, upper;
        std::vector<std::string> tiles;
    };
    const Case cases[] = {
        {MolaMegSet::Meg128, 80, 100, 85, 115, 58, 88, {"megt88n000hb.img", "megt88n090hb.img"}},
        {MolaMegSet::Meg064, 40, 170, 140, 200, 10, 70, {"megt90n000gb.img", "megt90n180gb.img"}},
        {MolaMegSet::Meg064, -89, 359, 300, 360, -90, -30, {"megt00n180gb.img"}},
        {MolaMegSet::Meg128, 0, 0, 0, 30, -15, 15, {"megt44n000hb.img", "megt00n000hb.img"}},
    };
    for (const auto& c : cases) {
        const auto area = ComputeMolaArea(c.set, c.latitude, c.longitude);
        EXPECT_EQ(area.left, c.left) << c.latitude << "," << c.longitude;
        EXPECT_EQ(area.right, c.right);
        EXPECT_EQ(area.lower, c.lower);
        EXPECT_EQ(area.upper, c.upper);
        EXPECT_EQ(namesOf(MolaTilesForArea(c.set, area)), c.tiles);
    }
    EXPECT_EQ(ComputeMolaArea(MolaMegSet::Meg128, 80, 100).centreLatitude, 73);
}

TEST(MolaPolar, SamplesAreUnsignedQuarterMetresAboveMinus8000) {
    EXPECT_EQ(MolaPolarMetres(32000), 0.0);
    EXPECT_EQ(MolaPolarMetres(0), -8000.0);
    EXPECT_EQ(MolaPolarMetres(65535), 8383.75);
    EXPECT_EQ(MolaPolarFileName(MolaPole::South, 256), "megt_s_256_1.img");
    EXPECT_EQ(MolaPolarSide(512), 12288);
    EXPECT_EQ(MolaPolarSide(100), 0);
    const auto window = MolaPolarWindowFromMap(169, 169, 100, 338, 338, 10240);
    EXPECT_EQ(window.firstColumn, 3605);  // (169 - 50) * 10240 / 338, truncated
    EXPECT_EQ(window.lastColumn, 6634);
    const auto edge = MolaPolarWindowFromMap(10, 330, 60, 338, 338, 10240);
    EXPECT_EQ(edge.firstColumn, 0);
    EXPECT_EQ(edge.lastRow, 10240);
}

class MolaLoadTest : public test::TemporaryFolderTest {
  protected:
    // Writes one big-endian sample into a sparse tile of the set's size.
    void put(MolaMegSet set, std::string_view name, double longitude, double latitude,
             std::int16_t value) {
        const MolaTile* tile = nullptr;
        for (const auto& t : MolaTiles(set)) {
            if (t.name == name) {
                tile = &t;
            }
        }
        ASSERT_NE(tile, nullptr);
        const int perDegree = MolaSamplesPerDegree(set);
        const int columns = (tile->right - tile->left) * perDegree;
        const int rows = (tile->upper - tile->lower) * perDegree;
        const auto column = std::lround((longitude - tile->left) * perDegree);
        const auto southRow = std::lround((latitude - tile->lower) * perDegree);
        test::putSample(path(std::string(name)), MolaTileBytes(set),
                        std::uint64_t(rows - 1 - southRow) * columns + column, value, true);
    }
};

TEST_F(MolaLoadTest, Meg064AreaAcrossTwoTilesWithAMissingSample) {
    const auto set = MolaMegSet::Meg064;
    put(set, "megt00n000gb.img", 10, -10, 0);  // only the size of this one is checked here
    put(set, "megt90n000gb.img", 150, 20, 1500);
    put(set, "megt90n180gb.img", 190, 60, -3000);
    put(set, "megt90n180gb.img", 191, 60, -32768);
    const auto area = ComputeMolaArea(set, 40, 170);
    auto loaded = LoadMolaMegArea(set, area, ProjectionKind::LatLon, folder(), {});
    ASSERT_TRUE(loaded) << loaded.error().detail;
    const auto& [grid, header, source] = loaded.value();
    ASSERT_EQ(grid.rows(), 3840);
    ASSERT_EQ(grid.columns(), 3840);
    EXPECT_EQ(header.planet, terrain::Planet::Mars);
    EXPECT_EQ(header.minElevation, -3000.0);
    EXPECT_EQ(header.maxElevation, 1500.0);
    EXPECT_EQ(header.title, "MOLA MEG 064");
    EXPECT_NEAR(header.metresPerUnitX, 3400000.0 / 64 / 57.29578, 1e-3);
    EXPECT_EQ(grid.at(10 * 64, 10 * 64), 4500.0f);  // (150 - 140, 20 - 10) degrees
    EXPECT_EQ(grid.at(50 * 64, 50 * 64), 0.0f);
    EXPECT_EQ(grid.at(51 * 64, 50 * 64), terrain::missingCell);
    EXPECT_EQ(grid.at(0, 0), 3000.0f);  // 0 m
}

TEST_F(MolaLoadTest, MissingMegTileLeavesItsPartMissingAndOutOfTheMinimum) {
    const auto set = MolaMegSet::Meg128;
    put(set, "megt44n000hb.img", 10, 10, 200);  // megt00n000hb.img is absent
    const auto area = ComputeMolaArea(set, 0, 0);
    auto loaded = LoadMolaMegArea(set, area, ProjectionKind::LatLon, folder(), {});
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_EQ(loaded->header.minElevation, 0.0);
    EXPECT_EQ(loaded->grid.at(10 * 128, 25 * 128), 200.0f);
    EXPECT_EQ(loaded->grid.at(10 * 128, 5 * 128), terrain::missingCell);
}

TEST_F(MolaLoadTest, WrongSizedTilesAreRefusedWithTheSetsMessage) {
    writeFile("megt44n000hb.img", "short");
    auto meg128 = LoadMolaMegArea(MolaMegSet::Meg128, ComputeMolaArea(MolaMegSet::Meg128, 0, 0),
                                  ProjectionKind::LatLon, folder(), {});
    ASSERT_FALSE(meg128);
    EXPECT_EQ(meg128.error().code, ErrorCode::NotAMolaMeg128File);
    auto meg064 = LoadMolaMegArea(MolaMegSet::Meg064, ComputeMolaArea(MolaMegSet::Meg064, 40, 170),
                                  ProjectionKind::LatLon, folder(), {});
    ASSERT_FALSE(meg064);
    EXPECT_EQ(meg064.error().code, ErrorCode::NotAMolaMeg064File);
    EXPECT_EQ(meg064.error().message(), "Not a MOLA MEG 064 File");
}

TEST_F(MolaLoadTest, AnAreaWithoutAnyTileIsRefusedNamingTheFolder) {
    for (const auto& directory : {folder(), folder() / "absent"}) {
        auto loaded = LoadMolaMegArea(MolaMegSet::Meg128, ComputeMolaArea(MolaMegSet::Meg128, 0, 0),
                                      ProjectionKind::LatLon, directory, {});
        ASSERT_FALSE(loaded) << directory;
        EXPECT_EQ(loaded.error().shownText(), "No MOLA Tiles Found: " + directory.string());
    }
}

TEST_F(MolaLoadTest, SinusoidalResamplingWidensHighLatitudeRows) {
    const auto set = MolaMegSet::Meg128;
    put(set, "megt88n090hb.img", 100, 58.5, 10);
    put(set, "megt88n000hb.img", 86, 60, 0);
    const auto area = ComputeMolaArea(set, 80, 100);  // 58 .. 88 N
    auto loaded = LoadMolaMegArea(set, area, ProjectionKind::Sinusoidal, folder(), {});
    ASSERT_TRUE(loaded) << loaded.error().detail;
    const auto& grid = loaded->grid;
    const int n = grid.columns();
    // Near the top (cos about 0.05) only the middle columns have a source; at 58 N about half.
    const auto present = [&](int row) {
        int count = 0;
        for (const float cell : grid.row(row)) {
            count += cell != terrain::missingCell;
        }
        return count;
    };
    EXPECT_NEAR(present(0), n * std::cos(58.0 * std::numbers::pi / 180), 4);
    EXPECT_LT(present(n - 1), n / 10);
    // Column n/2 - 1 samples half way between source columns n/2 - 1 and n/2 (the sample).
    EXPECT_EQ(grid.at(n / 2 - 1, 64), 5.0f);
}

TEST_F(MolaLoadTest, PolarWindowIsReadBottomUpInMetres) {
    const auto image = path("megt_n_128_1.img");
    const auto poke = [&](int row, int column, std::uint16_t sample) {
        test::putSample(image, std::uint64_t{10240} * 10240 * 2,
                        std::uint64_t(row) * 10240 + column, static_cast<std::int16_t>(sample),
                        true);
    };
    poke(100, 200, 32000);  // 0 m at the window's top-left
    poke(109, 219, 32400);  // 100 m at its bottom-right
    auto loaded = LoadMolaPolarWindow(image, 128, {200, 220, 100, 110}, {});
    ASSERT_TRUE(loaded) << loaded.error().detail;
    const auto& [grid, header, source] = loaded.value();
    EXPECT_EQ(grid.rows(), 10);
    EXPECT_EQ(grid.columns(), 20);
    EXPECT_EQ(header.gridKind, terrain::gridKindMarsPolar);
    EXPECT_EQ(header.minElevation, -8000.0);  // every untouched sample is 0
    EXPECT_EQ(header.maxElevation, 100.0);
    EXPECT_EQ(grid.at(0, 9), 8000.0f);
    EXPECT_EQ(grid.at(19, 0), 8100.0f);
    auto absent = LoadMolaPolarWindow(path("megt_s_128_1.img"), 128, {0, 10, 0, 10}, {});
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.error().message(), "Cannot find MOLA POLAR file.");
    auto empty = LoadMolaPolarWindow(image, 128, {5, 5, 0, 10}, {});
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().code, ErrorCode::ImproperRowsOrColumns);
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>

#include "EditFixtures.h"
#include "TestSupport.h"
#include "edit/Patch.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::edit {
namespace {

using terrain::missingCell;

// A 5 × 5 grid of `fill` with the listed cells set, for patching rectangle (0, 0)–(4, 4).
struct Cell {
    int column;
    int row;
    float value;
};

terrain::TerrainModel gridWith(float fill, std::initializer_list<Cell> cells) {
    auto grid = terrain::TerrainModel::create(5, 5, fill).value();
    for (const auto& cell : cells) {
        grid.at(cell.column, cell.row) = cell.value;
    }
    return grid;
}

TEST(PatchMissingData, FillsOnlyMissingCellsFromNeighboursInsideTheRectangle) {
    struct Case {
        const char* name;
        terrain::TerrainModel grid;
        long patched;
        float centre;  // the cell (2, 2) afterwards
    };
    Case cases[] = {
        {"mean of the two interpolations",
         gridWith(missingCell, {{1, 2, 10}, {3, 2, 30}, {2, 1, 20}, {2, 3, 40}, {2, 2, -1}}), 1,
         25},
        {"the lowest ground is a neighbour, not a hole",
         gridWith(missingCell, {{1, 2, 0}, {3, 2, 0}, {2, 1, 0}, {2, 3, 8}}), 1, 2},
        {"a lowest-ground cell is never re-estimated", gridWith(5, {{2, 2, 0}}), 0, 0},
        {"the only western neighbour on the boundary column is not used",
         gridWith(missingCell, {{0, 2, 10}, {3, 2, 30}, {2, 1, 20}, {2, 3, 40}}), 0, missingCell},
        {"a NaN cell is missing too",
         gridWith(missingCell, {{1, 2, 10},
                                {3, 2, 10},
                                {2, 1, 10},
                                {2, 3, 10},
                                {2, 2, std::numeric_limits<float>::quiet_NaN()}}),
         1, 10},
    };
    for (auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const long patched = patchMissingData(testCase.grid, {0, 0, 4, 4});
        EXPECT_EQ(patched, testCase.patched);
        EXPECT_FLOAT_EQ(testCase.grid.at(2, 2), testCase.centre);
    }
}

TEST(PatchMissingData, OneSweepFillsAsPatchValueCellAfterCell) {
    std::mt19937 random(7);
    for (const double holes : {0.1, 0.5, 0.9}) {
        std::bernoulli_distribution missing(holes);
        std::uniform_real_distribution<float> value(0, 100);
        auto grid = terrain::TerrainModel::create(40, 50).value();
        for (float& cell : grid.cells()) {
            cell = missing(random) ? missingCell : value(random);
        }
        auto expected = grid.clone().value();
        const PatchRectangle rectangle{3, 2, 45, 37};
        long expectedCount = 0;
        for (int row = rectangle.rowMin; row < rectangle.rowMax; ++row) {
            for (int column = rectangle.columnMin; column < rectangle.columnMax; ++column) {
                if (expected.at(column, row) >= 0) {
                    continue;
                }
                const float patched = PatchValue(expected, 3, 45, 2, 37, column, row);
                if (patched >= 0) {
                    expected.at(column, row) = patched;
                    ++expectedCount;
                }
            }
        }
        EXPECT_EQ(patchMissingData(grid, rectangle), expectedCount);
        EXPECT_TRUE(std::equal(grid.cells().begin(), grid.cells().end(), expected.cells().begin()));
    }
}

// The nearest cell holding a value from (column, row) by (dc, dr), strictly inside the grid's
// edges; missingCell when none.
float nearest(const terrain::TerrainModel& grid, int column, int row, int dc, int dr) {
    for (int c = column + dc, r = row + dr;
         c > 0 && r > 0 && c < grid.columns() - 1 && r < grid.rows() - 1; c += dc, r += dr) {
        if (grid.at(c, r) >= 0) {
            return grid.at(c, r);
        }
    }
    return missingCell;
}

class RealTilePatch : public test::TemporaryFolderTest {};

TEST_F(RealTilePatch, KeepsEveryValidCellAndFillsWithinTheNeighbours) {
    auto tile =
        test::loadRealTile(test::sharedData("ehdr_bil/srtmlib_n15_w062_3arc_v2.bil"), folder());
    if (!tile.loaded) {
        GTEST_SKIP() << "srtmlib tile absent";
    }
    const auto original = tile.grid.clone().value();
    const long voidsBefore = terrain::MissingCellCount(original);
    const int lastColumn = original.columns() - 1;
    const int lastRow = original.rows() - 1;
    const long patched = patchMissingData(tile.grid, {0, 0, lastColumn, lastRow});
    EXPECT_GT(patched, 0);
    EXPECT_EQ(terrain::MissingCellCount(tile.grid), voidsBefore - patched);
    long changedValid = 0;
    long outsideNeighbours = 0;
    for (int row = 0; row <= lastRow; ++row) {
        for (int column = 0; column <= lastColumn; ++column) {
            const float before = original.at(column, row);
            const float after = tile.grid.at(column, row);
            if (before >= 0) {
                changedValid += after != before;
                continue;
            }
            if (after < 0) {
                continue;
            }
            // Cells run south to north and west to east: the west and south neighbours were
            // final when this cell was filled, the east and north ones as loaded.
            const float neighbours[] = {
                nearest(tile.grid, column, row, -1, 0), nearest(tile.grid, column, row, 0, -1),
                nearest(original, column, row, 1, 0), nearest(original, column, row, 0, 1)};
            const auto [low, high] =
                std::minmax_element(std::begin(neighbours), std::end(neighbours));
            outsideNeighbours += *low < 0 || after < *low - 1e-3f || after > *high + 1e-3f;
        }
    }
    EXPECT_EQ(changedValid, 0);
    EXPECT_EQ(outsideNeighbours, 0);
    std::printf("srtmlib n15 w062: %ld missing cells, %ld patched\n", voidsBefore, patched);
}

}  // namespace
}  // namespace tavrok::edit

#include <gtest/gtest.h>

#include "MatrixFixtures.h"
#include "importers/MatrixImporter.h"

namespace tavrok::importers {
namespace {

struct BadInput {
    const char* dataFile;
    const char* message;
    bool offerRawBuilder;
};

// Each small header-and-data pair in bad_inputs/ and what the user is told about it.
constexpr BadInput badInputs[] = {
    {"tab_before_equals.bin", "Cannot Read Header", true},
    {"no_projection.bin", "Cannot Read Header", true},
    {"albers_projection.bin", "Unknown Map Projection", true},
    {"fathom_unit.bin", "Unknown Elevation Unit", true},
    {"single_row.bin", "Improper Rows or Columns", true},
    {"utm_corners_reversed.bin", "Improper Coordinates", true},
    {"longitude_beyond_360.bin", "Longitude Out of Range", true},
    {"latitude_beyond_90.bin", "Latitude Out of Range", true},
    {"int16_one_byte_long.bin", "Improper Rows or Columns", true},
    {"float32_truncated.bin", "Improper Rows or Columns", true},
    {"ascii_word_among_numbers.bin", "Improper Rows or Columns", true},
    {"header_only.bin", "Cannot Open File", true},
    {"data_only.bin", "", true},
    {"utm_zone_61.bin", "", true},
    {"flat_grid.bin", "Cannot Load Matrix File", false},
    {"above_100000_m.bin", "Cannot Load Matrix File", false},
    {"all_missing.bin", "Cannot Load Matrix File", false},
};

class BadMatrixInputsTest : public test::MatrixFolderTest {};

TEST_F(BadMatrixInputsTest, EachBadInputGivesItsMessageAndLeavesNoTemporaries) {
    std::filesystem::copy(std::filesystem::path(test::sourceDir) / "tests/importers/bad_inputs",
                          path("bad_inputs"));
    for (const auto& input : badInputs) {
        const auto outcome =
            LoadMatrixFiles({path("bad_inputs") / input.dataFile}, temporaries(), {});
        ASSERT_FALSE(outcome.terrain) << input.dataFile;
        EXPECT_EQ(outcome.terrain.error().message(), input.message) << input.dataFile;
        EXPECT_EQ(outcome.fallback.has_value(), input.offerRawBuilder) << input.dataFile;
        EXPECT_TRUE(leftoverTemporaries().empty()) << input.dataFile;
    }
}

TEST_F(BadMatrixInputsTest, OneBadFileSpoilsAMerge) {
    std::filesystem::copy(std::filesystem::path(test::sourceDir) / "tests/importers/bad_inputs",
                          path("bad_inputs"));
    test::MatrixHeaderText good;
    good.rows = 2;
    good.columns = 2;
    good.right = "500030";
    good.upper = "4400030";
    const auto first = writeFloatMatrix("good", good, {1, 2, 3, 4});
    const auto outcome =
        LoadMatrixFiles({first, path("bad_inputs") / "flat_grid.bin"}, temporaries(), {});
    EXPECT_EQ(outcome.terrain.error().message(), "Cannot Load All Matrix Files");
    EXPECT_TRUE(leftoverTemporaries().empty());
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "MatrixFixtures.h"
#include "UsgsDemFixtures.h"
#include "importers/LoadedTerrainCheck.h"
#include "importers/Registry.h"

namespace tavrok::importers {
namespace {

using terrain::ProjectionKind;
using terrain::TerrainHeader;

constexpr float infinity = std::numeric_limits<float>::infinity();

// A sound 3 x 4 Lat/Lon terrain at 10..11 E, 20..21 N, one arc-minute apart.
LoadedTerrain SoundTerrain(int rows = 3, int columns = 4) {
    LoadedTerrain loaded{terrain::TerrainModel::create(rows, columns, 5.0f).value(), {}};
    auto& header = loaded.header;
    header.rows = rows;
    header.columns = columns;
    header.projection = ProjectionKind::LatLon;
    header.westLon = 10;
    header.eastLon = 11;
    header.southLat = 20;
    header.northLat = 21;
    header.westBound = header.originX = 36000;
    header.eastBound = 39600;
    header.southBound = header.originY = 72000;
    header.northBound = 75600;
    header.spacingX = header.spacingY = 60;
    header.minElevation = -10;
    header.maxElevation = 2000;
    return loaded;
}

struct HeaderCase {
    const char* what;
    std::function<void(TerrainHeader&)> spoil;
    const char* shown;  // empty: the terrain passes
};

TEST(CheckLoadedTerrain, RefusesWhatCannotBeTerrainNamingTheValue) {
    const HeaderCase cases[] = {
        {"sound", [](TerrainHeader&) {}, ""},
        {"zero pixel height", [](TerrainHeader& h) { h.spacingY = 0; },
         "Improper Georeferencing: y spacing 0 is not a positive distance"},
        {"negative x spacing", [](TerrainHeader& h) { h.spacingX = -30; },
         "Improper Georeferencing: x spacing -30 is not a positive distance"},
        {"infinite spacing", [](TerrainHeader& h) { h.spacingY = infinity; },
         "Improper Georeferencing: y spacing inf is not a positive distance"},
        {"NaN bound", [](TerrainHeader& h) { h.eastBound = std::nan(""); },
         "Improper Georeferencing: bound nan is not a number"},
        {"latitude past the pole", [](TerrainHeader& h) { h.northLat = 91.5f; },
         "Improper Georeferencing: latitude 91.5 lies outside -90 to 90"},
        {"arc-second latitude", [](TerrainHeader& h) { h.southBound = -400000; },
         "Improper Georeferencing: latitude -111.1111 lies outside -90 to 90"},
        {"longitudes 30..1170", [](TerrainHeader& h) { h.eastLon = 1170; },
         "Improper Georeferencing: longitude 1170 lies outside -360 to 360"},
        {"span over 360", [](TerrainHeader& h) { h.westLon = -200, h.eastLon = 200; },
         "Improper Georeferencing: longitudes span 400 degrees, more than 360"},
        {"MOLA's 0..360", [](TerrainHeader& h) { h.westLon = 0, h.eastLon = 360; }, ""},
        {"UTM metres are no degrees",
         [](TerrainHeader& h) {
             h.projection = ProjectionKind::UTM;
             h.northBound = h.northLat = 4400000;
         },
         ""},
        {"3e38 high", [](TerrainHeader& h) { h.maxElevation = 3e38; },
         "Elevation Out of Range: 3e+38 m lies beyond 100000 m from sea level"},
        {"-2e38 deep", [](TerrainHeader& h) { h.minElevation = -2e38; },
         "Elevation Out of Range: -2e+38 m lies beyond 100000 m from sea level"},
        {"infinite", [](TerrainHeader& h) { h.maxElevation = infinity; },
         "Elevation Out of Range: inf m lies beyond 100000 m from sea level"},
        {"feet below the limit in metres",
         [](TerrainHeader& h) {
             h.elevationUnit = terrain::ElevationUnit::Feet;
             h.verticalUnitFactor = 0.3048f;
             h.maxElevation = 300000;
         },
         ""},
        {"feet beyond the limit in metres",
         [](TerrainHeader& h) {
             h.verticalUnitFactor = 0.3048f;
             h.maxElevation = 400000;
         },
         "Elevation Out of Range: 121920 m lies beyond 100000 m from sea level"},
        {"the deepest trench", [](TerrainHeader& h) { h.minElevation = -10994; }, ""},
    };
    for (const auto& c : cases) {
        auto loaded = SoundTerrain();
        c.spoil(loaded.header);
        const auto checked = CheckLoadedTerrain(loaded);
        EXPECT_EQ(checked.ok() ? "" : checked.error().shownText(), c.shown) << c.what;
    }
}

TEST(CheckLoadedTerrain, OneRowOrColumnCannotDefineItsSpacing) {
    for (const auto& [rows, columns] : {std::pair{1, 4}, std::pair{3, 1}}) {
        auto loaded = SoundTerrain(rows, columns);
        const auto checked = CheckLoadedTerrain(loaded);
        ASSERT_FALSE(checked) << rows << " x " << columns;
        EXPECT_EQ(checked.error().shownText(), "Improper Rows or Columns");
    }
}

TEST(CheckLoadedTerrain, CellsThatAreNotFiniteBecomeMissing) {
    auto loaded = SoundTerrain();
    loaded.header.missingCells = 1;
    loaded.grid.at(0, 0) = terrain::missingCell;
    loaded.grid.at(1, 0) = infinity;
    loaded.grid.at(2, 2) = std::nanf("");
    ASSERT_TRUE(CheckLoadedTerrain(loaded));
    EXPECT_EQ(loaded.grid.at(1, 0), terrain::missingCell);
    EXPECT_EQ(loaded.grid.at(2, 2), terrain::missingCell);
    EXPECT_EQ(loaded.grid.at(3, 2), 5.0f);
    EXPECT_EQ(loaded.header.missingCells, 3);
}

// The same rules, reached through the registry as the shell and the command line reach them.
class CheckedLoadTest : public test::MatrixFolderTest {
  protected:
    ImportOutcome load(std::string_view key, const std::filesystem::path& file,
                       const RawMatrixDescription& description = {}) {
        ImportRequest request;
        request.files = {file};
        request.temporaryDirectory = temporaries();
        request.rawDescription = description;
        return importerFor(key)->load(request, {});
    }
    // A 2 x 2 float grid in X/Y metres.
    ImportOutcome loadRawFloats(const std::vector<float>& samples) {
        RawMatrixDescription description;
        description.encoding = RawSampleEncoding::Float32;
        description.coordinateSystem = ProjectionKind::XY;
        description.rows = description.columns = 2;
        description.east = description.north = 10;
        EXPECT_TRUE(description.accept());
        std::string bytes(samples.size() * sizeof(float), '\0');
        std::memcpy(bytes.data(), samples.data(), bytes.size());
        return load("raw", writeFile("grid.raw", bytes), description);
    }
    std::string refusal(const ImportOutcome& outcome) {
        return outcome.terrain ? "loaded" : outcome.terrain.error().shownText();
    }
};

TEST_F(CheckedLoadTest, ExtremeElevationsAreRefusedByEveryImporterAlike) {
    EXPECT_EQ(refusal(loadRawFloats({1, 2, 3e38f, 4})),
              "Elevation Out of Range: 3e+38 m lies beyond 100000 m from sea level");
    test::MatrixHeaderText header;
    header.rows = 2;
    header.columns = 2;
    header.right = "500030";
    header.upper = "4400030";
    const auto matrix = writeFloatMatrix("deep", header, {1, -2e38f, 3, 4});
    EXPECT_EQ(refusal(load("matrix", matrix)),
              "Elevation Out of Range: -2e+38 m lies beyond 100000 m from sea level");
}

TEST_F(CheckedLoadTest, AnInfiniteSampleIsMissing) {
    const auto outcome = loadRawFloats({1, 2, infinity, 4});
    ASSERT_TRUE(outcome.terrain) << refusal(outcome);
    EXPECT_EQ(outcome.terrain->header.maxElevation, 4.0);
    EXPECT_EQ(outcome.terrain->header.missingCells, 1);
    EXPECT_EQ(outcome.terrain->grid.at(0, 1), terrain::missingCell);
}

TEST_F(CheckedLoadTest, UsgsDemsOfOneRowOrColumnAreRefused) {
    for (const auto& [rows, columns] : {std::pair{1, 3}, std::pair{4, 1}}) {
        test::DemText dem;
        dem.rows = rows;
        dem.columns = columns;
        dem.values.assign(static_cast<std::size_t>(rows) * columns, 100);
        const auto outcome = load("usgs", writeFile("thin.dem", dem.text()));
        EXPECT_EQ(refusal(outcome), "Improper Rows or Columns") << rows << " x " << columns;
    }
}

}  // namespace
}  // namespace tavrok::importers

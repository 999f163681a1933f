#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "exporters/Registry.h"
#include "shell/AppState.h"
#include "support/ScriptedUi.h"

namespace tavrok::test {

// A VRT beside a saved binary matrix that shows GDAL the data file as our ".hdr" describes it:
// corners are sample centres, the first stored row is the southern one.
std::filesystem::path WriteMatrixVrt(const std::filesystem::path& dataFile);

// A private folder and a program state to load terrains into and save them from.
class ExportFolderTest : public TemporaryFolderTest {
  protected:
    void SetUp() override;

    // Loads files as the command line does (importer by name); fails the test otherwise.
    bool load(const std::filesystem::path& file);
    // Installs a grid built in the test with its header.
    void install(terrain::TerrainModel grid, terrain::TerrainHeader header);
    support::Status save(std::string_view key, const std::filesystem::path& file,
                         importers::MatrixEncoding encoding = importers::MatrixEncoding::Float32);
    const terrain::Terrain& terrain() const { return state.document.terrain(); }

    shell::AppState state;
    support::ScriptedUi ui;
};

// A small terrain of rows x columns cells filled by row-major values (south row first),
// NaN values missing; a UTM zone 13 N grid on WGS 84 with 30 m spacing unless changed.
terrain::Terrain SmallTerrain(int rows, int columns, const std::vector<float>& elevations);

}  // namespace tavrok::test

#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "importers/LoadedTerrain.h"

namespace tavrok::test {

// Where the first profile of a generated DEM begins.
enum class ProfileLayout { At1024, At864, AfterLineFeed };

// A small USGS ASCII DEM laid out as the format's writers do; tests change single values.
struct DemText {
    std::string title = "TEST QUAD";
    int groundUnit = 2;  // 1 feet, 2 metres (UTM), 3 arc-seconds
    int elevationUnit = 2;
    int zone = 13;
    int datum = 3;
    double west = 500010;  // south-west corner
    double south = 4400010;
    double resolutionX = 30;
    double resolutionY = 30;
    int columns = 3;
    int rows = 4;
    ProfileLayout layout = ProfileLayout::At1024;
    // Raw elevations, row 0 south; -32767 is a void.
    std::vector<int> values = std::vector<int>(12, 100);
    // Per profile: how many resolution steps above the south edge its first elevation lies.
    std::vector<double> startSteps;

    std::string text() const;
};

// The cell at (column, row) as an elevation in metres, or -1 when it is missing.
double ElevationOf(const importers::LoadedTerrain& terrain, int column, int row);

// Compares every cell with GDAL's reading of the same file ("x y z" lines of its XYZ
// output), placing GDAL's samples by rounding to our grid; returns the number of valid cells
// compared. Fails the test on any difference.
int ExpectSameAsGdal(const importers::LoadedTerrain& terrain, const std::filesystem::path& file,
                     const std::filesystem::path& scratch, double gdalNoData);

}  // namespace tavrok::test

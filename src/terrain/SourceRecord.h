#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrok::terrain {

// The window of a Mars polar image that a terrain was cut from: the resolution choice
// (0: 128, 1: 256, 2: 512 samples per degree), the image sample of the grid's first column
// and row, and the pole. The readout needs it to turn grid cells back into latitudes.
struct MarsPolarWindow {
    int resolution = 0;
    double firstColumn = 0;
    double firstRow = 0;
    bool southPole = false;
};

// What is known about where a terrain came from beyond its header.
struct SourceRecord {
    // The name the window title shows: the file's name, or "Merged Matrices" and the like.
    std::string title;
    // The importer's registry key ("matrix", "usgs", "geotiff" ...); empty when unknown.
    std::string format;
    // The files the terrain was read from, in the order given.
    std::vector<std::filesystem::path> files;
    // A listing shown below the DEM specs (a GeoTIFF's corner table); empty when none.
    std::string listing;
    // Set for terrain cut from a Mars polar image.
    std::optional<MarsPolarWindow> marsPolarWindow;
};

}  // namespace tavrok::terrain

#pragma once
#include "terrain/TerrainHeader.h"

namespace tavrok::exporters {

// A stored cell below 0 is missing (importers write -1.0); NaN counts as missing too.
inline bool missingCell(float cell) {
    return !(cell >= 0.0f);
}

// The elevation a stored cell stands for, in the terrain's elevation unit: cells are kept
// relative to the minimum.
inline float absoluteElevation(float cell, double minElevation) {
    return static_cast<float>(cell + minElevation);
}

// The corner samples of a geographic or sinusoidal grid in decimal degrees. The arc-second
// bounds are whole seconds, the degree bounds only single precision: the seconds are used
// when they agree with the degrees, the degrees otherwise (a grid whose corners fall between
// whole seconds).
struct GeographicCorners {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};
GeographicCorners geographicCorners(const terrain::TerrainHeader& header);

}  // namespace tavrok::exporters

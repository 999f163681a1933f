#pragma once
#include <string_view>

namespace tavrok::terrain {

// The coordinate system of a grid, one per radio button of the matrix and area dialogs.
// Mars polar grids use LatLon with gridKind 1.
enum class ProjectionKind { UTM, LatLon, Sinusoidal, XY };

// "UTM", "Lat/Lon", "Sinusoidal", "X/Y".
std::string_view projectionName(ProjectionKind projection);

}  // namespace tavrok::terrain

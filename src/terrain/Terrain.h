#pragma once
#include "terrain/TerrainHeader.h"
#include "terrain/TerrainModel.h"

namespace tavrok::terrain {

// The grid and its header, always replaced together.
struct Terrain {
    TerrainModel grid;
    TerrainHeader header;
    bool loaded = false;
};

}  // namespace tavrok::terrain

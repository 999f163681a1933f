#pragma once
#include "terrain/SourceRecord.h"
#include "terrain/TerrainHeader.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// What an importer hands back: a complete grid and header, installed by the caller in one
// step so that a failed load never touches the terrain in use, and where it came from.
struct LoadedTerrain {
    terrain::TerrainModel grid;
    terrain::TerrainHeader header;
    terrain::SourceRecord source = {};
};

}  // namespace tavrok::importers

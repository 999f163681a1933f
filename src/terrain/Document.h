#pragma once
#include <cstdint>

#include "terrain/SourceRecord.h"
#include "terrain/Terrain.h"

namespace tavrok::terrain {

// The one terrain of a session with its source record and a revision number. Every change
// (a new load, a crop, a patch, a reprojection) bumps the revision; caches built from the
// terrain (the overhead image, the scene mesh, overlay textures) remember the revision they
// were built for and compare it, never the grid's address.
class Document {
  public:
    bool loaded() const { return m_terrain.loaded; }
    const Terrain& terrain() const { return m_terrain; }
    const TerrainModel& grid() const { return m_terrain.grid; }
    const TerrainHeader& header() const { return m_terrain.header; }
    const SourceRecord& source() const { return m_source; }
    // Starts at 0 with nothing loaded; never repeats within a session.
    std::uint64_t revision() const { return m_revision; }
    // Changes only when the terrain is replaced or cleared, not when it is edited in place:
    // what is chosen once per terrain (the colour scale's limits) keys on it.
    std::uint64_t identity() const { return m_identity; }

    // Installs a complete new terrain in one step; the previous one goes only now.
    void replace(TerrainModel grid, TerrainHeader header, SourceRecord source) {
        m_terrain.grid = std::move(grid);
        m_terrain.header = std::move(header);
        m_terrain.loaded = true;
        m_source = std::move(source);
        ++m_revision;
        m_identity = m_revision;
    }

    // Hands out the terrain for an edit in place and counts the change.
    Terrain& edit() {
        ++m_revision;
        return m_terrain;
    }

    void clear() {
        m_terrain = Terrain{};
        m_source = SourceRecord{};
        ++m_revision;
        m_identity = m_revision;
    }

  private:
    Terrain m_terrain;
    SourceRecord m_source;
    std::uint64_t m_revision = 0;
    std::uint64_t m_identity = 0;
};

}  // namespace tavrok::terrain

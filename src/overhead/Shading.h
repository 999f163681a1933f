#pragma once
#include <cstdint>
#include <vector>

#include "overhead/ViewGeometry.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/GridAllocator.h"
#include "terrain/Terrain.h"

namespace tavrok::overhead {

// The light of the shaded relief (degrees and percent).
struct LightingParameters {
    std::int32_t azimuth = 240;     // degrees clockwise from north, any value
    std::int32_t elevation = 80;    // degrees above the horizon
    std::int32_t shadeDepth = 100;  // percent, 0..100; 0 switches shading off

    bool operator==(const LightingParameters&) const = default;
};

// Brightness factors 0.4..1.0 (0.5 where no slope can be formed): one per image pixel when
// zoom ≤ 1, one per grid cell when zoom > 1. Row 0 is the south edge, like the terrain.
struct ShadeGrid {
    int width = 0;   // W' = min(W, columns)
    int height = 0;  // H' = min(H, rows)
    // Big grids take huge pages, like the terrain itself.
    std::vector<float, terrain::GridAllocator<float>> values;

    bool empty() const { return values.empty(); }
    float at(int column, int row) const {
        return values[static_cast<std::size_t>(row) * width + column];
    }
};

// The shade grid one row at a time, for a renderer that colours each row as soon as it is
// shaded and never holds the whole grid. The rows are exactly those computeShading stores,
// edges included.
class ShadeRows {
  public:
    ShadeRows(const terrain::Terrain& terrain, const ViewGeometry& geometry,
              const LightingParameters& lighting);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // One per thread: rows asked for in ascending order reuse the heights of the row before.
    class Cursor {
      public:
        explicit Cursor(const ShadeRows& rows);
        // Writes the width() shades of row j (0 ≤ j < height()) to out.
        void row(int j, float* out);

      private:
        const float* heightsOf(int j);

        const ShadeRows& m_rows;
        std::vector<float> m_current;
        std::vector<float> m_north;
        int m_currentRow = -1;
        int m_northRow = -1;
    };

  private:
    float rowPosition(int j) const;
    void heights(int j, float* out) const;

    const terrain::Terrain& m_terrain;
    int m_width = 0;
    int m_height = 0;
    bool m_perPixel = true;
    bool m_off = false;  // shade depth 0
    float m_rowsPerPixel = 1.0f;
    float m_factor = 1.0f;
    float m_metresPerCell = 1.0f;
    float m_lightX = 0.0f;
    float m_lightY = 0.0f;
    float m_lightZ = 0.0f;
    std::vector<float> m_columnsF;  // fractional cell of each column, clamped to the grid
    std::vector<float> m_xs;        // the same in metres
    bool m_columnsOnCells = true;   // m_columnsF[i] == i
};

// Builds the shade grid of the terrain seen at the geometry's zoom with the given light.
// Progress is reported in rows of the grid between parts of the work; a false answer stops
// it with MapResizingCancelled. NotEnoughMemoryForShading when the grid cannot be had;
// IncorrectValues for a geometry without pixels.
// threads ≤ 0 uses every core; the values do not depend on the thread count.
support::Result<ShadeGrid> computeShading(const terrain::Terrain& terrain,
                                          const ViewGeometry& geometry,
                                          const LightingParameters& lighting,
                                          const support::ProgressCallback& progress = {},
                                          int threads = 0);

}  // namespace tavrok::overhead

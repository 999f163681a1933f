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

// Builds the shade grid of the terrain seen at the geometry's zoom with the given light.
// Progress is reported in rows of the grid between parts of the work; a false answer stops
// it with MapResizingCancelled. NotEnoughMemoryForShading when the grid cannot be had.
// threads ≤ 0 uses every core; the values do not depend on the thread count.
support::Result<ShadeGrid> computeShading(const terrain::Terrain& terrain,
                                          const ViewGeometry& geometry,
                                          const LightingParameters& lighting,
                                          const support::ProgressCallback& progress = {},
                                          int threads = 0);

}  // namespace tavrok::overhead

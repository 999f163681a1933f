#pragma once
#include <cstdint>
#include <vector>

#include "colour/ColorScale.h"
#include "scene/MeshGeometry.h"
#include "scene/SceneParameters.h"
#include "terrain/TerrainModel.h"

namespace tavrok::scene {

// Sampled heights: a vertex whose four cells are all missing.
inline constexpr float missingVertex = -1.0f;

// The triangle mesh of one scene. Vertex (row r, column c) is element r × N + c; row 0 is the
// near edge of the scene square (south at heading 0), column 0 its left edge.
struct SceneMesh {
    int size = 0;                 // N
    std::vector<float> heights;   // N², sampled, in elevation units above the scene base
    std::vector<float> vertices;  // 3 N²: x, y, z in scene units
    std::vector<float> normals;   // 3 N²: unit, or zero where undefined
    std::vector<float> colors;    // 3 N²: red, green, blue in 0..1
    // Two triangles per cell, six indices; they depend only on N.
    std::vector<std::uint32_t> indices;
    std::vector<float> faceNormals;  // 3 per triangle, not normalised

    // Resizes for N vertices per side and lays out the triangles; false without memory.
    bool allocate(int meshSize);
    std::size_t vertexCount() const { return static_cast<std::size_t>(size) * size; }
};

// Which eye an anaglyph pass colours for; None outside red/blue.
enum class AnaglyphEye { None, Left, Right };

// What one mesh build reads besides the mesh and its geometry.
struct MeshInput {
    const terrain::TerrainModel* grid = nullptr;
    const terrain::TerrainHeader* header = nullptr;
    const SceneParameters* parameters = nullptr;
    const colour::ScaleSettings* scale = nullptr;  // terrain type, sea level, colour range
    const colour::ColorScale* colors = nullptr;    // the scene colour table
    SizingInput sizing;
    // The centre of the scene square and the observer, in (fractional) grid cells.
    double centreColumn = 0;
    double centreRow = 0;
    // The cell value under the observer (elevation above the terrain minimum; missing as 0).
    float groundElevation = 0;
    int threads = 0;  // ≤ 0: every core
};

// What the build found, for the cameras and the sea.
struct MeshSummary {
    float lowest = 0;  // subtracted from every valid height
    float highest = 0;
    float seaThreshold = 0;     // scene units; Lowlands vertices at or below it are sea
    double observerHeight = 0;  // elevation units above the scene base
};

// Samples the terrain under the rotated square, rests it on height 0, places the vertices,
// closes the outer ring into walls, and computes normals and colours. `geometry` gets the
// scales for the observer height found.
MeshSummary buildSceneMesh(const MeshInput& input, MeshGeometry& geometry, SceneMesh& mesh);

// Recolours the mesh: elevation colours, or the grey of one eye of a red/blue anaglyph.
void colourSceneMesh(const MeshInput& input, const MeshGeometry& geometry,
                     const MeshSummary& summary, AnaglyphEye eye, SceneMesh& mesh);

// The cell value at a fractional grid position read bilinearly, as the scene samples it:
// positions too near the edge give 0; missing cells count as 0 unless all four are missing.
float sampleBilinear(const terrain::TerrainModel& grid, double column, double row);

}  // namespace tavrok::scene

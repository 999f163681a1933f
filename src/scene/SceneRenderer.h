#pragma once
#include <string>

#include "colour/ColorScale.h"
#include "overhead/MapMapping.h"
#include "scene/GlSurface.h"
#include "scene/MeshGeometry.h"
#include "scene/SceneMesh.h"
#include "scene/SceneParameters.h"
#include "support/Painter.h"
#include "support/Result.h"
#include "support/RgbImage.h"
#include "terrain/Terrain.h"

namespace tavrok::scene {

// Everything one frame reads. The overhead map's mapping turns the observer's map position
// into grid cells.
struct SceneView {
    const terrain::Terrain* terrain = nullptr;
    const SceneParameters* parameters = nullptr;
    const colour::ScaleSettings* scale = nullptr;
    const colour::ColorScale* colors = nullptr;  // the scene colour table
    overhead::MapMapping mapping;
    // One eye's image; a side-by-side pair comes out twice as wide.
    PixelSize eyeSize{640, 480};
    bool lowMemory = false;
    // Supplies the font for the title; without one no title is written.
    support::PainterFactory painterFactory;
    int threads = 0;  // mesh building; ≤ 0: every core
};

// Where the scene square lies on the grid: its centre, half a mesh width ahead of the
// observer along the heading, and the observer, in fractional cells.
struct SceneFootprint {
    overhead::GridPoint centre;
    overhead::GridPoint observer;
};
SceneFootprint sceneFootprint(const SceneParameters& parameters, const MeshGeometry& geometry,
                              const overhead::MapMapping& mapping);

// The cell value under a grid point (elevation above the terrain minimum), missing or off
// the grid read as 0.
float groundElevation(const terrain::TerrainModel& grid, overhead::GridPoint point);

// How long the last frame took: rebuilding the mesh, and drawing with the read-back.
struct FrameTimes {
    double meshMilliseconds = 0;
    double drawMilliseconds = 0;
};

// Draws the terrain as a lit, coloured mesh: the whole mesh is rebuilt for every frame, drawn
// once (or once per eye for the two stereo modes) and read back into an image.
class SceneRenderer {
  public:
    // Makes the rendering context; fails with OpenGlConflict.
    static support::Result<SceneRenderer> create(PixelSize eyeSize);

    // One frame. Fails with NotEnoughMemory when the mesh cannot be had and with
    // OpenGlConflict when the framebuffer cannot be made.
    support::Result<support::RgbImage> render(const SceneView& view);

    const FrameTimes& lastTimes() const { return m_times; }
    // The mesh geometry of the last frame.
    const MeshGeometry& geometry() const { return m_geometry; }
    std::string rendererName() const { return m_surface.rendererName(); }

  private:
    explicit SceneRenderer(GlSurface surface) : m_surface(std::move(surface)) {}
    support::RgbImage drawPass(const SceneView& view, const MeshInput& input,
                               const MeshSummary& summary, int pass);

    GlSurface m_surface;
    SceneMesh m_mesh;
    MeshGeometry m_geometry;
    FrameTimes m_times;
};

}  // namespace tavrok::scene

#include "scene/SceneRenderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "scene/Camera.h"
#include "support/Units.h"

namespace tavrok::scene {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cellGround(const terrain::TerrainHeader& header) {
    return static_cast<double>(header.spacingX) * header.metresPerUnitX;
}

bool stereo(const SceneParameters& parameters) {
    return parameters.colorMode != ColorMode::Color;
}

void setFixedState() {
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_SMOOTH);
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const GLfloat material[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT, GL_AMBIENT, material);
}

// A directional light fixed to the terrain: set while the model view is the identity. The
// horizontal part is not scaled by the cosine of the elevation.
void placeLight(const SceneParameters& parameters) {
    const double around =
        (parameters.illuminationAzimuth + parameters.heading) / support::degreesPerRadian;
    const double up = parameters.illuminationElevation / support::degreesPerRadian;
    const GLfloat direction[] = {static_cast<GLfloat>(std::sin(around)),
                                 static_cast<GLfloat>(std::sin(up)),
                                 static_cast<GLfloat>(-std::cos(around)), 0.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
}

void clearTo(const SceneView& view) {
    const colour::Rgb sky = view.parameters->colorMode == ColorMode::RedBlue
                                ? colour::Rgb{0, 0, 0}
                                : view.colors->entries[colour::skyEntry];
    glClearColor(sky.red / 255.0f, sky.green / 255.0f, sky.blue / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawMesh(const SceneMesh& mesh) {
    glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    glColorPointer(3, GL_FLOAT, 0, mesh.colors.data());
    glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(mesh.vertexCount() - 1),
                        static_cast<GLsizei>(mesh.indices.size()), GL_UNSIGNED_INT,
                        mesh.indices.data());
}

// Island/Ocean: a flat sea over the whole square at sea level.
void drawSea(const SceneView& view, const MeshGeometry& geometry, const MeshSummary& summary,
             AnaglyphEye eye) {
    const double sea = view.scale->seaLevel - view.terrain->header.minElevation - summary.lowest;
    const auto y = static_cast<GLfloat>(sea * geometry.verticalScale);
    const auto r = static_cast<GLfloat>(geometry.halfWidth());
    const colour::Rgb ocean = view.colors->entries[colour::oceanEntry];
    switch (eye) {
        case AnaglyphEye::None:
            glColor3f(ocean.red / 255.0f, ocean.green / 255.0f, ocean.blue / 255.0f);
            break;
        case AnaglyphEye::Left:
            glColor3f(0.0f, 0.0f, 0.4f);
            break;
        case AnaglyphEye::Right:
            glColor3f(0.4f, 0.4f, 0.0f);
            break;
    }
    glNormal3f(0, 1, 0);
    glBegin(GL_TRIANGLES);
    for (const auto& [x, z] : {std::pair{-r, r}, {r, r}, {r, -r}, {-r, r}, {r, -r}, {-r, -r}}) {
        glVertex3f(x, y, z);
    }
    glEnd();
}

void loadMatrix(GLenum mode, const Matrix4& matrix) {
    glMatrixMode(mode);
    glLoadMatrixd(matrix.m.data());
}

// Centred at the top; an anaglyph writes white on a black box.
void writeTitle(const SceneView& view, support::RgbImage& image) {
    const std::string& title = view.parameters->title;
    if (!view.painterFactory || title.empty()) {
        return;
    }
    auto painter = view.painterFactory(image);
    const int width = painter->textWidth(title);
    const int x = (image.width() - width) / 2;
    const int y = 20;
    if (view.parameters->colorMode == ColorMode::RedBlue) {
        const int bottom = std::min(image.height(), y + painter->lineHeight());
        for (int row = std::max(0, y); row < bottom; ++row) {
            const auto line = image.row(row);
            const int first = std::clamp(x - 2, 0, image.width());
            const int last = std::clamp(x + width + 2, 0, image.width());
            std::fill(line.begin() + 3 * first, line.begin() + 3 * last, std::uint8_t{0});
        }
        painter->drawText(x, y, title, {255, 255, 255});
    } else {
        painter->drawText(x, y, title, view.colors->entries[colour::gridEntry]);
    }
}

// Red/blue: the right eye's image ORed into the left's. Side by side: left, then right.
support::RgbImage combineEyes(const SceneParameters& parameters, support::RgbImage left,
                              const support::RgbImage& right) {
    if (parameters.colorMode == ColorMode::RedBlue) {
        for (int y = 0; y < left.height(); ++y) {
            auto target = left.row(y);
            const auto source = right.row(y);
            for (std::size_t i = 0; i < target.size(); ++i) {
                target[i] |= source[i];
            }
        }
        return left;
    }
    support::RgbImage pair(2 * left.width(), left.height(), support::RgbImage::uninitialised);
    for (int y = 0; y < left.height(); ++y) {
        auto target = pair.row(y);
        std::copy(left.row(y).begin(), left.row(y).end(), target.begin());
        std::copy(right.row(y).begin(), right.row(y).end(), target.begin() + left.bytesPerLine());
    }
    return pair;
}

}  // namespace

SceneFootprint sceneFootprint(const SceneParameters& parameters, const MeshGeometry& geometry,
                              const overhead::MapMapping& mapping) {
    const double ahead = geometry.meshSize * geometry.meshStep * mapping.zoom() / 2.0;
    const double heading = parameters.heading / support::degreesPerRadian;
    const overhead::MapPoint observer = parameters.observerPosition;
    const overhead::MapPoint centre{observer.x - ahead * std::sin(heading),
                                    observer.y - ahead * std::cos(heading)};
    return {mapping.gridPoint(centre), mapping.gridPoint(observer)};
}

float groundElevation(const terrain::TerrainModel& grid, overhead::GridPoint point) {
    const int column = static_cast<int>(point.column);
    const int row = static_cast<int>(point.row);
    if (!(point.column >= 0) || !(point.row >= 0) || column >= grid.columns() ||
        row >= grid.rows()) {
        return 0.0f;
    }
    const float cell = grid.at(column, row);
    return terrain::isMissing(cell) ? 0.0f : cell;
}

support::Result<SceneRenderer> SceneRenderer::create(PixelSize eyeSize) {
    auto surface = GlSurface::create(eyeSize);
    if (!surface) {
        return surface.error();
    }
    return SceneRenderer(std::move(surface).value());
}

support::Result<support::RgbImage> SceneRenderer::render(const SceneView& view) {
    const auto meshStart = Clock::now();
    const terrain::TerrainHeader& header = view.terrain->header;
    SceneParameters parameters = *view.parameters;
    const SizingInput sizing{view.mapping.zoom(), view.eyeSize.width, view.lowMemory};
    m_geometry = sizeSceneMesh(parameters, sizing, header);
    // The observer stays between one vertex spacing and the top of the dialog's range.
    const AltitudeLimits limits = altitudeLimits(m_geometry, header, 0.9);
    parameters.observerAltitude =
        std::max(limits.minimum, std::min(parameters.observerAltitude, limits.maximum));
    if (!m_mesh.allocate(m_geometry.meshSize)) {
        return support::ErrorCode::NotEnoughMemory;
    }
    const SceneFootprint footprint = sceneFootprint(parameters, m_geometry, view.mapping);
    MeshInput input{&view.terrain->grid,
                    &header,
                    &parameters,
                    view.scale,
                    view.colors,
                    sizing,
                    footprint.centre.column,
                    footprint.centre.row,
                    groundElevation(view.terrain->grid, footprint.observer),
                    view.threads};
    const MeshSummary summary = buildSceneMesh(input, m_geometry, m_mesh);
    if (parameters.colorMode != ColorMode::RedBlue) {
        colourSceneMesh(input, m_geometry, summary, AnaglyphEye::None, m_mesh);
    }
    m_times.meshMilliseconds = millisecondsSince(meshStart);

    const auto drawStart = Clock::now();
    if (auto bound = m_surface.bind(view.eyeSize); !bound) {
        return bound.error();
    }
    SceneView frameView = view;
    frameView.parameters = &parameters;
    support::RgbImage image = drawPass(frameView, input, summary, 0);
    if (stereo(parameters)) {
        image = combineEyes(parameters, std::move(image), drawPass(frameView, input, summary, 1));
    }
    if (parameters.colorMode == ColorMode::RedBlue) {
        writeTitle(frameView, image);
    }
    m_times.drawMilliseconds = millisecondsSince(drawStart);
    return image;
}

support::RgbImage SceneRenderer::drawPass(const SceneView& view, const MeshInput& input,
                                          const MeshSummary& summary, int pass) {
    const SceneParameters& parameters = *view.parameters;
    const bool redBlue = parameters.colorMode == ColorMode::RedBlue;
    const AnaglyphEye anaglyph = !redBlue    ? AnaglyphEye::None
                                 : pass == 0 ? AnaglyphEye::Left
                                             : AnaglyphEye::Right;
    if (redBlue) {
        colourSceneMesh(input, m_geometry, summary, anaglyph, m_mesh);
    }
    m_geometry.fieldAngle = 16;
    CameraInput camera{&parameters,
                       &m_geometry,
                       static_cast<double>(view.eyeSize.width) / view.eyeSize.height,
                       input.groundElevation - summary.lowest,
                       cellGround(view.terrain->header),
                       !stereo(parameters) ? StereoEye::None
                       : pass == 0         ? StereoEye::Left
                                           : StereoEye::Right};
    const CameraSetup setup = sceneCamera(camera);
    setFixedState();
    clearTo(view);
    loadMatrix(GL_PROJECTION, setup.projection);
    placeLight(parameters);
    loadMatrix(GL_MODELVIEW, setup.modelView);
    drawMesh(m_mesh);
    if (view.scale->terrainType == colour::TerrainType::IslandOcean) {
        drawSea(view, m_geometry, summary, anaglyph);
    }
    glFinish();
    support::RgbImage image = m_surface.readPixels();
    if (!redBlue) {
        writeTitle(view, image);
    }
    return image;
}

}  // namespace tavrok::scene

#include "scene/SceneMesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

#include "support/ParallelLoop.h"
#include "support/Units.h"

namespace tavrok::scene {

namespace {

using colour::TerrainType;

int threadCount(const MeshInput& input) {
    return input.threads > 0 ? input.threads : support::defaultThreadCount();
}

// Runs work(firstRow, lastRow) over the mesh rows on every thread.
template <typename Work>
void overRows(const MeshInput& input, int rows, const Work& work) {
    support::parallelParts(0, rows, threadCount(input), [&work](int, long first, long last) {
        work(static_cast<int>(first), static_cast<int>(last));
    });
}

struct HeightRange {
    float lowest = 100'000'000.0f;
    float highest = -100'000'000.0f;
};

// Samples rows [first, last) of the rotated square and returns their valid height range.
HeightRange sampleRows(const MeshInput& input, const MeshGeometry& geometry, SceneMesh& mesh,
                       int first, int last) {
    const double heading = input.parameters->heading / support::degreesPerRadian;
    const double cosine = std::cos(heading);
    const double sine = std::sin(heading);
    const int n = geometry.meshSize;
    const bool lowlands = input.scale->terrainType == TerrainType::Lowlands;
    const auto sea = static_cast<float>(input.scale->seaLevel - input.header->minElevation);
    HeightRange range;
    for (int r = first; r < last; ++r) {
        const double dz = static_cast<double>(r - geometry.halfSize) * geometry.meshStep;
        for (int c = 0; c < n; ++c) {
            const double dx = static_cast<double>(c - geometry.halfSize) * geometry.meshStep;
            const double column = input.centreColumn + dx * cosine - dz * sine;
            const double row = input.centreRow + dz * cosine + dx * sine;
            float height = sampleBilinear(*input.grid, column, row);
            if (lowlands && height <= sea) {
                height = sea;
            }
            if (height != missingVertex) {
                range.lowest = std::min(range.lowest, height);
                range.highest = std::max(range.highest, height);
            }
            mesh.heights[static_cast<std::size_t>(r) * n + c] = height;
        }
    }
    return range;
}

HeightRange sampleTerrain(const MeshInput& input, const MeshGeometry& geometry, SceneMesh& mesh) {
    const int threads = threadCount(input);
    std::vector<HeightRange> ranges(static_cast<std::size_t>(threads));
    support::parallelParts(0, geometry.meshSize, threads, [&](int part, long first, long last) {
        ranges[static_cast<std::size_t>(part)] =
            sampleRows(input, geometry, mesh, static_cast<int>(first), static_cast<int>(last));
    });
    HeightRange all;
    for (const HeightRange& range : ranges) {
        all.lowest = std::min(all.lowest, range.lowest);
        all.highest = std::max(all.highest, range.highest);
    }
    return all;
}

// Positions: the square centred on the origin, far rows towards −z, heights up; the outer ring
// drops to the base so that the square stands on walls.
void placeVertices(const MeshInput& input, const MeshGeometry& geometry, float lowest,
                   SceneMesh& mesh) {
    const int n = geometry.meshSize;
    const double step = static_cast<double>(geometry.sceneScale) * geometry.meshStep;
    overRows(input, n, [&](int first, int last) {
        for (int r = first; r < last; ++r) {
            for (int c = 0; c < n; ++c) {
                const std::size_t v = static_cast<std::size_t>(r) * n + c;
                float& height = mesh.heights[v];
                if (height != missingVertex) {
                    height -= lowest;
                }
                const bool ring = r == 0 || c == 0 || r == n - 1 || c == n - 1;
                const bool flat = ring || height == missingVertex;
                mesh.vertices[3 * v] = static_cast<float>((c - geometry.halfSize) * step);
                mesh.vertices[3 * v + 1] = flat ? 0.0f : height * geometry.verticalScale;
                mesh.vertices[3 * v + 2] = static_cast<float>(-(r - geometry.halfSize) * step);
            }
        }
    });
}

using Vector = std::array<float, 3>;

Vector vertexAt(const SceneMesh& mesh, std::uint32_t index) {
    const float* p = &mesh.vertices[3 * static_cast<std::size_t>(index)];
    return {p[0], p[1], p[2]};
}

// (Q − P) × (S − P) for the triangle with corners P, Q, S in stored order.
Vector faceNormal(const SceneMesh& mesh, std::size_t triangle) {
    const std::uint32_t* corner = &mesh.indices[3 * triangle];
    const Vector p = vertexAt(mesh, corner[0]);
    const Vector q = vertexAt(mesh, corner[1]);
    const Vector s = vertexAt(mesh, corner[2]);
    const Vector a{q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    const Vector b{s[0] - p[0], s[1] - p[1], s[2] - p[2]};
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

void addFace(const SceneMesh& mesh, std::size_t triangle, Vector& sum) {
    const float* face = &mesh.faceNormals[3 * triangle];
    sum[0] += face[0];
    sum[1] += face[1];
    sum[2] += face[2];
}

// The sum of the normals of the (up to six) triangles around vertex (r, c): both triangles
// of the cells up-right and down-left of it, the first of the cell to its left and the second
// of the cell below it.
Vector vertexNormalSum(const SceneMesh& mesh, int r, int c) {
    const int cells = mesh.size - 1;
    const auto triangle = [cells](int row, int column, int which) {
        return 2 * (static_cast<std::size_t>(row) * cells + column) + which;
    };
    Vector sum{0, 0, 0};
    if (r < cells && c < cells) {
        addFace(mesh, triangle(r, c, 0), sum);
        addFace(mesh, triangle(r, c, 1), sum);
    }
    if (r < cells && c > 0) {
        addFace(mesh, triangle(r, c - 1, 0), sum);
    }
    if (r > 0 && c > 0) {
        addFace(mesh, triangle(r - 1, c - 1, 0), sum);
        addFace(mesh, triangle(r - 1, c - 1, 1), sum);
    }
    if (r > 0 && c < cells) {
        addFace(mesh, triangle(r - 1, c, 1), sum);
    }
    return sum;
}

void computeNormals(const MeshInput& input, SceneMesh& mesh) {
    const int n = mesh.size;
    const std::size_t perRow = 2 * static_cast<std::size_t>(n - 1);
    overRows(input, n - 1, [&](int first, int last) {
        for (std::size_t t = first * perRow; t < last * perRow; ++t) {
            const Vector face = faceNormal(mesh, t);
            std::copy(face.begin(), face.end(), &mesh.faceNormals[3 * t]);
        }
    });
    overRows(input, n, [&](int first, int last) {
        for (int r = first; r < last; ++r) {
            for (int c = 0; c < n; ++c) {
                Vector sum = vertexNormalSum(mesh, r, c);
                const float length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
                if (length > 0) {
                    for (float& component : sum) {
                        component /= length;
                    }
                }
                std::copy(sum.begin(), sum.end(),
                          &mesh.normals[3 * (static_cast<std::size_t>(r) * n + c)]);
            }
        }
    });
}

struct ColourRange {
    double minimum = 0;
    double maximum = 1;
};

ColourRange colourRange(const MeshInput& input) {
    ColourRange range{static_cast<double>(input.scale->scaleMinimum),
                      static_cast<double>(input.scale->scaleMaximum)};
    if (range.maximum - range.minimum < 1) {
        range.minimum = std::round(input.header->minElevation);
        range.maximum = std::max(std::round(input.header->maxElevation), range.minimum + 1);
    }
    return range;
}

void setColour(float* target, colour::Rgb rgb) {
    target[0] = rgb.red / 255.0f;
    target[1] = rgb.green / 255.0f;
    target[2] = rgb.blue / 255.0f;
}

// Between two neighbouring terrain colours; past the top entry the blend runs on, capped.
void blendColour(float* target, const colour::ColorScale& table, double f) {
    const int k = std::clamp(static_cast<int>(f), 0, colour::terrainColorCount - 2);
    const double t = f - k;
    const colour::Rgb a = table.entries[static_cast<std::size_t>(k)];
    const colour::Rgb b = table.entries[static_cast<std::size_t>(k + 1)];
    const auto channel = [t](int low, int high) {
        return static_cast<float>(std::clamp(low + (high - low) * t, 0.0, 255.0) / 255.0);
    };
    target[0] = channel(a.red, b.red);
    target[1] = channel(a.green, b.green);
    target[2] = channel(a.blue, b.blue);
}

// The grey of a red/blue pass: 0.5 at sea level rising to 0.75 at the highest point.
float anaglyphGrey(double elevationAboveBase, double maximumElevation) {
    if (maximumElevation == 0) {
        return 0.5f;
    }
    const double grey = (elevationAboveBase + maximumElevation) * 0.25 / maximumElevation + 0.5;
    return static_cast<float>(std::clamp(grey, 0.5, 0.75));
}

}  // namespace

bool SceneMesh::allocate(int meshSize) {
    if (meshSize == size && !indices.empty()) {
        return true;
    }
    try {
        const auto n = static_cast<std::size_t>(meshSize);
        const std::size_t cells = (n - 1) * (n - 1);
        heights.assign(n * n, 0.0f);
        vertices.assign(3 * n * n, 0.0f);
        normals.assign(3 * n * n, 0.0f);
        colors.assign(3 * n * n, 0.0f);
        faceNormals.assign(6 * cells, 0.0f);
        indices.resize(6 * cells);
    } catch (const std::bad_alloc&) {
        *this = SceneMesh{};
        return false;
    }
    size = meshSize;
    const auto n = static_cast<std::uint32_t>(meshSize);
    std::size_t at = 0;
    for (std::uint32_t r = 0; r + 1 < n; ++r) {
        for (std::uint32_t c = 0; c + 1 < n; ++c) {
            const std::uint32_t here = r * n + c;
            const std::uint32_t above = (r + 1) * n + c;
            for (const std::uint32_t index : {here, here + 1, above + 1, here, above + 1, above}) {
                indices[at++] = index;
            }
        }
    }
    return true;
}

float sampleBilinear(const terrain::TerrainModel& grid, double column, double row) {
    if (!(column >= 1) || !(row >= 1) || column >= grid.columns() || row >= grid.rows()) {
        return 0.0f;
    }
    const int i = static_cast<int>(column);
    const int j = static_cast<int>(row);
    if (i + 1 >= grid.columns() || j + 1 >= grid.rows()) {
        return 0.0f;
    }
    const float corners[4] = {grid.at(i, j), grid.at(i + 1, j), grid.at(i, j + 1),
                              grid.at(i + 1, j + 1)};
    if (std::all_of(std::begin(corners), std::end(corners), terrain::isMissing)) {
        return missingVertex;
    }
    const auto value = [&corners](int k) {
        return terrain::isMissing(corners[k]) ? 0.0f : corners[k];
    };
    const auto fx = static_cast<float>(column - i);
    const auto fz = static_cast<float>(row - j);
    const float south = value(0) + (value(1) - value(0)) * fx;
    const float north = value(2) + (value(3) - value(2)) * fx;
    return south + (north - south) * fz;
}

MeshSummary buildSceneMesh(const MeshInput& input, MeshGeometry& geometry, SceneMesh& mesh) {
    MeshSummary summary;
    const HeightRange range = sampleTerrain(input, geometry, mesh);
    const bool anyValid = range.lowest <= range.highest;
    summary.lowest = anyValid ? range.lowest : 0.0f;
    summary.highest = anyValid ? range.highest - summary.lowest : 0.0f;
    summary.observerHeight =
        std::trunc(input.parameters->observerAltitude + static_cast<double>(input.groundElevation) -
                   summary.lowest);
    computeSceneScale(geometry, *input.parameters, input.sizing, *input.header,
                      summary.observerHeight);
    const double sea = input.scale->seaLevel - input.header->minElevation - summary.lowest;
    summary.seaThreshold =
        std::max(0.0f, std::trunc(static_cast<float>(sea * geometry.verticalScale)));
    placeVertices(input, geometry, summary.lowest, mesh);
    computeNormals(input, mesh);
    return summary;
}

void colourSceneMesh(const MeshInput& input, const MeshGeometry& geometry,
                     const MeshSummary& summary, AnaglyphEye eye, SceneMesh& mesh) {
    const int n = mesh.size;
    const ColourRange range = colourRange(input);
    const colour::ColorScale& table = *input.colors;
    const bool lowlands = input.scale->terrainType == TerrainType::Lowlands;
    const double base = input.header->minElevation + summary.lowest;
    const double perUnit = geometry.verticalScale != 0 ? 1.0 / geometry.verticalScale : 0.0;
    overRows(input, n, [&](int first, int last) {
        for (std::size_t v = first * static_cast<std::size_t>(n);
             v < last * static_cast<std::size_t>(n); ++v) {
            float* target = &mesh.colors[3 * v];
            const float y = mesh.vertices[3 * v + 1];
            if (eye != AnaglyphEye::None) {
                const float grey = anaglyphGrey(y * perUnit, input.header->maxElevation);
                target[0] = eye == AnaglyphEye::Right ? grey : 0.0f;
                target[1] = eye == AnaglyphEye::Right ? grey : 0.0f;
                target[2] = eye == AnaglyphEye::Left ? grey : 0.0f;
            } else if (lowlands && y <= summary.seaThreshold) {
                setColour(target, table.entries[colour::oceanEntry]);
            } else if (v < 2 * static_cast<std::size_t>(n)) {
                setColour(target, table.entries[0]);
            } else {
                const double elevation = y * perUnit + base;
                const double f = std::max(
                    0.0, (elevation - range.minimum) * 13.0 / (range.maximum - range.minimum));
                blendColour(target, table, f);
            }
        }
    });
}

}  // namespace tavrok::scene

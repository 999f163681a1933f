#include "overhead/Shading.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "overhead/ParallelRows.h"

namespace tavrok::overhead {

namespace {

// Degrees per radian as drawing and shading use it.
constexpr double degreesPerRadian = 57.29578;
// Rows handed to the threads between two progress reports.
constexpr int rowsPerReport = 256;

struct Light {
    float x = 0;
    float y = 0;
    float z = 0;
};

// The heights of one pixel row at zoom ≤ 1: the terrain helper ElevationAt without the
// minimum, at fractional cells, written out here so that the loop pays no call per pixel.
// Outside the interpolable area ElevationAt answers minElevation, and so does this.
void interpolatedHeights(const terrain::Terrain& terrain, const std::vector<float>& columnsF,
                         float rowF, float factor, float* out) {
    const auto& grid = terrain.grid;
    const auto minimum = static_cast<float>(terrain.header.minElevation);
    const int width = static_cast<int>(columnsF.size());
    if (!(rowF >= 0 && rowF < grid.rows() - 1)) {
        std::fill(out, out + width, minimum * factor);
        return;
    }
    const int r0 = static_cast<int>(rowF);
    const float rowFraction = rowF - static_cast<float>(r0);
    const auto south = grid.row(r0);
    const auto north = grid.row(r0 + 1);
    const int lastColumn = grid.columns() - 1;
    for (int i = 0; i < width; ++i) {
        const float columnF = columnsF[i];
        if (!(columnF < lastColumn)) {
            out[i] = minimum * factor;
            continue;
        }
        const int c0 = static_cast<int>(columnF);
        const float sw = south[c0];
        const float nw = north[c0];
        const float ne = north[c0 + 1];
        const float se = south[c0 + 1];
        float result = 0.0f;
        if (sw >= 0.0f && nw >= 0.0f && ne >= 0.0f && se >= 0.0f) {
            const float west = sw + (nw - sw) * rowFraction;
            const float east = se + (ne - se) * rowFraction;
            result = std::max(0.0f, west + (east - west) * (columnF - static_cast<float>(c0)));
        } else {
            float sum = 0.0f;
            int count = 0;
            for (const float cell : {sw, nw, ne, se}) {
                if (cell >= 0.0f) {
                    sum += cell;
                    ++count;
                }
            }
            result = count > 0 ? sum / static_cast<float>(count) : 0.0f;
        }
        out[i] = result * factor;
    }
}

// The shade of one point from its differences to the west point (P1 − P0 = (−dx, dh1, 0)) and
// to the north point (P2 − P0 = (0, dh2, dz)). Written without branches so that the loop
// calling it can be vectorised.
inline float shadeAt(float dx, float dh1, float dh2, float dz, const Light& light) {
    const float l1 = std::sqrt(dx * dx + dh1 * dh1);
    const float l2 = std::sqrt(dz * dz + dh2 * dh2);
    const float d1 = l1 > 0.0f ? l1 : 1.0f;
    const float d2 = l2 > 0.0f ? l2 : 1.0f;
    const float ax = -dx / d1;
    const float ay = dh1 / d1;
    const float by = dh2 / d2;
    const float bz = dz / d2;
    // N = A × B with Az = 0 and Bx = 0.
    const float nx = ay * bz;
    const float ny = -(bz * ax);
    const float nz = ax * by;
    const float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
    const float dn = nl > 0.0f ? nl : 1.0f;
    float s = (nx * light.x + ny * light.y + nz * light.z) / dn;
    s = s < 0.0f ? 0.0f : s;
    s = s > 1.0f ? 1.0f : s;
    float shade = 0.4f + 0.6f * s;
    shade = nl > 0.0f ? shade : 1.0f;
    shade = l1 > 0.0f ? shade : 0.5f;
    return l2 > 0.0f ? shade : 0.5f;
}

// One row of shades from the heights of this row and the next (north) one. xs are the
// horizontal positions in metres of the row's points, dz the distance to the next row. The
// first point is its own west neighbour.
void shadeRow(const float* xs, const float* heights, const float* northHeights, float dz,
              const Light& light, int width, float* out) {
    out[0] = shadeAt(0.0f, 0.0f, northHeights[0] - heights[0], dz, light);
    for (int i = 1; i < width; ++i) {
        out[i] = shadeAt(xs[i] - xs[i - 1], heights[i - 1] - heights[i],
                         northHeights[i] - heights[i], dz, light);
    }
}

}  // namespace

support::Result<ShadeGrid> computeShading(const terrain::Terrain& terrain,
                                          const ViewGeometry& geometry,
                                          const LightingParameters& lighting,
                                          const support::ProgressCallback& progress, int threads) {
    const auto& grid = terrain.grid;
    ShadeGrid shade;
    shade.width = std::min(geometry.width, grid.columns());
    shade.height = std::min(geometry.height, grid.rows());
    if (shade.width < 1 || shade.height < 1) {
        return support::Error{support::ErrorCode::NotEnoughMemoryForShading, "empty grid"};
    }
    try {
        shade.values.assign(static_cast<std::size_t>(shade.width) * shade.height, 1.0f);
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemoryForShading, "shade grid"};
    }
    if (lighting.shadeDepth == 0) {
        return shade;
    }
    const float factor = static_cast<float>(lighting.shadeDepth) / 100.0f;
    const double azimuth = lighting.azimuth / degreesPerRadian;
    const double elevation = lighting.elevation / degreesPerRadian;
    const Light light{static_cast<float>(std::cos(azimuth - 90.0 / degreesPerRadian)),
                      static_cast<float>(std::sin(elevation)),
                      static_cast<float>(std::cos(azimuth))};
    const float metresPerCell = terrain.header.spacingX * terrain.header.metresPerUnitX;
    const bool perPixel = geometry.zoom <= 1.0f;
    const int width = shade.width;
    const int height = shade.height;

    // Fractional cell positions of the shade grid's columns and rows, clamped to the grid.
    std::vector<float> columnsF(width);
    std::vector<float> xs(width);
    for (int i = 0; i < width; ++i) {
        const float position = perPixel
                                   ? std::clamp(static_cast<float>(i) * geometry.columnsPerPixel,
                                                0.0f, static_cast<float>(grid.columns() - 1))
                                   : static_cast<float>(i);
        columnsF[i] = position;
        xs[i] = position * metresPerCell;
    }
    const auto rowPosition = [&](int j) {
        return perPixel ? std::clamp(static_cast<float>(j) * geometry.rowsPerPixel, 0.0f,
                                     static_cast<float>(grid.rows() - 1))
                        : static_cast<float>(j);
    };
    const auto heightsOf = [&](int j, float* out) {
        if (perPixel) {
            interpolatedHeights(terrain, columnsF, rowPosition(j), factor, out);
        } else {
            const auto cells = grid.row(j);
            for (int i = 0; i < width; ++i) {
                out[i] = cells[i] * factor;
            }
        }
    };

    const auto work = [&](int first, int last) {
        std::vector<float> current(width);
        std::vector<float> north(width);
        heightsOf(first, current.data());
        for (int j = first; j < last; ++j) {
            const int next = std::min(j + 1, height - 1);
            heightsOf(next, north.data());
            const float dz = (rowPosition(next) - rowPosition(j)) * metresPerCell;
            shadeRow(xs.data(), current.data(), north.data(), dz, light, width,
                     shade.values.data() + static_cast<std::size_t>(j) * width);
            std::swap(current, north);
        }
    };
    const int threadCount = threads > 0 ? threads : defaultThreadCount();
    for (int begin = 0; begin < height; begin += rowsPerReport) {
        const int end = std::min(height, begin + rowsPerReport);
        parallelRows(begin, end, threadCount, work);
        if (!support::reportProgress(progress, end, height)) {
            return support::Error{support::ErrorCode::MapResizingCancelled, "stopped"};
        }
    }

    // The edges cannot form a full slope: they repeat their inner neighbours.
    if (height >= 2) {
        std::copy_n(shade.values.begin() + static_cast<std::ptrdiff_t>(height - 2) * width, width,
                    shade.values.begin() + static_cast<std::ptrdiff_t>(height - 1) * width);
    }
    if (width >= 2) {
        for (int j = 0; j < height; ++j) {
            float* row = shade.values.data() + static_cast<std::size_t>(j) * width;
            row[width - 1] = row[width - 2];
            row[0] = row[1];
        }
    }
    return shade;
}

}  // namespace tavrok::overhead

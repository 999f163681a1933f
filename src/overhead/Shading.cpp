#include "overhead/Shading.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "overhead/CpuClones.h"
#include "support/ParallelLoop.h"
#include "support/Units.h"

namespace tavrok::overhead {

namespace {

// Degrees per radian as drawing and shading use it.
using support::degreesPerRadian;

struct Light {
    float x = 0;
    float y = 0;
    float z = 0;
};

// The height at fractional column columnF between two rows of cells, rowFraction of the way
// north: bilinear when the four corner cells are there, else the mean of those that are (0
// when none is). Branch-free so that loops over it can be vectorised.
inline float heightBetween(const float* south, const float* north, int c0, float columnF,
                           float rowFraction) {
    const float sw = south[c0];
    const float nw = north[c0];
    const float ne = north[c0 + 1];
    const float se = south[c0 + 1];
    const float west = sw + (nw - sw) * rowFraction;
    const float east = se + (ne - se) * rowFraction;
    const float blended = west + (east - west) * (columnF - static_cast<float>(c0));
    const float sum = (((0.0f + (sw >= 0.0f ? sw : 0.0f)) + (nw >= 0.0f ? nw : 0.0f)) +
                       (ne >= 0.0f ? ne : 0.0f)) +
                      (se >= 0.0f ? se : 0.0f);
    const float count = (sw >= 0.0f ? 1.0f : 0.0f) + (nw >= 0.0f ? 1.0f : 0.0f) +
                        (ne >= 0.0f ? 1.0f : 0.0f) + (se >= 0.0f ? 1.0f : 0.0f);
    const float mean = count > 0.0f ? sum / (count > 0.0f ? count : 1.0f) : 0.0f;
    const bool complete = sw >= 0.0f && nw >= 0.0f && ne >= 0.0f && se >= 0.0f;
    return complete ? (blended > 0.0f ? blended : 0.0f) : mean;
}

// Zoom 1: column i sits on cell i, and the loads are contiguous.
TAVROK_AVX2_CLONES
void heightsOnCells(const float* south, const float* north, int width, int lastColumn,
                    float rowFraction, float factor, float outside, float* out) {
    const int inside = std::min(width, lastColumn);
    for (int i = 0; i < inside; ++i) {
        out[i] = heightBetween(south, north, i, static_cast<float>(i), rowFraction) * factor;
    }
    std::fill(out + inside, out + width, outside);
}

TAVROK_AVX2_CLONES
void heightsBetweenCells(const float* south, const float* north, const float* columnsF, int width,
                         int lastColumn, float rowFraction, float factor, float outside,
                         float* out) {
    const auto last = static_cast<float>(lastColumn);
    for (int i = 0; i < width; ++i) {
        const float columnF = columnsF[i];
        const bool inside = columnF < last;
        const int c0 = inside ? static_cast<int>(columnF) : 0;
        out[i] = inside ? heightBetween(south, north, c0, columnF, rowFraction) * factor : outside;
    }
}

// The heights of one pixel row at zoom ≤ 1: the terrain helper ElevationAt without the
// minimum, at fractional cells, written out here so that the loop pays no call per pixel.
// Outside the interpolable area ElevationAt answers minElevation, and so does this.
void interpolatedHeights(const terrain::Terrain& terrain, const float* columnsF,
                         bool columnsOnCells, int width, float rowF, float factor, float* out) {
    const auto& grid = terrain.grid;
    const float outside = static_cast<float>(terrain.header.minElevation) * factor;
    if (!(rowF >= 0 && rowF < grid.rows() - 1) || grid.columns() < 2) {
        std::fill(out, out + width, outside);
        return;
    }
    const int r0 = static_cast<int>(rowF);
    const float rowFraction = rowF - static_cast<float>(r0);
    const float* south = grid.row(r0).data();
    const float* north = grid.row(r0 + 1).data();
    if (columnsOnCells) {
        heightsOnCells(south, north, width, grid.columns() - 1, rowFraction, factor, outside, out);
    } else {
        heightsBetweenCells(south, north, columnsF, width, grid.columns() - 1, rowFraction, factor,
                            outside, out);
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
TAVROK_AVX2_CLONES
void shadeRow(const float* xs, const float* heights, const float* northHeights, float dz,
              const Light& light, int width, float* out) {
    out[0] = shadeAt(0.0f, 0.0f, northHeights[0] - heights[0], dz, light);
    for (int i = 1; i < width; ++i) {
        out[i] = shadeAt(xs[i] - xs[i - 1], heights[i - 1] - heights[i],
                         northHeights[i] - heights[i], dz, light);
    }
}

}  // namespace

ShadeRows::ShadeRows(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                     const LightingParameters& lighting)
    : m_terrain(terrain),
      m_width(std::min(geometry.width, terrain.grid.columns())),
      m_height(std::min(geometry.height, terrain.grid.rows())),
      m_perPixel(geometry.zoom <= 1.0f),
      m_off(lighting.shadeDepth == 0),
      m_rowsPerPixel(geometry.rowsPerPixel),
      m_factor(static_cast<float>(lighting.shadeDepth) / 100.0f),
      m_metresPerCell(terrain.header.spacingX * terrain.header.metresPerUnitX) {
    const double azimuth = lighting.azimuth / degreesPerRadian;
    const double elevation = lighting.elevation / degreesPerRadian;
    m_lightX = static_cast<float>(std::cos(azimuth - 90.0 / degreesPerRadian));
    m_lightY = static_cast<float>(std::sin(elevation));
    m_lightZ = static_cast<float>(std::cos(azimuth));
    const int lastColumn = terrain.grid.columns() - 1;
    m_columnsF.resize(std::max(0, m_width));
    m_xs.resize(m_columnsF.size());
    for (int i = 0; i < m_width; ++i) {
        const float position = m_perPixel
                                   ? std::clamp(static_cast<float>(i) * geometry.columnsPerPixel,
                                                0.0f, static_cast<float>(lastColumn))
                                   : static_cast<float>(i);
        m_columnsF[i] = position;
        m_xs[i] = position * m_metresPerCell;
        m_columnsOnCells = m_columnsOnCells && position == static_cast<float>(i);
    }
}

float ShadeRows::rowPosition(int j) const {
    return m_perPixel ? std::clamp(static_cast<float>(j) * m_rowsPerPixel, 0.0f,
                                   static_cast<float>(m_terrain.grid.rows() - 1))
                      : static_cast<float>(j);
}

void ShadeRows::heights(int j, float* out) const {
    if (m_perPixel) {
        interpolatedHeights(m_terrain, m_columnsF.data(), m_columnsOnCells, m_width, rowPosition(j),
                            m_factor, out);
        return;
    }
    const auto cells = m_terrain.grid.row(j);
    for (int i = 0; i < m_width; ++i) {
        out[i] = cells[i] * m_factor;
    }
}

ShadeRows::Cursor::Cursor(const ShadeRows& rows)
    : m_rows(rows), m_current(rows.width()), m_north(rows.width()) {}

// The heights of row j, computed at most once while rows are asked for in ascending order.
const float* ShadeRows::Cursor::heightsOf(int j) {
    if (m_northRow == j) {
        std::swap(m_current, m_north);
        std::swap(m_currentRow, m_northRow);
    }
    if (m_currentRow != j) {
        m_rows.heights(j, m_current.data());
        m_currentRow = j;
    }
    return m_current.data();
}

void ShadeRows::Cursor::row(int j, float* out) {
    const int width = m_rows.width();
    const int height = m_rows.height();
    if (m_rows.m_off) {
        std::fill(out, out + width, 1.0f);
        return;
    }
    // The last row cannot form a full slope: it repeats the row below it.
    const int base = height >= 2 ? std::min(j, height - 2) : j;
    const int next = std::min(base + 1, height - 1);
    heightsOf(base);
    if (m_northRow != next) {
        m_rows.heights(next, m_north.data());
        m_northRow = next;
    }
    const float dz = (m_rows.rowPosition(next) - m_rows.rowPosition(base)) * m_rows.m_metresPerCell;
    const Light light{m_rows.m_lightX, m_rows.m_lightY, m_rows.m_lightZ};
    shadeRow(m_rows.m_xs.data(), m_current.data(), m_north.data(), dz, light, width, out);
    // Nor can the first and last columns.
    if (width >= 2) {
        out[width - 1] = out[width - 2];
        out[0] = out[1];
    }
}

support::Result<ShadeGrid> computeShading(const terrain::Terrain& terrain,
                                          const ViewGeometry& geometry,
                                          const LightingParameters& lighting,
                                          const support::ProgressCallback& progress, int threads) {
    const ShadeRows rows(terrain, geometry, lighting);
    ShadeGrid shade;
    shade.width = rows.width();
    shade.height = rows.height();
    if (shade.width < 1 || shade.height < 1) {
        return support::Error{support::ErrorCode::IncorrectValues, "no pixel to shade"};
    }
    try {
        shade.values.resize(static_cast<std::size_t>(shade.width) * shade.height);
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemoryForShading, "shade grid"};
    }
    const auto work = [&](int first, int last) {
        ShadeRows::Cursor cursor(rows);
        for (int j = first; j < last; ++j) {
            cursor.row(j, shade.values.data() + static_cast<std::size_t>(j) * shade.width);
        }
    };
    if (!support::inReportedBands(shade.height, threads, progress, work)) {
        return support::Error{support::ErrorCode::MapResizingCancelled, "stopped"};
    }
    return shade;
}

}  // namespace tavrok::overhead

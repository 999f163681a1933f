#include "overhead/Render.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "overhead/ColorRow.h"
#include "support/ParallelLoop.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

// Nearest index with halves upward, clamped to 0 .. count − 1.
inline int nearestIndex(float position, int count) {
    const int index = static_cast<int>(std::floor(position + 0.5f));
    return std::clamp(index, 0, count - 1);
}

// The per-cell shade at a fractional cell, bilinear, the position held to at most n − 2.
float interpolatedShade(const ShadeGrid& shade, float column, float row) {
    const float maxColumn = static_cast<float>(std::max(0, shade.width - 2));
    const float maxRow = static_cast<float>(std::max(0, shade.height - 2));
    column = std::clamp(column, 0.0f, maxColumn);
    row = std::clamp(row, 0.0f, maxRow);
    const int c0 = static_cast<int>(column);
    const int r0 = static_cast<int>(row);
    const int c1 = std::min(c0 + 1, shade.width - 1);
    const int r1 = std::min(r0 + 1, shade.height - 1);
    const float fc = column - static_cast<float>(c0);
    const float fr = row - static_cast<float>(r0);
    const float south = shade.at(c0, r0) + (shade.at(c1, r0) - shade.at(c0, r0)) * fc;
    const float north = shade.at(c0, r1) + (shade.at(c1, r1) - shade.at(c0, r1)) * fc;
    return std::clamp(south + (north - south) * fr, 0.0f, 1.0f);
}

inline void store(std::uint8_t* pixel, const colour::ElevationColor& colour) {
    pixel[0] = colour.color.red;
    pixel[1] = colour.color.green;
    pixel[2] = colour.color.blue;
}

// The nearest cell of each pixel column at zoom ≤ 1; empty when every pixel sits on its own
// cell (zoom 1), so that the cells can be read straight along the row.
std::vector<int> nearestColumnsOf(const ViewGeometry& geometry, int columns) {
    std::vector<int> nearest(std::max(0, geometry.width));
    bool onCells = true;
    for (int x = 0; x < geometry.width; ++x) {
        nearest[x] = nearestIndex(static_cast<float>(x) * geometry.columnsPerPixel, columns);
        onCells = onCells && nearest[x] == x;
    }
    if (onCells) {
        nearest.clear();
    }
    return nearest;
}

}  // namespace

support::Status renderOverhead(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                               const ShadeGrid* shade, const colour::ColorScale& scale,
                               const colour::ScaleSettings& settings, support::RgbImage& image,
                               const support::ProgressCallback& progress, int threads) {
    const int width = geometry.width;
    const int height = geometry.height;
    if (image.width() != width || image.height() != height) {
        image = support::RgbImage(width, height);
    }
    if (width < 1 || height < 1) {
        return support::success();
    }
    const auto& grid = terrain.grid;
    const auto minimum = static_cast<float>(terrain.header.minElevation);
    const bool shaded = shade != nullptr && !shade->empty();
    const bool perPixel = geometry.zoom <= 1.0f;

    // Nearest columns of the image's pixels (zoom ≤ 1) or their fractional cells (zoom > 1).
    const std::vector<int> nearestColumns = nearestColumnsOf(geometry, grid.columns());
    std::vector<float> columnsF(width);
    for (int x = 0; x < width; ++x) {
        columnsF[x] = static_cast<float>(x) * geometry.columnsPerPixel;
    }

    const auto work = [&](int firstRow, int lastRow) {
        for (int top = firstRow; top < lastRow; ++top) {
            const int y = height - 1 - top;  // 0 at the bottom, the south edge
            std::uint8_t* out = image.row(top).data();
            const float rowF = static_cast<float>(y) * geometry.rowsPerPixel;
            if (perPixel) {
                const auto cells = grid.row(nearestIndex(rowF, grid.rows()));
                // At zoom ≤ 1 the shade grid has a value for every pixel.
                const float* shades =
                    shaded && y < shade->height && width <= shade->width
                        ? &shade->values[static_cast<std::size_t>(y) * shade->width]
                        : nullptr;
                colorRow(cells.data(), nearestColumns.empty() ? nullptr : nearestColumns.data(),
                         shades, width, minimum, scale, settings, out);
            } else {
                const float shadeRow = static_cast<float>(y) / geometry.zoom;
                for (int x = 0; x < width; ++x) {
                    const float elevation = terrain::ElevationAt(terrain, columnsF[x], rowF, true);
                    const float s =
                        shaded ? interpolatedShade(*shade, static_cast<float>(x) / geometry.zoom,
                                                   shadeRow)
                               : 1.0f;
                    store(out + 3 * x, colour::colorForElevation(scale, settings, elevation, s));
                }
            }
        }
    };
    if (!support::inReportedBands(height, threads, progress, work)) {
        return support::Error{support::ErrorCode::OperationCancelled, "stopped"};
    }
    return support::success();
}

support::Status renderShadedOverhead(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                                     const LightingParameters& lighting,
                                     const colour::ColorScale& scale,
                                     const colour::ScaleSettings& settings,
                                     support::RgbImage& image,
                                     const support::ProgressCallback& progress, int threads) {
    const int width = geometry.width;
    const int height = geometry.height;
    if (image.width() != width || image.height() != height) {
        image = support::RgbImage(width, height, support::RgbImage::uninitialised);
    }
    if (width < 1 || height < 1) {
        return support::success();
    }
    const ShadeRows shadeRows(terrain, geometry, lighting);
    const auto& grid = terrain.grid;
    const auto minimum = static_cast<float>(terrain.header.minElevation);
    const std::vector<int> nearestColumns = nearestColumnsOf(geometry, grid.columns());
    const bool fullShade = shadeRows.width() >= width && shadeRows.height() >= height;
    const auto work = [&](int firstRow, int lastRow) {
        ShadeRows::Cursor cursor(shadeRows);
        std::vector<float> shades(std::max(0, shadeRows.width()));
        // Bottom to top, so that the cursor walks the shade rows upwards.
        for (int top = lastRow - 1; top >= firstRow; --top) {
            const int y = height - 1 - top;
            const float rowF = static_cast<float>(y) * geometry.rowsPerPixel;
            const auto cells = grid.row(nearestIndex(rowF, grid.rows()));
            if (fullShade) {
                cursor.row(y, shades.data());
            }
            colorRow(cells.data(), nearestColumns.empty() ? nullptr : nearestColumns.data(),
                     fullShade ? shades.data() : nullptr, width, minimum, scale, settings,
                     image.row(top).data());
        }
    };
    if (!support::inReportedBands(height, threads, progress, work)) {
        return support::Error{support::ErrorCode::MapResizingCancelled, "stopped"};
    }
    return support::success();
}

}  // namespace tavrok::overhead

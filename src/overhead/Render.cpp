#include "overhead/Render.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "overhead/ParallelRows.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

constexpr int rowsPerReport = 256;

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

inline void store(std::uint8_t* pixel, const ElevationColor& colour) {
    pixel[0] = colour.color.red;
    pixel[1] = colour.color.green;
    pixel[2] = colour.color.blue;
}

}  // namespace

support::Status renderOverhead(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                               const ShadeGrid* shade, const ColorScale& scale,
                               const ScaleSettings& settings, support::RgbImage& image,
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
    std::vector<int> nearestColumns(width);
    std::vector<float> columnsF(width);
    for (int x = 0; x < width; ++x) {
        columnsF[x] = static_cast<float>(x) * geometry.columnsPerPixel;
        nearestColumns[x] = nearestIndex(columnsF[x], grid.columns());
    }

    const auto work = [&](int firstRow, int lastRow) {
        for (int top = firstRow; top < lastRow; ++top) {
            const int y = height - 1 - top;  // 0 at the bottom, the south edge
            std::uint8_t* out = image.row(top).data();
            const float rowF = static_cast<float>(y) * geometry.rowsPerPixel;
            if (perPixel) {
                const auto cells = grid.row(nearestIndex(rowF, grid.rows()));
                const float* shades =
                    shaded && y < shade->height
                        ? &shade->values[static_cast<std::size_t>(y) * shade->width]
                        : nullptr;
                for (int x = 0; x < width; ++x) {
                    const float elevation = cells[nearestColumns[x]] + minimum;
                    const float s = shades != nullptr && x < shade->width ? shades[x] : 1.0f;
                    store(out + 3 * x, colorForElevation(scale, settings, elevation, s));
                }
            } else {
                const float shadeRow = static_cast<float>(y) / geometry.zoom;
                for (int x = 0; x < width; ++x) {
                    const float elevation = terrain::ElevationAt(terrain, columnsF[x], rowF, true);
                    const float s =
                        shaded ? interpolatedShade(*shade, static_cast<float>(x) / geometry.zoom,
                                                   shadeRow)
                               : 1.0f;
                    store(out + 3 * x, colorForElevation(scale, settings, elevation, s));
                }
            }
        }
    };
    const int threadCount = threads > 0 ? threads : defaultThreadCount();
    for (int begin = 0; begin < height; begin += rowsPerReport) {
        const int end = std::min(height, begin + rowsPerReport);
        parallelRows(begin, end, threadCount, work);
        if (!support::reportProgress(progress, end, height)) {
            return support::Error{support::ErrorCode::OperationCancelled, "stopped"};
        }
    }
    return support::success();
}

}  // namespace tavrok::overhead

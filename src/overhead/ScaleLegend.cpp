#include "overhead/ScaleLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "overhead/CoordinateMode.h"
#include "overhead/ViewGeometry.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

namespace {

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

constexpr double feetPerKilometre = 3280.8;
constexpr double milesPerKilometre = 0.62136364;

}  // namespace

ScaleLegendInput legendInputFor(const terrain::TerrainHeader& header,
                                const colour::ScaleSettings& scale, float zoom, bool feet) {
    ScaleLegendInput input;
    input.terrainMinimum = header.minElevation;
    input.terrainMaximum = header.maxElevation;
    input.verticalUnitFactor = header.verticalUnitFactor;
    input.globalTiles = header.gridKind == terrain::gridKindSinusoidal;
    input.scaleMinimum = scale.scaleMinimum;
    input.scaleMaximum = scale.scaleMaximum;
    input.zoom = zoom;
    input.spacingX = header.spacingX;
    input.metresPerUnitX = header.metresPerUnitX;
    input.feet = feet;
    return input;
}

std::array<int, legendBarHeight> legendBarIndices(const ScaleLegendInput& input) {
    std::array<int, legendBarHeight> indices{};
    const double top = input.terrainMaximum;
    const double bottom = input.terrainMinimum;
    const double lo = input.scaleMinimum;
    const double hi = input.scaleMaximum;
    for (int r = 0; r < legendBarHeight; ++r) {
        const double e = top - r * (top - bottom) / 232.0;
        double v = (e - lo) * 232.0 / (hi - lo);
        if (std::isnan(v)) {
            v = 0;
        }
        v = std::clamp(v, 0.0, 226.0);
        indices[r] = colour::paletteRampStart + terrain::RoundToInt(v);
    }
    return indices;
}

std::array<std::string, 4> legendHeightLabels(const ScaleLegendInput& input) {
    const double range =
        input.globalTiles ? input.terrainMaximum : input.terrainMaximum - input.terrainMinimum;
    const double heightKm = range * input.verticalUnitFactor / 1000.0;
    std::array<std::string, 4> labels;
    for (int k = 0; k < 4; ++k) {
        const double km = input.terrainMinimum / 1000.0 + heightKm * (1.0 - k / 4.0);
        labels[k] = input.feet ? format("%-5i ft", terrain::RoundToInt(km * feetPerKilometre))
                               : format("%-6.2fkm", km);
    }
    return labels;
}

std::string legendWidthLabel(const ScaleLegendInput& input) {
    const double km =
        sceneMatrixSize(input.zoom) * (input.spacingX * input.metresPerUnitX) / 1000.0;
    return input.feet ? format("%-6.2f mi", km * milesPerKilometre) : format("%-6.2f km", km);
}

support::RgbImage drawScaleLegend(const ScaleLegendInput& input, const colour::Palette& palette,
                                  const support::PainterFactory& painterFactory) {
    TextMetrics metrics;
    // Measure with a throw-away painter so that the picture can be sized before drawing.
    if (painterFactory) {
        support::RgbImage probe(1, 1);
        if (const auto painter = painterFactory(probe)) {
            metrics = {painter->averageCharWidth(), painter->lineHeight()};
        }
    }
    const int cw = metrics.averageCharWidth;
    const int lh = metrics.lineHeight;
    const int margin = cw;
    const int barWidth = 3 * cw;
    const int barTop = lh / 2;
    const int width = margin + barWidth + cw + 9 * cw + margin;
    const int lineY = barTop + legendBarHeight + 2 * lh;
    const int height = lineY + 3 * lh;
    support::RgbImage image(std::max(width, 15 * cw), height);

    const auto indices = legendBarIndices(input);
    for (int r = 0; r < legendBarHeight; ++r) {
        for (int x = margin; x < margin + barWidth; ++x) {
            image.setPixel(x, barTop + r, palette[indices[r]]);
        }
    }
    const support::Rgb black{0, 0, 0};
    const int lineLength = 13 * cw;
    std::unique_ptr<support::Painter> painter;
    if (painterFactory) {
        painter = painterFactory(image);
    }
    if (painter) {
        painter->drawLine(margin, lineY, margin + lineLength, lineY, black, 1);
    } else {
        for (int x = margin; x <= margin + lineLength; ++x) {
            image.setPixelClipped(x, lineY, black);
        }
    }
    if (!painter) {
        return image;
    }
    const auto labels = legendHeightLabels(input);
    const int labelX = margin + barWidth + cw;
    for (int k = 0; k < 4; ++k) {
        painter->drawText(labelX, barTop + 60 * k - lh / 2 + 1, labels[k], black);
    }
    painter->drawText(margin, barTop + legendBarHeight + lh / 4, "Scene Height", black);
    painter->drawText(margin, lineY - lh - 1, legendWidthLabel(input), black);
    painter->drawText(margin, lineY + lh / 4, "Scene Width", black);
    return image;
}

}  // namespace tavrok::overhead

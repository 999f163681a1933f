#pragma once
#include <array>
#include <string>

#include "colour/ColorScale.h"
#include "colour/Palette.h"
#include "support/Painter.h"
#include "support/RgbImage.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::overhead {

inline constexpr int legendBarHeight = 233;  // pixels

// What the "Scale" legend shows.
struct ScaleLegendInput {
    double terrainMinimum = 0;  // minElevation and maxElevation of the terrain
    double terrainMaximum = 0;
    float verticalUnitFactor = 1.0f;  // 1.0 metres, 0.3048 feet
    bool globalTiles = false;         // the maximum alone gives the height range
    std::int32_t scaleMinimum = 0;    // metres, the colour scale's range
    std::int32_t scaleMaximum = 0;
    float zoom = 1.0f;            // overhead pixels per cell
    float spacingX = 0;           // column spacing in grid units
    float metresPerUnitX = 1.0f;  // metres per grid unit
    bool feet = false;            // labels in feet and miles instead of km
};

// The legend's input for a terrain, the current scale and the overhead zoom.
ScaleLegendInput legendInputFor(const terrain::TerrainHeader& header,
                                const colour::ScaleSettings& scale, float zoom, bool feet);

// Palette index of each bar row, top first: 6 + v where v = (e − lo)·232/(hi − lo) of the row's
// elevation, clamped to 0..226 and rounded half away from zero (NaN counts as 0).
std::array<int, legendBarHeight> legendBarIndices(const ScaleLegendInput& input);
// The four height labels, top first: "%-6.2fkm" or "%-5i ft".
std::array<std::string, 4> legendHeightLabels(const ScaleLegendInput& input);
// The ground distance of the scene's cell count: "%-6.2f km" or "%-6.2f mi".
std::string legendWidthLabel(const ScaleLegendInput& input);

// Paints the whole legend on a white background: the bar, its four labels, "Scene Height", the
// 13-character line with the width label and "Scene Width". Text needs a painter; without a
// factory only the bar and the line are drawn.
support::RgbImage drawScaleLegend(const ScaleLegendInput& input, const colour::Palette& palette,
                                  const support::PainterFactory& painterFactory = {});

}  // namespace tavrok::overhead

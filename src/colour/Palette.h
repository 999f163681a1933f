#pragma once
#include <array>

#include "colour/ColorScale.h"

namespace tavrok::colour {

// 236 palette-style colours.
inline constexpr int paletteSize = 236;
inline constexpr int paletteOceanIndex = 2;
inline constexpr int paletteRampStart = 6;  // 6 + 16k + j: terrain colour k, sixteenth j
using Palette = std::array<Rgb, paletteSize>;

// The overhead palette: 0, 1, 3, 4, 5 black; 2 ocean; 6 + 16k + j the ramp from entry k to
// entry k+1 in sixteenths (per channel in floating point, truncated); 230..233 entry 14;
// 234 waypoint; 235 sky. Drawing by index (the ocean, the legend bar) reads it.
Palette buildOverheadPalette(const ColorScale& overhead);

// The scene's shade table: 0 text, 1 waypoint, 2 ocean, 3 (255, 40, 0), 4 (0, 170, 0), 5 black;
// 6 + 16c + i the terrain colour c darkened by (15 − i)·m/16 per channel, m its largest
// channel, clamped to 0..255 (i = 15 the colour itself); then 6 holds the sky colour.
Palette buildSceneShades(const ColorScale& scene);

}  // namespace tavrok::colour

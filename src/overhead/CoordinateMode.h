#pragma once

namespace tavrok::overhead {

// How coordinates are shown in the readout and the grid labels; the values are the menu
// commands that choose them, which is also what the settings store.
enum class CoordinateMode { DegreeMinSec = 40021, DecimalDegree = 40022, UtmMeters = 40121 };

// Line metrics of the text font, pixels: what placement needs when no Painter measures text.
struct TextMetrics {
    int averageCharWidth = 9;
    int lineHeight = 22;
};

}  // namespace tavrok::overhead

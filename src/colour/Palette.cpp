#include "colour/Palette.h"

#include <algorithm>

namespace tavrok::colour {

namespace {

std::uint8_t clampChannel(double value) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

}  // namespace

Palette buildOverheadPalette(const ColorScale& overhead) {
    Palette palette{};
    const auto& e = overhead.entries;
    palette[paletteOceanIndex] = e[oceanEntry];
    for (int k = 0; k < terrainColorCount; ++k) {
        for (int j = 0; j < 16; ++j) {
            const auto ramp = [j](std::uint8_t from, std::uint8_t to) {
                return static_cast<std::uint8_t>(
                    static_cast<int>(from + j * (static_cast<double>(to) - from) / 16.0));
            };
            palette[paletteRampStart + 16 * k + j] = {ramp(e[k].red, e[k + 1].red),
                                                      ramp(e[k].green, e[k + 1].green),
                                                      ramp(e[k].blue, e[k + 1].blue)};
        }
    }
    for (int i = 230; i <= 233; ++i) {
        palette[i] = e[topBandEntry];
    }
    palette[234] = e[waypointEntry];
    palette[235] = e[skyEntry];
    return palette;
}

Palette buildSceneShades(const ColorScale& scene) {
    Palette shades{};
    const auto& e = scene.entries;
    shades[0] = e[gridEntry];
    shades[1] = e[waypointEntry];
    shades[2] = e[oceanEntry];
    shades[3] = {255, 40, 0};
    shades[4] = {0, 170, 0};
    for (int c = 0; c < terrainColorCount; ++c) {
        const double m = std::max({e[c].red, e[c].green, e[c].blue});
        for (int i = 0; i < 16; ++i) {
            const double darken = (15 - i) * m / 16.0;
            shades[paletteRampStart + 16 * c + i] = {clampChannel(e[c].red - darken),
                                                     clampChannel(e[c].green - darken),
                                                     clampChannel(e[c].blue - darken)};
        }
    }
    shades[paletteRampStart] = e[skyEntry];
    return shades;
}

}  // namespace tavrok::colour

#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "support/RgbImage.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::colour {

using support::Rgb;

// Entries of a colour table.
inline constexpr int terrainColorCount = 14;  // entries 0..13, lowest elevation first
inline constexpr int topBandEntry = 14;       // a copy of entry 13 that closes the top band
inline constexpr int gridEntry = 15;          // grid and labels overhead, text in the scene
inline constexpr int waypointEntry = 16;
inline constexpr int oceanEntry = 17;  // also the background around the overhead map
inline constexpr int skyEntry = 18;
inline constexpr int colorEntryCount = 20;  // entry 19 is spare and stays black

// Twenty colours: the terrain colours, then grid/text, waypoint, ocean, sky and a spare.
// One table colours the overhead view, another the 3D scene.
struct ColorScale {
    std::array<Rgb, colorEntryCount> entries{};

    friend bool operator==(const ColorScale&, const ColorScale&) = default;
};

// How sea level is treated: MountainPlain never draws ocean.
enum class TerrainType { MountainPlain, IslandOcean, Lowlands };

// "Mountain/Plain", "Island/Ocean", "Lowlands".
std::string_view terrainTypeName(TerrainType type);

// The settings both tables share.
struct ScaleSettings {
    std::int32_t scaleMinimum = 0;  // metres; the elevation of terrain colour 0
    std::int32_t scaleMaximum = 0;  // metres; the top of the scale
    TerrainType terrainType = TerrainType::MountainPlain;
    std::int32_t seaLevel = 0;  // metres; at or below it is ocean unless MountainPlain
};

// The fixed default tables (entries 0..18; entry 19 black).
const ColorScale& sceneDefaultScale();
const ColorScale& overheadDefaultScale();
const ColorScale& marsOverheadDefaultScale();

// Mars polar grids and MOLA global tile sets.
bool isMarsTerrain(const terrain::TerrainHeader& header);
// The terrain type a fresh load gets: MountainPlain for Earth UTM, Mars polar and MOLA global
// grids; Lowlands for Earth Lat/Lon grids, X/Y matrices and GLOBE or GTOPO30 tile sets.
TerrainType defaultTerrainType(const terrain::TerrainHeader& header);

// Copies the Mars or the ordinary overhead default (entries 0..18) into the table; entry 19 is
// left alone. The caller rebuilds the overhead palette.
void resetOverheadScaleForTerrain(ColorScale& overhead, bool mars);

// The colour of one overhead pixel: ocean (drawn unshaded with the ocean colour) or a terrain
// colour already multiplied by the shade.
struct ElevationColor {
    bool ocean = false;
    Rgb color;
};

// elevation: absolute metres; shade: 0..1 (1 unshaded). Land colours are interpolated between
// the 14 terrain colours over scaleMinimum..scaleMaximum, clamped at both ends, and each channel
// is truncated after the shade is applied. With scaleMaximum ≤ scaleMinimum every land pixel
// takes terrain colour 0. Inline: it runs for every pixel.
inline ElevationColor colorForElevation(const ColorScale& scale, const ScaleSettings& settings,
                                        float elevation, float shade) {
    if (settings.terrainType != TerrainType::MountainPlain &&
        elevation <= static_cast<float>(settings.seaLevel)) {
        return {true, scale.entries[oceanEntry]};
    }
    const auto lo = static_cast<float>(settings.scaleMinimum);
    const auto hi = static_cast<float>(settings.scaleMaximum);
    float f = hi > lo ? (elevation - lo) * 14.0f / (hi - lo) : 0.0f;
    f = f < 0.0f ? 0.0f : (f > 14.0f ? 14.0f : f);
    const int k = static_cast<int>(f);
    const float t = f - static_cast<float>(k);
    const Rgb& a = scale.entries[k];
    const Rgb& b = scale.entries[k + 1];
    const auto channel = [t, shade](std::uint8_t from, std::uint8_t to) {
        const float value =
            (static_cast<float>(from) + (static_cast<float>(to) - static_cast<float>(from)) * t) *
            shade;
        return static_cast<std::uint8_t>(static_cast<int>(value));
    };
    return {false, {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)}};
}

}  // namespace tavrok::colour

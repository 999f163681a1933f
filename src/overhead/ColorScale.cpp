#include "overhead/ColorScale.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace tavrok::overhead {

namespace {

constexpr ColorScale makeScale(std::initializer_list<Rgb> colours) {
    ColorScale scale;
    std::size_t i = 0;
    for (const Rgb& colour : colours) {
        scale.entries[i++] = colour;
    }
    return scale;
}

constexpr ColorScale sceneDefault = makeScale({
    {125, 121, 113}, {135, 127, 112}, {145, 134, 111}, {155, 140, 110}, {165, 147, 109},
    {175, 153, 108}, {185, 160, 107}, {195, 166, 106}, {205, 173, 105}, {215, 179, 104},
    {225, 186, 103}, {235, 192, 102}, {245, 199, 101}, {255, 206, 101}, {255, 206, 101},
    {20, 60, 110},   {198, 39, 21},   {60, 80, 100},   {142, 162, 180},
});

constexpr ColorScale overheadDefault = makeScale({
    {139, 146, 112}, {158, 159, 117}, {177, 173, 123}, {196, 186, 129}, {215, 200, 135},
    {208, 190, 128}, {202, 180, 121}, {195, 170, 114}, {189, 160, 107}, {183, 150, 101},
    {179, 154, 113}, {175, 158, 126}, {171, 162, 138}, {167, 167, 151}, {167, 167, 151},
    {0, 0, 0},       {198, 38, 20},   {60, 80, 100},   {142, 162, 180},
});

constexpr ColorScale marsOverheadDefault = makeScale({
    {141, 84, 43},   {164, 114, 66},  {188, 144, 89},  {211, 174, 112}, {235, 205, 136},
    {219, 185, 120}, {204, 165, 105}, {189, 145, 90},  {174, 125, 75},  {159, 106, 60},
    {174, 134, 100}, {189, 163, 140}, {204, 191, 180}, {220, 220, 220}, {220, 220, 220},
    {0, 0, 0},       {198, 38, 20},   {100, 130, 160}, {142, 162, 180},
});

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint8_t clampChannel(double value) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

}  // namespace

std::string_view terrainTypeName(TerrainType type) {
    switch (type) {
        case TerrainType::MountainPlain:
            return "Mountain/Plain";
        case TerrainType::IslandOcean:
            return "Island/Ocean";
        case TerrainType::Lowlands:
            return "Lowlands";
    }
    return "";
}

const ColorScale& sceneDefaultScale() {
    return sceneDefault;
}
const ColorScale& overheadDefaultScale() {
    return overheadDefault;
}
const ColorScale& marsOverheadDefaultScale() {
    return marsOverheadDefault;
}

bool isMarsTerrain(const terrain::TerrainHeader& header) {
    return header.gridKind == terrain::gridKindMarsPolar ||
           (header.gridKind == terrain::gridKindSinusoidal &&
            header.planet == terrain::Planet::Mars);
}

TerrainType defaultTerrainType(const terrain::TerrainHeader& header) {
    if (isMarsTerrain(header)) {
        return TerrainType::MountainPlain;
    }
    if (header.gridKind == terrain::gridKindDem &&
        header.coordinateType == terrain::coordinateTypeUtm) {
        return TerrainType::MountainPlain;
    }
    return TerrainType::Lowlands;
}

void resetOverheadScaleForTerrain(ColorScale& overhead, bool mars) {
    const ColorScale& source = mars ? marsOverheadDefault : overheadDefault;
    std::copy_n(source.entries.begin(), skyEntry + 1, overhead.entries.begin());
}

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

support::Status saveColorScale(const std::filesystem::path& path, const ColorScaleFile& contents) {
    std::array<std::uint8_t, colorScaleFileSize> bytes{};
    for (int i = 0; i < colorEntryCount; ++i) {
        bytes[4 * i] = contents.scale.entries[i].red;
        bytes[4 * i + 1] = contents.scale.entries[i].green;
        bytes[4 * i + 2] = contents.scale.entries[i].blue;
    }
    const auto put = [&bytes](std::size_t at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int b = 0; b < 4; ++b) {
            bytes[at + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    };
    put(80, contents.scaleMinimum);
    put(84, contents.scaleMaximum);
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    return support::success();
}

support::Result<ColorScaleFile> loadColorScale(const std::filesystem::path& path) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    // One byte more than the format holds tells a long file from a good one.
    std::array<std::uint8_t, colorScaleFileSize + 1> bytes{};
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    if (size != colorScaleFileSize) {
        return support::Error{support::ErrorCode::NotAColorScaleFile,
                              path.string() + ": " + std::to_string(size) + " bytes"};
    }
    ColorScaleFile contents;
    for (int i = 0; i < colorEntryCount; ++i) {
        contents.scale.entries[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2]};
    }
    const auto get = [&bytes](std::size_t at) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) {
            bits |= static_cast<std::uint32_t>(bytes[at + b]) << (8 * b);
        }
        return static_cast<std::int32_t>(bits);
    };
    contents.scaleMinimum = get(80);
    contents.scaleMaximum = get(84);
    return contents;
}

}  // namespace tavrok::overhead

#include "colour/ColorScale.h"

#include <algorithm>
#include <initializer_list>

namespace tavrok::colour {

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

}  // namespace tavrok::colour

#pragma once
#include <array>
#include <cstdint>

#include "colour/ColorScale.h"
#include "colour/Palette.h"
#include "overhead/CoordinateMode.h"
#include "overhead/Shading.h"
#include "overhead/ViewGeometry.h"
#include "support/Painter.h"
#include "support/RgbImage.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::overhead {

// Everything the overhead view and the colour scale keep between commands.
struct OverheadState {
    // The two colour tables, the settings they share and what is derived from them.
    colour::ColorScale overheadScale = colour::overheadDefaultScale();
    colour::ColorScale sceneScale = colour::sceneDefaultScale();
    colour::ScaleSettings scale;
    colour::Palette palette = colour::buildOverheadPalette(colour::overheadDefaultScale());
    colour::Palette sceneShades = colour::buildSceneShades(colour::sceneDefaultScale());
    // "Store 1" and "Store 2" of the colour dialog; black until something is stored.
    std::array<colour::ColorScale, 2> colorStores{};

    LightingParameters lighting;
    CoordinateMode coordinateMode = CoordinateMode::UtmMeters;
    bool latLonGrid = true;

    // The current image (top row north) and how it lies in the window.
    ViewGeometry geometry;
    support::RgbImage image;
    // Batch use (the command line): nobody watches the map grow and no repaint reuses the
    // shades, so at zoom ≤ 1 each row is coloured as soon as it is shaded and no shade grid
    // is kept.
    bool batch = false;
    // While the scene square is being sized on the map, a "Matrix Size" box shows its cells.
    bool mapSizeMode = false;
    // The shade grid and what it was computed for; a change of any recomputes it.
    ShadeGrid shade;
    ViewGeometry shadedGeometry;
    LightingParameters shadedLighting;
    // The document revision the shade grid was computed for; 0 never matches a terrain.
    std::uint64_t shadedRevision = 0;

    // The terrain identity the per-load defaults were last applied for, and the kind of the
    // terrain the colour table was last chosen for.
    std::uint64_t defaultsAppliedTo = 0;
    bool colorTableApplied = false;
    int colorTableGridKind = -1;
    terrain::Planet colorTablePlanet = terrain::Planet::Earth;

    // Supplies fonts for the grid labels; without one the grid is drawn without labels.
    support::PainterFactory painterFactory;
};

}  // namespace tavrok::overhead

#include "overhead/OverheadView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "overhead/LatLonGrid.h"
#include "overhead/Render.h"

namespace tavrok::overhead {

namespace {

void drawGridIfShown(OverheadState& state, const terrain::Terrain& terrain,
                     const ViewGeometry& geometry) {
    if (!state.latLonGrid) {
        return;
    }
    std::unique_ptr<support::Painter> painter;
    if (state.painterFactory) {
        painter = state.painterFactory(state.image);
    }
    drawLatLonGrid(state.image, terrain, geometry, state.overheadScale.entries[colour::gridEntry],
                   state.coordinateMode == CoordinateMode::DegreeMinSec, painter.get());
}

// Shades and colours in one pass without keeping the shade grid.
support::Status buildBatchView(OverheadState& state, const terrain::Terrain& terrain,
                               const ViewGeometry& geometry,
                               const support::ProgressCallback& progress) {
    state.shade = {};
    state.geometry = geometry;
    try {
        const auto rendered =
            renderShadedOverhead(terrain, geometry, state.lighting, state.overheadScale,
                                 state.scale, state.image, progress);
        if (!rendered) {
            return rendered;
        }
    } catch (const std::bad_alloc&) {
        state.image = {};
        return support::Error{support::ErrorCode::NotEnoughMemory, "overhead image"};
    }
    drawGridIfShown(state, terrain, geometry);
    return support::success();
}

// The scale's limits are whole metres: an extreme the integer cannot hold is clamped rather
// than converted into undefined behaviour (a NaN becomes 0).
std::int32_t wholeScaleLimit(double elevation) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(elevation)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(elevation, lowest, highest));
}

}  // namespace

void applyTerrainDefaults(OverheadState& state, const terrain::Terrain& terrain,
                          std::uint64_t terrainIdentity, bool keepSettings) {
    if (!terrain.loaded || terrainIdentity == state.defaultsAppliedTo) {
        return;
    }
    state.defaultsAppliedTo = terrainIdentity;
    const auto& header = terrain.header;
    state.scale.scaleMinimum = wholeScaleLimit(header.minElevation);
    state.scale.scaleMaximum = wholeScaleLimit(header.maxElevation);
    if (!keepSettings) {
        state.scale.terrainType = colour::defaultTerrainType(header);
    }
    if (!state.colorTableApplied || state.colorTableGridKind != header.gridKind ||
        state.colorTablePlanet != header.planet) {
        colour::resetOverheadScaleForTerrain(state.overheadScale, colour::isMarsTerrain(header));
        state.palette = colour::buildOverheadPalette(state.overheadScale);
        state.colorTableApplied = true;
        state.colorTableGridKind = header.gridKind;
        state.colorTablePlanet = header.planet;
    }
}

support::Status buildOverheadView(OverheadState& state, const terrain::Terrain& terrain,
                                  std::uint64_t revision, float zoom, int clientWidth,
                                  int clientHeight,
                                  const support::ProgressCallback& shadingProgress,
                                  const support::ProgressCallback& renderProgress) {
    if (!terrain.loaded) {
        return support::Error{support::ErrorCode::NoTerrainLoaded, "overhead view"};
    }
    const auto& grid = terrain.grid;
    const ViewGeometry geometry =
        ViewGeometry::compute(grid.rows(), grid.columns(), zoom, clientWidth, clientHeight);
    if (geometry.width < 1 || geometry.height < 1) {
        return support::Error{support::ErrorCode::IncorrectValues, "zoom gives no pixel"};
    }
    // A tall, narrow terrain at a large zoom: refused before anything is allocated, and the
    // map shown so far stays.
    if (!geometry.withinImageLimits()) {
        const std::string size =
            std::to_string(geometry.width) + " x " + std::to_string(geometry.height);
        return support::Error{support::ErrorCode::NotEnoughMemoryForShading, size,
                              "the map would be " + size + " pixels; at most " +
                                  std::to_string(largestImageSide) + " a side are drawn"};
    }
    if (state.batch && geometry.zoom <= 1.0f) {
        return buildBatchView(state, terrain, geometry, renderProgress);
    }
    support::Status outcome = support::success();
    const bool shadeValid = !state.shade.empty() && state.shadedRevision == revision &&
                            state.shadedGeometry.width == geometry.width &&
                            state.shadedGeometry.height == geometry.height &&
                            state.shadedGeometry.zoom == geometry.zoom &&
                            state.shadedLighting == state.lighting;
    if (!shadeValid) {
        auto shade = computeShading(terrain, geometry, state.lighting, shadingProgress);
        if (!shade.ok()) {
            if (shade.error().code == support::ErrorCode::MapResizingCancelled) {
                return shade.error();
            }
            outcome = shade.error();
            if (!shadeValid) {
                state.shade = {};
            }
        } else {
            state.shade = std::move(shade.value());
            state.shadedRevision = revision;
            state.shadedGeometry = geometry;
            state.shadedLighting = state.lighting;
        }
    }
    state.geometry = geometry;
    try {
        state.image = support::RgbImage(geometry.width, geometry.height);
    } catch (const std::bad_alloc&) {
        state.image = {};
        return support::Error{support::ErrorCode::NotEnoughMemory, "overhead image"};
    }
    const support::ProgressCallback growing = [&renderProgress](long done, long total) {
        support::reportProgress(renderProgress, done, total);
        return true;
    };
    renderOverhead(terrain, geometry, state.shade.empty() ? nullptr : &state.shade,
                   state.overheadScale, state.scale, state.image, growing);
    drawGridIfShown(state, terrain, geometry);
    return outcome;
}

}  // namespace tavrok::overhead

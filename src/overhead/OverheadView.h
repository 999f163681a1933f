#pragma once
#include <cstdint>

#include "overhead/OverheadState.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/Terrain.h"

namespace tavrok::overhead {

// After a new terrain: the scale minimum and maximum become the terrain's extremes (truncated),
// the terrain type its default by kind (unless keepSettings), and the overhead table is reset
// to the Mars or the ordinary default when no table was applied yet or the grid kind or planet
// changed. Does nothing for a terrain whose identity (see terrain::Document) it has already
// seen.
void applyTerrainDefaults(OverheadState& state, const terrain::Terrain& terrain,
                          std::uint64_t terrainIdentity, bool keepSettings = false);

// Builds the overhead image of the terrain at the zoom for a client area (pixels): the geometry,
// the shade grid when the geometry, the terrain's revision or the light changed, the coloured image
// and, when switched on, the lat/lon grid with labels. Errors: IncorrectValues for a zoom that
// gives no pixel (nothing changed); MapResizingCancelled when the
// shading was stopped (nothing changed; the caller fits the zoom to the window and tries
// again); NotEnoughMemory when the image cannot be had (no image); NotEnoughMemoryForShading
// (the image is built with the old shading, or unshaded). shadingProgress reports grid rows,
// renderProgress image rows (its answer is ignored: the map always completes).
support::Status buildOverheadView(OverheadState& state, const terrain::Terrain& terrain,
                                  std::uint64_t revision, float zoom, int clientWidth,
                                  int clientHeight,
                                  const support::ProgressCallback& shadingProgress = {},
                                  const support::ProgressCallback& renderProgress = {});

}  // namespace tavrok::overhead

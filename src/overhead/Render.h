#pragma once
#include "colour/ColorScale.h"
#include "overhead/Shading.h"
#include "overhead/ViewGeometry.h"
#include "support/Progress.h"
#include "support/RgbImage.h"
#include "terrain/Terrain.h"

namespace tavrok::overhead {

// Colours the image (geometry.width × geometry.height, top row north) from the terrain, the
// shade grid (null or empty: unshaded) and the overhead colour scale. With zoom ≤ 1 each
// pixel takes its nearest cell (a missing cell reads as minElevation − 1) and its own shade;
// with zoom > 1 the elevation is interpolated (missing cells left out) and the per-cell shades
// bilinearly. Ocean pixels take the ocean colour unshaded. Progress is reported in image rows;
// a false answer stops with OperationCancelled, leaving the rows not yet drawn as they were.
// threads ≤ 0 uses every core; the pixels do not depend on the thread count.
support::Status renderOverhead(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                               const ShadeGrid* shade, const colour::ColorScale& scale,
                               const colour::ScaleSettings& settings, support::RgbImage& image,
                               const support::ProgressCallback& progress = {}, int threads = 0);

// computeShading followed by renderOverhead at zoom ≤ 1 (the caller checks), with the same
// pixels, but each row is coloured as soon as it is shaded and the shade grid is never held:
// for batch use, where no repaint reuses the shades. An image of another size is replaced by
// one whose pixels are all written here. Stop gives MapResizingCancelled.
support::Status renderShadedOverhead(const terrain::Terrain& terrain, const ViewGeometry& geometry,
                                     const LightingParameters& lighting,
                                     const colour::ColorScale& scale,
                                     const colour::ScaleSettings& settings,
                                     support::RgbImage& image,
                                     const support::ProgressCallback& progress = {},
                                     int threads = 0);

}  // namespace tavrok::overhead

#pragma once
#include "importers/LoadedTerrain.h"
#include "support/Result.h"

namespace tavrok::importers {

// Elevations further than this from sea level, up or down, cannot be terrain on Earth or
// Mars: metres, whatever unit the terrain is kept in.
inline constexpr double highestUsableElevation = 100000.0;

// Samples a grid needs along each side before it can say how far apart they are.
inline constexpr int fewestRowsOrColumns = 2;

// The checks every loaded terrain passes before it is installed, whichever importer read it:
// - fewer than 2 rows or columns: ImproperRowsOrColumns (the spacing is undefined);
// - a spacing that is zero, negative or not finite, bounds that are not finite, and for
//   Lat/Lon terrains a latitude outside -90..90, a longitude outside -360..360 (grids on
//   0..360 stay valid) or longitudes spanning more than 360 degrees: ImproperGeoreferencing;
// - a lowest or highest elevation that is not finite or lies further than
//   highestUsableElevation metres from sea level: ElevationOutOfRange.
// The detail names the value at fault. On success, cells that are not finite become missing
// (and are counted as such); the terrain is otherwise untouched.
support::Status CheckLoadedTerrain(LoadedTerrain& loaded);

}  // namespace tavrok::importers

#pragma once
#include "support/Result.h"
#include "terrain/Terrain.h"

namespace tavrok::edit {

// How a terrain is cropped, by its kind.
enum class CropKind {
    Planar,          // UTM DEM or X/Y matrix: limits in the grid's units (metres)
    Geographic,      // geographic DEM: limits in decimal degrees
    SinusoidalGrid,  // a global tile set shown in Lat/Lon: decimal degrees on its degree steps
    MarsPolar,       // a window of a Mars polar image, re-read by its importer
    Refused,         // a sinusoidal projection cannot be cropped
};
CropKind cropKindOf(const terrain::TerrainHeader& header);

// A rectangle on the grid in fractional cells, row 0 south: west ≤ east, south ≤ north.
struct CellRectangle {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// Crop limits as the "Adjust Limits" dialog shows them: metres (or the matrix's units) for
// planar grids, decimal degrees otherwise; west and east are x, south and north y.
struct CropLimits {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;

    bool formsRectangle() const { return west < east && south < north; }
    friend bool operator==(const CropLimits&, const CropLimits&) = default;
};

// The limits under a selected rectangle when the dialog opens: planar limits snapped down to
// the spacing, degree steps of a global tile set likewise, all clamped to the terrain.
CropLimits limitsUnderSelection(const terrain::TerrainHeader& header, const CellRectangle& cells);
// What the dialog's OK does with edited limits: clamped to the terrain (a global tile set's
// limits snapped to its degree steps first). The caller still checks formsRectangle().
CropLimits acceptedLimits(const terrain::TerrainHeader& header, CropLimits limits);

// The terrain resampled onto the limits (planar limits snapped once more): the same spacing,
// cells interpolated bilinearly from the present ones, missing where none is present, stored
// above the new lowest ground. Fails with ImproperBoundaries when the limits, clamped, do not
// form a rectangle, with NotEnoughMemory, and with CannotSelectAreaSinusoidal for a sinusoidal
// projection. The terrain given is not changed.
support::Result<terrain::Terrain> cropTerrain(const terrain::Terrain& terrain, CropLimits limits);

}  // namespace tavrok::edit

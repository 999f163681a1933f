#pragma once
#include <string>

#include "geodesy/Ellipsoid.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/Terrain.h"

namespace tavrok::edit {

// The geographic area a conversion covers, in decimal degrees: the west and south edges, and
// the east and north edges one sample inside the terrain's last column and row.
struct GeographicArea {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// Whether "Convert to UTM Projection" may start, tested in this order: a MOLA tile set, a Mars
// polar terrain, a sinusoidal projection, a terrain already in UTM, then for Lat/Lon terrain
// the area south of −80°, north of 84° or across the equator. Each refusal is an ErrorCode
// whose text the user reads; an X/Y matrix passes (it is declared UTM through "UTM Global
// Coordinates", not resampled).
support::Status checkUtmConversion(const terrain::TerrainHeader& header);
GeographicArea conversionArea(const terrain::TerrainHeader& header);
bool isPlanarMatrix(const terrain::TerrainHeader& header);

// The UTM grid a Lat/Lon terrain is resampled onto.
struct UtmConversionPlan {
    geodesy::EllipsoidId ellipsoid = geodesy::EllipsoidId::Wgs84;
    int zone = 0;           // 1 .. 60, of the area's centre
    char hemisphere = 'N';  // 'N' or 'S'
    std::string zoneText;   // "13N"
    double west = 0;        // easting of column 0, metres
    double south = 0;       // northing of row 0, metres
    double east = 0;        // easting of the last column
    double north = 0;       // northing of the last row
    int spacing = 0;        // metres between cells, both ways
    int rows = 0;
    int columns = 0;
};

// The zone of the area's centre and the grid that covers the area's four corners, with whole
// spacings (over 10 m a multiple of 10) snapped down. AreaTooWideForUtm when a corner cannot
// be expressed in that zone (the caller may offer the sinusoidal layout), and
// ScaleTooSmallForConversion below 1 m.
support::Result<UtmConversionPlan> planUtmConversion(const terrain::TerrainHeader& header,
                                                     geodesy::EllipsoidId ellipsoid);

// Grids this wide or tall take each cell's latitude and longitude from a coarse table of
// converted positions instead of converting every cell.
inline constexpr int coarseTableThreshold = 1000;

// The terrain resampled bilinearly onto the plan's grid. Missing cells, cells off the old grid
// and cells whose position could not be converted stay missing; the rest are stored above the
// new lowest ground. Progress is reported in rows; a stop ends with ConversionCancelled.
// CannotConvertArea when the result holds no relief (no valid cell, or all equal);
// NotEnoughMemory. The terrain given is never changed.
support::Result<terrain::Terrain> convertToUtm(const terrain::Terrain& terrain,
                                               const UtmConversionPlan& plan,
                                               const support::ProgressCallback& progress = {});

// The layout offered when the area is too wide for one zone: each row is stretched about the
// central meridian by 1 / cos(latitude), the columns every row left blank are cut from both
// sides, and the terrain becomes a Sinusoidal global grid. Blank cells are missing.
support::Result<terrain::Terrain> sinusoidalLayout(const terrain::Terrain& terrain,
                                                   const support::ProgressCallback& progress = {});

// "Change UTM Ellipsoid": the corners keep their latitudes and longitudes and are expressed on
// the new ellipsoid in the terrain's zone, to the nearest metre; the grid does not change.
// Refusals: CannotConvertMolaToUtm, CannotConvertMarsPolarToUtm, CannotConvertSinusoidalToUtm,
// NotUsingUtm, NoEllipsoidChangeRequired; UnusableUtmCoordinates when a corner cannot be moved.
support::Status checkEllipsoidChange(const terrain::TerrainHeader& header);
support::Result<terrain::TerrainHeader> changeUtmEllipsoid(const terrain::TerrainHeader& header,
                                                           geodesy::EllipsoidId ellipsoid);

// Fills the UTM-derived fields of a header: ellipsoid and its code, zone, hemisphere, zone
// text, and the geographic bounds from the four corners.
void setUtmZone(terrain::TerrainHeader& header, geodesy::EllipsoidId ellipsoid, int zone,
                char hemisphere);

}  // namespace tavrok::edit

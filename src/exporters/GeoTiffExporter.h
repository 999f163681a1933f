#pragma once
#include "exporters/Registry.h"

namespace tavrok::exporters {

// Why a terrain cannot be a GeoTIFF DEM, in this order: GeoTiffOfMola (a Mars MOLA tile set),
// GeoTiffOfMarsPolar, GeoTiffOfSinusoidalProjection; success otherwise.
support::Status refuseGeoTiff(const terrain::TerrainHeader& header);

// The EPSG code of the terrain's coordinate system where one exists: UTM zones on NAD27
// (267zz) and NAD83 (269zz) north of the equator, WGS72 (322zz, 323zz south) and WGS84 (326zz,
// 327zz); geographic grids on NAD27 4267, NAD83 4269, WGS72 4322, WGS84 4326. 0 otherwise
// (other ellipsoids, or a zone the registry lacks): the file then describes the system key by
// key.
int geoTiffEpsgCode(const terrain::TerrainHeader& header);

// The value written for missing cells and declared in the GDAL_NODATA tag: the terrain's
// missing-data value when no present cell can hold it, else the lowest single-precision float.
float geoTiffNoDataValue(const terrain::TerrainHeader& header);

// Saves the terrain as a one-band 32-bit IEEE float GeoTIFF (image row 0 the northern row),
// elevations as stored plus the minimum (depths are not negated), missing cells as the no-data
// value, georeferenced with a tie point half a cell outside the north-west corner sample and
// the column and row spacings as pixel size. Fails with refuseGeoTiff's errors, IncorrectZone
// for a terrain without a UTM zone, CannotOpenFile, CannotWriteFile (nothing is left) or
// OperationCancelled.
support::Status SaveGeoTiffDem(const terrain::Terrain& terrain, const ExportRequest& request,
                               const support::ProgressCallback& progress);

}  // namespace tavrok::exporters

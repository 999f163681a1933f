#pragma once
#include <string>

#include "exporters/Registry.h"

namespace tavrok::exporters {

// Why a terrain cannot be a USGS ASCII DEM, in this order: UsgsDemInSouthernHemisphere (UTM
// south of the equator), UsgsDemOfDepthMatrix, UsgsDemOfSinusoidalProjection,
// UsgsDemOfMarsPolar; success otherwise.
support::Status refuseUsgsDem(const terrain::TerrainHeader& header);

// The 1024-character logical record A of the terrain: title, codes, corners, extremes and
// spacing, with "D" exponents in the corner, projection and elevation fields. A Lat/Lon
// terrain is written with zone 0 and arc-second corners; the terrain keeps its own zone.
std::string usgsDemRecordA(const terrain::TerrainHeader& header);

// Saves the terrain as a USGS ASCII DEM without line breaks: record A, one profile per column
// (south to north, in 1024-character blocks of 146 and then 170 elevations, missing cells
// -32767; UTM profiles run from their first to their last present cell) and the closing
// record. Fails with refuseUsgsDem's errors, IncorrectZone for a terrain without a UTM zone,
// UnableToOpenDemFile, CannotWriteFile (nothing is left) or OperationCancelled.
support::Status SaveUsgsDem(const terrain::Terrain& terrain, const ExportRequest& request,
                            const support::ProgressCallback& progress);

}  // namespace tavrok::exporters

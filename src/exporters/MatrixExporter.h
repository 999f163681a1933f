#pragma once
#include <filesystem>

#include "exporters/Registry.h"
#include "importers/MatrixHeader.h"

namespace tavrok::exporters {

// The missing-data value a saved matrix uses: the terrain's, except that 0 (a real elevation)
// becomes -9999.
int savedMissingFlag(const terrain::TerrainHeader& header);

// Whether the terrain can be saved with this sample encoding. Int16 samples are elevations
// truncated toward zero (depths negated); a terrain whose extremes, or whose missing-data
// value, lie outside -32768..32767 would wrap, and fails with ElevationsBeyondSignedInteger.
support::Status checkMatrixEncoding(const terrain::TerrainHeader& header,
                                    importers::MatrixEncoding encoding);

// The ".hdr" settings of a saved matrix: corner samples in degrees (geographic, sinusoidal),
// whole metres (UTM) or, for an X/Y matrix, 0 to (count - 1) x spacing x metres per unit on
// each axis; the title, or the data file's base name when the terrain has none.
importers::MatrixHeader savedMatrixHeader(const terrain::TerrainHeader& header,
                                          importers::MatrixEncoding encoding,
                                          const std::filesystem::path& dataFile);

// Saves the terrain as a matrix: the data file (rows from the south, each west to east;
// int16 and float32 least significant byte first, ascii as "%-5.2f " on one line) and the
// ".hdr" beside it. Heights are written as elevations, depths negated; missing cells as the
// missing-data value. Fails with checkMatrixEncoding's error, CannotOpenFile (a file cannot be
// created), CannotWriteFile (the disk refused a byte; nothing is left) or OperationCancelled.
support::Status SaveTerrainMatrix(const terrain::Terrain& terrain, const ExportRequest& request,
                                  const support::ProgressCallback& progress);

}  // namespace tavrok::exporters

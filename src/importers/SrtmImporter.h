#pragma once
#include <filesystem>
#include <vector>

#include "importers/ImportOutcome.h"
#include "importers/LoadedTerrain.h"
#include "importers/MatrixImporter.h"
#include "support/Progress.h"
#include "support/Result.h"

namespace tavrok::importers {

// One SRTM file once read: a geographic grid in the stored form (elevation - minElevation in
// metres, voids -1.0, row 0 south), its degree bounds, spacings and extremes.
using SrtmTileRecord = MatrixFileRecord;

// The south-west corner a ".hgt" base name gives: the first N/S (either case) followed by digits
// from 0 to 89 is the latitude (negative for S), the first E/W followed by digits from 0 to 180
// the longitude (negative for W). A coordinate without its letter, or out of those ranges
// ("N89W181"), is 9999, which the range checks refuse.
struct HgtCorner {
    double latitude = 9999;
    double longitude = 9999;
};
HgtCorner HgtCornerFromName(const std::string& baseName);

// Reads one ".hgt" tile (big-endian 16-bit, 1201 or 3601 square, placed by its name) or one
// ".bil" grid (little-endian 16-bit, with ".hdr" NROWS/NCOLS and ".blw" world file beside it).
// Voids are -32768 in ".hgt"; -32768, -32767 and 0 in ".bil". Errors: SilentFailure when the
// file or a side file cannot be used (no message is due); ImproperRowsOrColumns,
// LongitudeOutOfRange, LatitudeOutOfRange; NotEnoughMemory.
support::Result<SrtmTileRecord> ReadSrtmTile(const std::filesystem::path& path);

// Loads one SRTM file, or merges several adjacent ones into one Lat/Lon grid: later files
// overwrite earlier ones on shared edges, uncovered cells stay missing, seams are filled.
// Merge errors: CannotLoadAllMatrixFiles when a file cannot be read, IncompatibleMatrixFiles
// when spacings or zones differ, NotEnoughMemory; OperationCancelled when progress returns false.
// A single file the reader could not use comes back with its error and a fallback: the caller
// shows the error (unless silent) and hands the file to the raw matrix builder.
ImportOutcome LoadSrtmFiles(const std::vector<std::filesystem::path>& paths,
                            const support::ProgressCallback& progress);

}  // namespace tavrok::importers

#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "geodesy/Ellipsoid.h"
#include "importers/ImportOutcome.h"
#include "importers/LoadedTerrain.h"
#include "support/Progress.h"
#include "support/Result.h"
#include "support/TemporaryFiles.h"
#include "terrain/ProjectionKind.h"
#include "terrain/TerrainHeader.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// What a matrix's header and data say about it, without the grid: what merges compare and
// widen.
struct MatrixDescription {
    std::string title;
    terrain::ProjectionKind projection = terrain::ProjectionKind::UTM;
    terrain::DataType dataType = terrain::DataType::Height;
    std::string zoneText;  // UTM only: "13N"
    char hemisphere = 'N';
    geodesy::EllipsoidId ellipsoid = geodesy::EllipsoidId::Clarke1866;
    int rows = 0;
    int columns = 0;
    // Corner samples in whole metres (UTM) or units (X/Y); zero for geographic data.
    int left = 0;
    int lower = 0;
    int right = 0;
    int upper = 0;
    // Degrees: the corners of geographic data, the extremes of the converted corners for UTM.
    // Kept as doubles so that arc-second bounds come out whole for corners such as 44.1.
    double lowerLatitude = 0;
    double upperLatitude = 0;
    double leftLongitude = 0;
    double rightLongitude = 0;
    float minElevation = 0;  // metres, absolute; depths are negative
    float maxElevation = 0;
    double latitudeSpacing = 0;  // degrees, geographic data only
    double longitudeSpacing = 0;
    float spacingX = 0;  // arc-seconds (geographic), metres (UTM) or units (X/Y)
    float spacingY = 0;
    float metresPerUnitX = 1.0f;  // metres per spacingX unit
    float verticalUnitFactor = 1.0f;
    int missingFlag = 0;    // the value the source file used for missing samples
    long missingCells = 0;  // cells of `grid` marked missing
};

// What reading one header-and-data pair yields. The grid is already in the stored form:
// elevation - minElevation in metres, missing cells -1.0, row 0 south.
struct MatrixFileRecord : MatrixDescription {
    // Where the grid waits while other matrices are read; empty while it is held in `grid`.
    std::filesystem::path temporaryMatrixPath;
    terrain::TerrainModel grid;
};

// Reads a matrix data file and the ".hdr" beside it (same base name). Errors:
// SilentFailure when there is no readable ".hdr" or a UTM corner cannot be converted;
// CannotReadHeader, UnknownProjection, UnknownElevationUnit for an unusable header;
// ImproperRowsOrColumns, ImproperCoordinates, LongitudeOutOfRange, LatitudeOutOfRange for a bad
// size or bad corners; CannotOpenFile; ImproperRowsOrColumns when the data file's size does not
// fit; NotEnoughMemory; CannotLoadMatrixFile when the elevations are flat, all missing or above
// 100000 m; OperationCancelled when progress returns false.
support::Result<MatrixFileRecord> ReadMatrixFile(const std::filesystem::path& dataPath,
                                                 const support::ProgressCallback& progress);

// The terrain header a loaded record describes (title, bounds, spacings, zone, ...).
terrain::TerrainHeader HeaderFromRecord(const MatrixDescription& record);

// Loads one matrix, or merges several adjacent ones into one grid. Temporary "matrix_N.bin"
// files go to temporaryDirectory and are gone when this returns, whatever happened.
// Merge errors: CannotLoadAllMatrixFiles when a file cannot be read, DifferentMapProjections,
// DifferentGridResolutions (x spacings more than 1 apart), DifferentAngularResolutions
// (geographic spacings differ), DifferentUtmZones, SinusoidalMergeRefused, NotEnoughMemory,
// FileError; OperationCancelled when progress returns false.
// A single file whose header could not be used comes back with its error and a fallback: the
// caller shows the error (unless silent) and hands the file to the raw matrix builder.
ImportOutcome LoadMatrixFiles(const std::vector<std::filesystem::path>& paths,
                              const std::filesystem::path& temporaryDirectory,
                              const support::ProgressCallback& progress);

// The data files of a selection: ".hdr" and ".dem" files (case ignored) are dropped.
// Errors: NoValidMatrixFiles when none is left, FileIsNotValidMatrix for a single path with
// one of those extensions.
support::Result<std::vector<std::filesystem::path>> MatrixFilesFromSelection(
    const std::vector<std::filesystem::path>& selection);

}  // namespace tavrok::importers

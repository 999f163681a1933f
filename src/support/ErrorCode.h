#pragma once
#include <string_view>

namespace tavrok::support {

// Every failure the core can report. Each code maps to the exact text the user sees,
// so the GUI and the command line print the same words.
enum class ErrorCode {
    None,
    // The failure was already explained, or needs no message box; its cause, if it has one, is
    // still printed on the command line.
    SilentFailure,
    NotEnoughMemory,
    CannotOpenFile,
    FileError,
    CannotReadHeader,
    ImproperRowsOrColumns,
    ImproperCoordinates,
    LongitudeOutOfRange,
    LatitudeOutOfRange,
    UnknownProjection,
    UnknownElevationUnit,
    CannotLoadMatrixFile,
    CannotLoadTemporaryFiles,
    NoValidMatrixFiles,
    FileIsNotValidMatrix,
    CannotLoadAllMatrixFiles,
    DifferentMapProjections,
    DifferentGridResolutions,
    DifferentAngularResolutions,
    DifferentUtmZones,
    SinusoidalMergeRefused,
    CannotOpenMatrix,
    CannotOpenAsciiMatrix,
    IncorrectZone,
    IncorrectUtmCoordinates,
    IncorrectCornerCoordinates,
    IncorrectRowAndColumn,
    IncorrectValues,
    ImproperBoundaries,
    CannotSelectAreaSinusoidal,
    CannotConvertMolaToUtm,
    CannotConvertMarsPolarToUtm,
    CannotConvertSinusoidalToUtm,
    AlreadyUtm,
    AreaCrossesSouth80,
    AreaCrossesNorth84,
    AreaCrossesEquator,
    AreaTooWideForUtm,  // asked as a question: OK lays the area out sinusoidally
    ScaleTooSmallForConversion,
    ConversionCancelled,
    CannotConvertArea,
    NotUsingUtm,
    NoEllipsoidChangeRequired,
    UnusableUtmCoordinates,
    NoTerrainLoaded,
    NotAvailableYet,
    OperationCancelled,
    PathForTemporaryStorageCannotBeFound,
    UnknownFileType,
    NotADemFile,
    IncompatibleFileFormat,
    CannotSaveTemporaryFiles,
    CannotCreateTemporaryFiles,
    DemsHaveDifferntMapProjections,
    DifferentElevationResolutions,
    GroundUnitFeetRefused,
    DemHoldsNoElevations,
    CannotMixAsciiAndArchiveDems,
    CannotMixOneDegreeAndSdtsDems,
    FaultyArchiveFile,
    IncompatibleArchive,  // followed by the archive's name
    CannotOpenDemCellFile,
    ErrorReadingSdts,
    ErrorReadingSdtsFiles,
    NotAColorScaleFile,
    MapResizingCancelled,
    NotEnoughMemoryForShading,
    IncompatibleMatrixFiles,
    GeoTiffFileError,
    NotAGeoTiffDem,
    UnsupportedTiffFormat,
    CannotOpenGlobeFile,
    NotAMolaMeg064File,
    NotAMolaMeg128File,
    CannotFindMolaPolarFile,
    // Followed by the detail, which names the value at fault.
    ElevationOutOfRange,
    ImproperGeoreferencing,
    NoMolaTilesFound,
    CannotCombineFiles,  // its cause names the files and why
    // Point clouds.
    CannotOpenLasFile,
    CannotReadLasFile,
    InconsistentLasParameters,
    NoLasPointsInArea,  // shown under the caption "Cloud Tools"
    TooFewPointsToGrid,
    ImproperXyzData,
    ImproperBinaryXyzData,
    // Exporters.
    CannotWriteFile,  // a write, close or rename failed: nothing was saved
    UnableToOpenDemFile,
    UsgsDemInSouthernHemisphere,
    UsgsDemOfDepthMatrix,
    UsgsDemOfSinusoidalProjection,
    UsgsDemOfMarsPolar,
    GeoTiffOfMola,
    GeoTiffOfMarsPolar,
    GeoTiffOfSinusoidalProjection,
    ElevationsBeyondSignedInteger,
    // The 3D scene.
    OpenGlConflict,  // no rendering context or framebuffer could be made
};

// The message text shown for a code, verbatim.
std::string_view messageText(ErrorCode code);

// True for the codes whose text is shown followed by ": " and the error's detail (the value
// or the folder at fault).
bool detailFollowsMessage(ErrorCode code);

}  // namespace tavrok::support

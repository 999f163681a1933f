#include "support/ErrorCode.h"

#include <array>
#include <utility>

namespace tavrok::support {

namespace {

// Texts the user sees; some keep the spelling users of earlier releases know.
constexpr std::array messageTable{
    std::pair{ErrorCode::None, std::string_view{""}},
    std::pair{ErrorCode::SilentFailure, std::string_view{""}},
    std::pair{ErrorCode::NotEnoughMemory, std::string_view{"Not Enough Memory"}},
    std::pair{ErrorCode::CannotOpenFile, std::string_view{"Cannot Open File"}},
    std::pair{ErrorCode::FileError, std::string_view{"File Error"}},
    std::pair{ErrorCode::CannotReadHeader, std::string_view{"Cannot Read Header"}},
    std::pair{ErrorCode::ImproperRowsOrColumns, std::string_view{"Improper Rows or Columns"}},
    std::pair{ErrorCode::ImproperCoordinates, std::string_view{"Improper Coordinates"}},
    std::pair{ErrorCode::LongitudeOutOfRange, std::string_view{"Longitude Out of Range"}},
    std::pair{ErrorCode::LatitudeOutOfRange, std::string_view{"Latitude Out of Range"}},
    std::pair{ErrorCode::UnknownProjection, std::string_view{"Unknown Map Projection"}},
    std::pair{ErrorCode::UnknownElevationUnit, std::string_view{"Unknown Elevation Unit"}},
    std::pair{ErrorCode::CannotLoadMatrixFile, std::string_view{"Cannot Load Matrix File"}},
    std::pair{ErrorCode::CannotLoadTemporaryFiles, std::string_view{"Cannot Load Temporary Files"}},
    std::pair{ErrorCode::NoValidMatrixFiles, std::string_view{"No Valid Matrix Files"}},
    std::pair{ErrorCode::FileIsNotValidMatrix, std::string_view{"File is not valid matrix"}},
    std::pair{ErrorCode::CannotLoadAllMatrixFiles,
              std::string_view{"Cannot Load All Matrix Files"}},
    std::pair{ErrorCode::DifferentMapProjections,
              std::string_view{"DEMs Have Different Map Projections."}},
    std::pair{ErrorCode::DifferentGridResolutions,
              std::string_view{"DEMs Have Different Grid Resolutions."}},
    std::pair{ErrorCode::DifferentAngularResolutions,
              std::string_view{"DEMs Have Differnt Grid Resolutions."}},
    std::pair{ErrorCode::DifferentUtmZones, std::string_view{"DEMs Are From Different UTM Zones."}},
    std::pair{ErrorCode::SinusoidalMergeRefused,
              std::string_view{"Sinusoidal Matrices Cannot Be Merged"}},
    std::pair{ErrorCode::CannotOpenMatrix, std::string_view{"Cannot Open Matrix"}},
    std::pair{ErrorCode::CannotOpenAsciiMatrix, std::string_view{"Cannot Open ASCII Matrix"}},
    std::pair{ErrorCode::IncorrectZone, std::string_view{"Incorrect Zone"}},
    std::pair{ErrorCode::IncorrectUtmCoordinates, std::string_view{"Incorrect UTM Coordinates"}},
    std::pair{ErrorCode::IncorrectCornerCoordinates,
              std::string_view{"Incorrect Corner Coordinates"}},
    std::pair{ErrorCode::IncorrectRowAndColumn, std::string_view{"Incorrect Row & Column"}},
    std::pair{ErrorCode::IncorrectValues, std::string_view{"Incorrect Values"}},
    std::pair{ErrorCode::ImproperBoundaries, std::string_view{"Improper Boundaries"}},
    std::pair{ErrorCode::CannotSelectAreaSinusoidal,
              std::string_view{"Cannot Select Area Using Sinusoidal Projection\n"
                               "       Start with Lat/Lon Projection Instead"}},
    std::pair{ErrorCode::CannotConvertMolaToUtm,
              std::string_view{"Cannot Convert MOLA to UTM Projection"}},
    std::pair{ErrorCode::CannotConvertMarsPolarToUtm,
              std::string_view{"Cannot Convert Mars Polar to UTM Projection"}},
    std::pair{ErrorCode::CannotConvertSinusoidalToUtm,
              std::string_view{"Cannot Convert Sinusoidal Projection to UTM Projection\n"
                               "              Start with Lat/Lon Projection Instead"}},
    std::pair{ErrorCode::AlreadyUtm, std::string_view{"Current Terrain Uses UTM Projection"}},
    std::pair{ErrorCode::AreaCrossesSouth80, std::string_view{"Area Crosses -80 Deg South"}},
    std::pair{ErrorCode::AreaCrossesNorth84, std::string_view{"Area Crosses 84 Deg North"}},
    std::pair{ErrorCode::AreaCrossesEquator, std::string_view{"Area Crosses Equator"}},
    std::pair{ErrorCode::AreaTooWideForUtm,
              std::string_view{"Area is too wide for UTM conversion.\r"
                               "Click OK to use Sinusoidal projection instead."}},
    std::pair{ErrorCode::ScaleTooSmallForConversion,
              std::string_view{"Scale is Too Small for Conversion"}},
    std::pair{ErrorCode::ConversionCancelled, std::string_view{"Conversion Cancelled"}},
    std::pair{ErrorCode::CannotConvertArea, std::string_view{"Cannot Convert Area"}},
    std::pair{ErrorCode::NotUsingUtm, std::string_view{"Not Currently Using UTM Projection"}},
    std::pair{ErrorCode::NoEllipsoidChangeRequired,
              std::string_view{"No Ellipsoid Change Required"}},
    std::pair{ErrorCode::UnusableUtmCoordinates,
              std::string_view{"UTM Coordinates Cannot Be Converted"}},
    std::pair{ErrorCode::NoTerrainLoaded, std::string_view{"No Terrain Loaded"}},
    std::pair{ErrorCode::NotAvailableYet, std::string_view{"This command is not available yet"}},
    std::pair{ErrorCode::OperationCancelled, std::string_view{"Operation Cancelled"}},
    std::pair{ErrorCode::PathForTemporaryStorageCannotBeFound,
              std::string_view{"Path For Temporary Storage Cannot Be Found"}},
    std::pair{ErrorCode::UnknownFileType, std::string_view{"Unknown File Type"}},
    std::pair{ErrorCode::NotADemFile, std::string_view{"Not a DEM file"}},
    std::pair{ErrorCode::IncompatibleFileFormat, std::string_view{"Incompatible File Format"}},
    std::pair{ErrorCode::CannotSaveTemporaryFiles, std::string_view{"Cannot Save Temporary Files"}},
    std::pair{ErrorCode::CannotCreateTemporaryFiles,
              std::string_view{"Cannot Create Temporary Files"}},
    std::pair{ErrorCode::DemsHaveDifferntMapProjections,
              std::string_view{"DEMs Have Differnt Map Projections."}},
    std::pair{ErrorCode::DifferentElevationResolutions,
              std::string_view{"DEMs Have Differnt Elevation Resolutions."}},
    std::pair{ErrorCode::GroundUnitFeetRefused,
              std::string_view{"DEMs in Feet (State Plane Coordinates) Cannot Be Loaded"}},
    std::pair{ErrorCode::DemHoldsNoElevations, std::string_view{"DEM Holds No Valid Elevations"}},
    std::pair{ErrorCode::CannotMixAsciiAndArchiveDems,
              std::string_view{"Cannot Mix ASCII DEMs and TGZ DEMs"}},
    std::pair{ErrorCode::CannotMixOneDegreeAndSdtsDems,
              std::string_view{"Cannot Mix 1 Degree and 7.5 Minute DEMs"}},
    std::pair{ErrorCode::FaultyArchiveFile, std::string_view{"Faulty Archive File"}},
    std::pair{ErrorCode::IncompatibleArchive, std::string_view{"Incompatible Archive  "}},
    std::pair{ErrorCode::CannotOpenDemCellFile, std::string_view{"Can't Open DEM Cell file"}},
    std::pair{ErrorCode::ErrorReadingSdts, std::string_view{"Error Reading SDTS"}},
    std::pair{ErrorCode::ErrorReadingSdtsFiles, std::string_view{"Error Reading SDTS Files"}},
    std::pair{ErrorCode::NotAColorScaleFile, std::string_view{"Not a Color Scale File"}},
    std::pair{ErrorCode::MapResizingCancelled, std::string_view{"Map Resizing Cancelled"}},
    std::pair{ErrorCode::NotEnoughMemoryForShading,
              std::string_view{"Not Enough Memory For Shading"}},
    std::pair{ErrorCode::IncompatibleMatrixFiles, std::string_view{"Incompatible Matrix Files"}},
    std::pair{ErrorCode::GeoTiffFileError, std::string_view{"GeoTiff File Error"}},
    std::pair{ErrorCode::NotAGeoTiffDem, std::string_view{"Not a GeoTiff DEM File"}},
    std::pair{ErrorCode::UnsupportedTiffFormat, std::string_view{"Unsupported TIFF Format"}},
    std::pair{ErrorCode::CannotOpenGlobeFile, std::string_view{"Cannot Open Globe File"}},
    std::pair{ErrorCode::NotAMolaMeg064File, std::string_view{"Not a MOLA MEG 064 File"}},
    std::pair{ErrorCode::NotAMolaMeg128File, std::string_view{"Not a MOLA MEG 128 File"}},
    std::pair{ErrorCode::CannotFindMolaPolarFile, std::string_view{"Cannot find MOLA POLAR file."}},
    std::pair{ErrorCode::CannotCombineFiles, std::string_view{"Cannot Combine Files"}},
    std::pair{ErrorCode::ElevationOutOfRange, std::string_view{"Elevation Out of Range"}},
    std::pair{ErrorCode::ImproperGeoreferencing, std::string_view{"Improper Georeferencing"}},
    std::pair{ErrorCode::NoMolaTilesFound, std::string_view{"No MOLA Tiles Found"}},
    std::pair{ErrorCode::CannotWriteFile,
              std::string_view{"Cannot Write File\nThe disk may be full; nothing was saved"}},
    std::pair{ErrorCode::UnableToOpenDemFile, std::string_view{"Unable to Open DEM File"}},
    std::pair{ErrorCode::UsgsDemInSouthernHemisphere,
              std::string_view{"Cannot Save UTM USGS DEM in Southern Hemisphere\n"
                               "                Save as Terrain Matrix Instead"}},
    std::pair{ErrorCode::UsgsDemOfDepthMatrix,
              std::string_view{"Cannot Save Depth Matrix as USGS DEM"}},
    std::pair{ErrorCode::UsgsDemOfSinusoidalProjection,
              std::string_view{"Cannot Save Sinusoidal Projection as USGS DEM"}},
    std::pair{ErrorCode::UsgsDemOfMarsPolar,
              std::string_view{"Cannot Save Mars Polar as USGS DEM."}},
    std::pair{ErrorCode::GeoTiffOfMola, std::string_view{"Cannot Convert MOLA to GeoTiff"}},
    std::pair{ErrorCode::GeoTiffOfMarsPolar, std::string_view{"Cannot Mars Polar to GeoTiff"}},
    std::pair{ErrorCode::GeoTiffOfSinusoidalProjection,
              std::string_view{"Cannot Convert Sinusoidal Projection to GeoTiff\n"
                               "       Start with Lat/Lon Projection Instead"}},
    std::pair{ErrorCode::ElevationsBeyondSignedInteger,
              std::string_view{"Elevations Exceed the Signed Integer Range (-32768 to 32767)\n"
                               "Save as Floating Point Instead"}},
    std::pair{ErrorCode::OpenGlConflict, std::string_view{"OpenGL Conflict"}},
    std::pair{ErrorCode::CannotOpenLasFile, std::string_view{"Cannot open LAS file."}},
    std::pair{ErrorCode::CannotReadLasFile, std::string_view{"Cannot read LAS file."}},
    std::pair{ErrorCode::InconsistentLasParameters,
              std::string_view{"Inconsistent LAS GeoTiff Parameters."}},
    std::pair{ErrorCode::NoLasPointsInArea, std::string_view{"No LAS Points Within Selected Area."}},
    std::pair{ErrorCode::TooFewPointsToGrid, std::string_view{"Too Few Points to Grid"}},
    std::pair{ErrorCode::ImproperXyzData, std::string_view{"Improper data."}},
    std::pair{ErrorCode::ImproperBinaryXyzData,
              std::string_view{"Improper data. 64 bit floating point required."}},
};

constexpr std::array codesFollowedByDetail{
    ErrorCode::ElevationOutOfRange,
    ErrorCode::ImproperGeoreferencing,
    ErrorCode::NoMolaTilesFound,
};

}  // namespace

std::string_view messageText(ErrorCode code) {
    for (const auto& [entry, text] : messageTable) {
        if (entry == code) {
            return text;
        }
    }
    return "Unknown Error";
}

bool detailFollowsMessage(ErrorCode code) {
    for (const auto followed : codesFollowedByDetail) {
        if (followed == code) {
            return true;
        }
    }
    return false;
}

}  // namespace tavrok::support

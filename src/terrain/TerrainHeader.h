#pragma once
#include <optional>
#include <string>

#include "geodesy/Ellipsoid.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::terrain {

// gridKind values.
inline constexpr int gridKindDem = 0;         // UTM or geographic DEM
inline constexpr int gridKindMarsPolar = 1;   // Mars polar tiles
inline constexpr int gridKindMatrix = 2;      // X/Y terrain matrix, gridded point clouds
inline constexpr int gridKindSinusoidal = 5;  // GLOBE, GTOPO30, MOLA, or a sinusoidal DEM

// coordinateType values.
inline constexpr int coordinateTypeUtm = 2;
inline constexpr int coordinateTypeGeographic = 3;

enum class Planet { Earth = 0, Mars = 1 };
enum class ElevationUnit { Meters, Feet };
enum class DataType { Height, Depth };

inline constexpr float earthRadiusMetres = 6378000.0f;
inline constexpr float marsRadiusMetres = 3400000.0f;

// Everything that says where the grid lies and how to read its cells.
struct TerrainHeader {
    int rows = 0;     // south to north
    int columns = 0;  // west to east
    ProjectionKind projection = ProjectionKind::UTM;
    int gridKind = gridKindDem;
    Planet planet = Planet::Earth;
    float planetRadius = earthRadiusMetres;  // metres
    int coordinateType = coordinateTypeUtm;
    geodesy::EllipsoidId ellipsoid = geodesy::EllipsoidId::Clarke1866;
    int ellipsoidCode = 1;  // 1 NAD27, 2 WGS72, 3 WGS84, 4 NAD83; 0 for others
    char hemisphere = 'N';
    int utmZone = 0;
    std::string zoneText;  // "13N"

    // Extent: metres (UTM), the matrix's units (X/Y) or arc-seconds (geographic).
    // Files and the DEM specs use these truncated to integers.
    double westBound = 0;
    double eastBound = 0;
    double southBound = 0;
    double northBound = 0;
    // Extent in decimal degrees (geographic and sinusoidal grids, and UTM grids' corners).
    float westLon = 0;
    float eastLon = 0;
    float southLat = 0;
    float northLat = 0;

    double originX = 0;  // coordinate of column 0, grid units
    double originY = 0;  // coordinate of row 0
    double maxX = 0;     // coordinate of the last column
    double maxY = 0;     // coordinate of the last row

    // Between columns and between rows: arc-seconds (geographic), metres or matrix units.
    float spacingX = 0;
    float spacingY = 0;
    // Metres per X unit: one arc-second of longitude at the centre latitude for geographic
    // grids, 1.0 for metres, 0.3048 for feet.
    float metresPerUnitX = 1.0f;
    float verticalUnitFactor = 1.0f;  // 1.0 metres, 0.3048 feet
    ElevationUnit elevationUnit = ElevationUnit::Meters;
    DataType dataType = DataType::Height;

    // Absolute extremes of the valid cells, in elevation units.
    double minElevation = 0;
    double maxElevation = 0;
    // Missing cells as the importer counted them; to be reset by whatever edits cells in place.
    std::optional<long> missingCells;
    int missingFlag = -9999;  // marks missing samples in source and exported matrix files
    std::string title;        // at most titleLength characters; empty means unnamed

    float sinusoidalCentralMeridian = 0;  // degrees
    float degreesPerColumn = 0;
    float degreesPerRow = 0;

    static constexpr std::size_t titleLength = 80;
};

}  // namespace tavrok::terrain

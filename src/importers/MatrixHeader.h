#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "geodesy/Ellipsoid.h"
#include "support/Result.h"
#include "terrain/ProjectionKind.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::importers {

// How the samples of a matrix data file are written.
enum class MatrixEncoding {
    Int16,    // signed 16-bit, least significant byte first
    Float32,  // IEEE single precision, least significant byte first
    Ascii,    // decimal numbers separated by white space
};

// The settings of a matrix ".hdr" file. The reader finds each key anywhere in the text, in any
// letter case, and takes its first occurrence.
struct MatrixHeader {
    std::string title;  // up to the end of its line, at most 80 characters
    MatrixEncoding encoding = MatrixEncoding::Int16;
    // Old headers name "data_value_unit" instead of "data_format": int16 samples whose first row
    // is the northernmost.
    bool northFirst = false;
    terrain::DataType dataType = terrain::DataType::Height;
    terrain::ProjectionKind projection = terrain::ProjectionKind::UTM;
    // UTM only: the zone as written ("13N"), its number (not checked here) and its hemisphere
    // letter in capitals.
    std::string zoneText;
    int zone = 0;
    char hemisphere = 'N';
    geodesy::EllipsoidId ellipsoid = geodesy::EllipsoidId::Clarke1866;
    int rows = 0;
    int columns = 0;
    // Corner samples (not cell edges): decimal degrees for Lat/Lon and Sinusoidal, whole metres
    // for UTM and whole units for X/Y (any fraction in the file is dropped).
    double left = 0;
    double right = 0;
    double upper = 0;
    double lower = 0;
    int missingFlag = 0;  // the stored value of a missing sample
    terrain::ElevationUnit elevationUnit = terrain::ElevationUnit::Meters;

    bool geographic() const {
        return projection == terrain::ProjectionKind::LatLon ||
               projection == terrain::ProjectionKind::Sinusoidal;
    }
    // Every problem of the size and corners, in the order the user is told about them:
    // ImproperRowsOrColumns (fewer than 2 rows or columns), ImproperCoordinates (UTM corners not
    // increasing), LongitudeOutOfRange (beyond ±360 or left not below right), LatitudeOutOfRange
    // (beyond ±90). NaN corners always fail.
    std::vector<support::Error> problems() const;
    // The first of problems(), or success.
    support::Status validate() const;
};

// Reads the text of a ".hdr" file. Fails with CannotReadHeader for a byte that is neither
// printable nor CR/LF, a missing required key, a key without "=" in the 128 characters after it,
// a value that runs past the end of the text or cannot be read; UnknownProjection for a
// "map_projection" that names no known system; UnknownElevationUnit for an "elev_m_unit" other
// than meters or feet.
support::Result<MatrixHeader> ParseMatrixHeader(std::string_view text);

}  // namespace tavrok::importers

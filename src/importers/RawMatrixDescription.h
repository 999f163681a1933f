#pragma once
#include <string>
#include <string_view>

#include "geodesy/Ellipsoid.h"
#include "support/DialogModel.h"
#include "terrain/ProjectionKind.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::importers {

enum class RawSampleEncoding { Int16, Float32, Ascii };  // "INT (16)", "FLOAT (32)", "ASCII"
enum class RawByteOrder { LittleEndian, BigEndian };
enum class RawColumnOrder { WestToEast, EastToWest };  // "W-E", "E-W"
// "S-N": the file's first row is the southernmost; "N-S": the northernmost.
enum class RawRowOrder { SouthToNorth, NorthToSouth };
enum class RawHorizontalUnit { Meters, Feet, Degrees };  // "Degrees Lat/Long"

// What the user tells us about a headerless grid file in the "Matrix Data Format" dialog.
// The fields keep their values between uses, so one object lives as long as the program.
class RawMatrixDescription : public support::DialogModel {
  public:
    std::string_view dialogId() const override { return "IDD_DIALOG1"; }
    std::string_view title() const override { return "Matrix Data Format"; }

    // Checks the fields as the OK button does and works out the derived values below.
    // Errors: IncorrectZone (UTM zone text without a number from 1 to 60, or a north-east
    // corner that cannot be converted), IncorrectUtmCoordinates (south-west corner cannot be
    // converted), IncorrectCornerCoordinates (west not below east or south not below north,
    // after truncation for UTM and X/Y), IncorrectRowAndColumn (fewer than 2 rows or columns),
    // IncorrectValues (negative offset). NaN corners always fail.
    support::Status accept() override;

    // Fields of the dialog with their first-use defaults.
    RawSampleEncoding encoding = RawSampleEncoding::Int16;
    RawByteOrder byteOrder = RawByteOrder::LittleEndian;  // not used for ASCII
    long long offsetBytes = 0;                            // skipped before the first sample
    int missingValue = -9999;
    int columns = 0;
    int rows = 0;
    RawColumnOrder columnOrder = RawColumnOrder::WestToEast;
    RawRowOrder rowOrder = RawRowOrder::SouthToNorth;
    terrain::ProjectionKind coordinateSystem = terrain::ProjectionKind::UTM;  // UTM, LatLon, XY
    std::string zoneText;       // UTM: "13N"; digits, then an optional hemisphere letter
    std::string ellipsoidText;  // UTM: "NAD27" … "WGS84"; anything else means WGS84
    double west = 0;            // SW corner X: metres, units or degrees
    double south = 0;           // SW corner Y
    double east = 0;            // NE corner X
    double north = 0;           // NE corner Y
    RawHorizontalUnit horizontalUnit = RawHorizontalUnit::Meters;
    terrain::ElevationUnit verticalUnit = terrain::ElevationUnit::Meters;
    terrain::DataType dataType = terrain::DataType::Height;

    // Derived by accept(); meaningful only after it succeeded and until a field changes.
    bool accepted() const { return m_accepted; }
    int zone() const { return m_zone; }               // UTM: 1 .. 60
    char hemisphere() const { return m_hemisphere; }  // UTM: 'N' or 'S'
    geodesy::EllipsoidId ellipsoid() const { return m_ellipsoid; }
    // Corners truncated to whole metres or units (UTM, X/Y), or whole arc-seconds (Lat/Long).
    int westWhole() const { return m_westWhole; }
    int southWhole() const { return m_southWhole; }
    int eastWhole() const { return m_eastWhole; }
    int northWhole() const { return m_northWhole; }
    // Degrees: the corners themselves for Lat/Long, the converted SW and NE corners for UTM.
    double westLongitude() const { return m_westLongitude; }
    double southLatitude() const { return m_southLatitude; }
    double eastLongitude() const { return m_eastLongitude; }
    double northLatitude() const { return m_northLatitude; }

    // Puts every field back to its first-use default.
    void reset() { *this = RawMatrixDescription(); }

  private:
    support::Status acceptUtm();
    support::Status acceptWholeCorners();

    bool m_accepted = false;
    int m_zone = 0;
    char m_hemisphere = 'N';
    geodesy::EllipsoidId m_ellipsoid = geodesy::EllipsoidId::Wgs84;
    int m_westWhole = 0;
    int m_southWhole = 0;
    int m_eastWhole = 0;
    int m_northWhole = 0;
    double m_westLongitude = 0;
    double m_southLatitude = 0;
    double m_eastLongitude = 0;
    double m_northLatitude = 0;
};

}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "importers/MatrixHeaderWriter.h"

namespace tavrok::importers {
namespace {

using geodesy::EllipsoidId;
using terrain::DataType;
using terrain::ElevationUnit;
using terrain::ProjectionKind;

MatrixHeader Header(ProjectionKind projection, MatrixEncoding encoding, double left, double lower,
                    double right, double upper) {
    MatrixHeader header;
    header.title = "Round trip";
    header.projection = projection;
    header.encoding = encoding;
    header.rows = 1201;
    header.columns = 3601;
    header.left = left;
    header.lower = lower;
    header.right = right;
    header.upper = upper;
    header.missingFlag = -9999;
    return header;
}

MatrixHeader Utm(const char* zoneText, int zone, char hemisphere, EllipsoidId ellipsoid) {
    auto header =
        Header(ProjectionKind::UTM, MatrixEncoding::Float32, 500000, 4000000, 530000, 4030000);
    header.zoneText = zoneText;
    header.zone = zone;
    header.hemisphere = hemisphere;
    header.ellipsoid = ellipsoid;
    return header;
}

std::vector<MatrixHeader> RoundTripCases() {
    std::vector<MatrixHeader> cases;
    cases.push_back(Utm("13N", 13, 'N', EllipsoidId::Wgs84));
    cases.push_back(Utm("1S", 1, 'S', EllipsoidId::Clarke1866));
    cases.push_back(Utm("60N", 60, 'N', EllipsoidId::Grs1980));
    auto latLon =
        Header(ProjectionKind::LatLon, MatrixEncoding::Int16, -105.1, 39.9, -104.00000001, 41);
    latLon.dataType = DataType::Depth;
    cases.push_back(latLon);
    auto sinusoidal =
        Header(ProjectionKind::Sinusoidal, MatrixEncoding::Ascii, -0.0, -12.5, 1e-7, 12.5);
    cases.push_back(sinusoidal);
    auto xy = Header(ProjectionKind::XY, MatrixEncoding::Ascii, -20, -10, 20, 10);
    xy.elevationUnit = ElevationUnit::Feet;
    xy.missingFlag = -32768;
    cases.push_back(xy);
    auto legacy = Header(ProjectionKind::XY, MatrixEncoding::Int16, 0, 0, 100, 100);
    legacy.northFirst = true;
    cases.push_back(legacy);
    return cases;
}

TEST(MatrixHeaderWriter, ReadsBackEveryField) {
    for (const auto& written : RoundTripCases()) {
        const auto text = WriteMatrixHeader(written, MatrixElevationRange{-12.7, 4401.2});
        const auto read = ParseMatrixHeader(text);
        ASSERT_TRUE(read) << read.error().detail << "\n" << text;
        EXPECT_EQ(read->title, written.title);
        EXPECT_EQ(read->encoding, written.encoding) << text;
        EXPECT_EQ(read->northFirst, written.northFirst) << text;
        EXPECT_EQ(read->dataType, written.dataType) << text;
        EXPECT_EQ(read->projection, written.projection) << text;
        EXPECT_EQ(read->zoneText, written.zoneText) << text;
        EXPECT_EQ(read->zone, written.zone) << text;
        EXPECT_EQ(read->hemisphere, written.hemisphere) << text;
        EXPECT_EQ(read->ellipsoid, written.ellipsoid) << text;
        EXPECT_EQ(read->rows, written.rows);
        EXPECT_EQ(read->columns, written.columns);
        EXPECT_EQ(read->left, written.left) << text;
        EXPECT_EQ(read->lower, written.lower) << text;
        EXPECT_EQ(read->right, written.right) << text;
        EXPECT_EQ(read->upper, written.upper) << text;
        EXPECT_EQ(read->missingFlag, written.missingFlag);
        EXPECT_EQ(read->elevationUnit, written.elevationUnit);
    }
}

TEST(MatrixHeaderWriter, KeepsTheTitleOnOnePrintableLineAndCornersWhole) {
    auto header = Utm("13N", 13, 'N', EllipsoidId::Wgs84);
    header.title = "Line\r\nbreak\t" + std::string(100, 'x');
    header.left = 500000.9;
    const auto text = WriteMatrixHeader(header);
    const auto read = ParseMatrixHeader(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->title, ("Line  break " + std::string(100, 'x')).substr(0, 80));
    EXPECT_EQ(read->left, 500000);  // projected corners lose their fraction
    EXPECT_EQ(text.find("elev_m_minimum"), std::string::npos);  // no range given, none written
}

class MatrixHeaderFileTest : public test::TemporaryFolderTest {};

TEST_F(MatrixHeaderFileTest, WritesTheFileOrSaysItCannot) {
    const auto header = Utm("13N", 13, 'N', EllipsoidId::Wgs84);
    ASSERT_TRUE(WriteMatrixHeaderFile(path("grid.hdr"), header));
    EXPECT_EQ(test::readFile(path("grid.hdr")), WriteMatrixHeader(header));
    EXPECT_EQ(WriteMatrixHeaderFile(path("no/folder/grid.hdr"), header).error().code,
              support::ErrorCode::CannotOpenFile);
}

}  // namespace
}  // namespace tavrok::importers

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "MatrixFixtures.h"
#include "importers/MatrixHeader.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using terrain::ProjectionKind;

support::Result<MatrixHeader> Parse(const test::MatrixHeaderText& header) {
    return ParseMatrixHeader(header.text());
}

ErrorCode ParseError(const std::string& text) {
    const auto header = ParseMatrixHeader(text);
    return header ? ErrorCode::None : header.error().code;
}

// "key" padded as our writer pads it, up to and including the "=".
std::string Setting(const std::string& key) {
    return key + std::string(23 - key.size(), ' ') + "=";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ParseMatrixHeader, FindsKeysInAnyCaseOnAnyLineWithoutBlanks) {
    const std::string text =
        "elev_m_unit=FEET\nNUMBER_OF_ROWS=7\nfile_title=x\nDATA_FORMAT=INT16\n"
        "Map_Projection=X/Y\nnumber_of_columns=   9\nleft_map_x=1\nright_map_x=17.9\n"
        "upper_map_y=13\nlower_map_y=-1\nelev_m_missing_flag=+5";
    const auto header = ParseMatrixHeader(text);
    ASSERT_TRUE(header) << header.error().detail;
    EXPECT_EQ(header->rows, 7);
    EXPECT_EQ(header->columns, 9);
    EXPECT_EQ(header->projection, ProjectionKind::XY);
    EXPECT_EQ(header->encoding, MatrixEncoding::Int16);
    EXPECT_EQ(header->right, 17);  // projected corners drop their fraction
    EXPECT_EQ(header->lower, -1);
    EXPECT_EQ(header->missingFlag, 5);
    EXPECT_EQ(header->elevationUnit, terrain::ElevationUnit::Feet);
}

TEST(ParseMatrixHeader, LegacyUnitKeyMeansNorthFirstInt16) {
    const auto text = Replaced(test::MatrixHeaderText{}.text(), Setting("data_format") + " float32",
                               "data_value_unit = meters");
    const auto header = ParseMatrixHeader(text);
    ASSERT_TRUE(header) << header.error().detail;
    EXPECT_EQ(header->encoding, MatrixEncoding::Int16);
    EXPECT_TRUE(header->northFirst);
}

TEST(ParseMatrixHeader, ProjectionNamesWithTheLastMatchWinning) {
    const std::pair<std::string, ProjectionKind> cases[] = {
        {"Sine Equal Area", ProjectionKind::Sinusoidal},
        {"sinusoidal", ProjectionKind::Sinusoidal},
        {"Lat/Lon", ProjectionKind::LatLon},
        {"X/Y", ProjectionKind::XY},
        {"Lat/Lon or X/Y", ProjectionKind::XY},
        {"Sinusoidal Lat/Lon", ProjectionKind::LatLon},
    };
    for (const auto& [name, kind] : cases) {
        test::MatrixHeaderText text;
        text.projection = name;
        text.left = "-105.5";
        text.right = "-105";
        text.lower = "40";
        text.upper = "40.25";
        const auto header = Parse(text);
        ASSERT_TRUE(header) << name;
        EXPECT_EQ(header->projection, kind) << name;
        EXPECT_DOUBLE_EQ(header->left, kind == ProjectionKind::XY ? -105 : -105.5) << name;
        EXPECT_EQ(header->ellipsoid, geodesy::EllipsoidId::Clarke1866) << name;
    }
}

TEST(ParseMatrixHeader, UtmZoneNumberAndHemisphereWithBlanks) {
    test::MatrixHeaderText text;
    text.projection = "UTM   zone   7   s";
    const auto header = Parse(text);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->zone, 7);
    EXPECT_EQ(header->hemisphere, 'S');
    EXPECT_EQ(header->zoneText, "7s");
}

TEST(ParseMatrixHeader, EllipsoidNamesAndTheNad27Fallback) {
    const std::pair<std::string, geodesy::EllipsoidId> cases[] = {
        {"NAD83", geodesy::EllipsoidId::Grs1980},   {"wgs84", geodesy::EllipsoidId::Wgs84},
        {"WGS72", geodesy::EllipsoidId::Wgs72},     {"WGS66", geodesy::EllipsoidId::Wgs66},
        {"WGS60", geodesy::EllipsoidId::Wgs60},     {"WGS84x", geodesy::EllipsoidId::Clarke1866},
        {"Airy", geodesy::EllipsoidId::Clarke1866},
    };
    for (const auto& [name, id] : cases) {
        test::MatrixHeaderText text;
        text.ellipsoid = name;
        EXPECT_EQ(Parse(text)->ellipsoid, id) << name;
    }
}

TEST(ParseMatrixHeader, RefusesUnreadableHeaders) {
    const auto text = test::MatrixHeaderText{}.text();
    const auto withProjection = [](const char* projection) {
        test::MatrixHeaderText header;
        header.projection = projection;
        return header.text();
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {"tab", Replaced(text, Setting("number_of_rows"), "number_of_rows\t=")},
        {"delete byte", text + '\x7f'},
        {"zero byte", text + std::string(1, '\0')},
        {"far equals",
         Replaced(text, Setting("data_type"), "data_type" + std::string(128, ' ') + "=")},
        {"int32", Replaced(text, Setting("data_format") + " float32", "data_format = int32")},
        {"no format", Replaced(text, Setting("data_format"), "data_xxxxxx =")},
        {"rows not a number",
         Replaced(text, Setting("number_of_rows") + " 3", "number_of_rows = x")},
        {"last value cut", text.substr(0, text.rfind("= -9999") + 1) + "   "},
        {"zone without its word", withProjection("UTM 13N")},
        {"zone without a number", withProjection("UTM Zone N")},
    };
    for (const auto* key :
         {"file_title", "map_projection", "number_of_rows", "number_of_columns", "left_map_x",
          "right_map_x", "upper_map_y", "lower_map_y", "elev_m_missing_flag", "elev_m_unit"}) {
        cases.emplace_back(key, Replaced(text, key, "removed_key"));
    }
    for (const auto& [name, bad] : cases) {
        EXPECT_EQ(ParseError(bad), ErrorCode::CannotReadHeader) << name;
    }
}

TEST(ParseMatrixHeader, TakesTheFirstOccurrenceOfAKey) {
    const auto header =
        ParseMatrixHeader("elev_m_missing_flag = 1\n" + test::MatrixHeaderText{}.text());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->missingFlag, 1);
}

TEST(ParseMatrixHeader, TitleStopsAtTheLineEndAndKeeps80Characters) {
    test::MatrixHeaderText text;
    text.title = std::string(100, 'a');
    EXPECT_EQ(Parse(text)->title, std::string(80, 'a'));
    text.title = "";
    EXPECT_EQ(Parse(text)->title, "");
}

TEST(MatrixHeaderValidate, ReportsProblemsInTheirOrder) {
    MatrixHeader header;
    header.rows = 1;
    header.columns = 5;
    header.left = 10;
    header.right = 10;
    header.upper = 5;
    header.lower = 0;
    const auto utm = header.problems();
    ASSERT_EQ(utm.size(), 2u);
    EXPECT_EQ(utm[0].code, ErrorCode::ImproperRowsOrColumns);
    EXPECT_EQ(utm[1].code, ErrorCode::ImproperCoordinates);

    header.rows = 5;
    header.projection = ProjectionKind::LatLon;
    header.left = -361;
    header.right = 0;
    header.upper = 91;
    const auto geographic = header.problems();
    ASSERT_EQ(geographic.size(), 2u);
    EXPECT_EQ(geographic[0].code, ErrorCode::LongitudeOutOfRange);
    EXPECT_EQ(geographic[1].code, ErrorCode::LatitudeOutOfRange);

    header.left = 1;
    header.right = 1;  // left must lie west of right
    header.upper = 10;
    EXPECT_EQ(header.validate().error().code, ErrorCode::LongitudeOutOfRange);
    header.right = 2;
    header.lower = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(header.validate().error().code, ErrorCode::LatitudeOutOfRange);
    header.lower = -90;
    EXPECT_TRUE(header.validate());
}

}  // namespace
}  // namespace tavrok::importers

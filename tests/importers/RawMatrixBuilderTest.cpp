#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

#include "TestSupport.h"
#include "importers/RawMatrixBuilder.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;
using terrain::ProjectionKind;

// A 2 x 3 X/Y grid in metres, accepted.
RawMatrixDescription XyDescription(RawSampleEncoding encoding) {
    RawMatrixDescription description;
    description.encoding = encoding;
    description.coordinateSystem = ProjectionKind::XY;
    description.rows = 2;
    description.columns = 3;
    description.west = 0;
    description.east = 20;
    description.south = 100;
    description.north = 110;
    EXPECT_TRUE(description.accept());
    return description;
}

RawMatrixDescription UtmDescription() {
    RawMatrixDescription description;
    description.zoneText = "13N";
    description.ellipsoidText = "NAD27";
    description.rows = 2;
    description.columns = 2;
    description.west = 500000;
    description.east = 500030.9;
    description.south = 4400000;
    description.north = 4400030;
    return description;
}

// The samples' bytes in the machine's order, or reversed: most significant byte first.
template <typename Sample>
std::string Bytes(const std::vector<Sample>& samples, bool bigEndian = false) {
    static_assert(std::endian::native == std::endian::little);
    std::string bytes;
    for (const Sample sample : samples) {
        char raw[sizeof(Sample)];
        std::memcpy(raw, &sample, sizeof raw);
        bigEndian ? bytes.append(std::rbegin(raw), std::rend(raw)) : bytes.append(raw, sizeof raw);
    }
    return bytes;
}

class RawMatrixBuilderTest : public test::TemporaryFolderTest {
  protected:
    support::Result<LoadedTerrain> build(const std::string& contents,
                                         const RawMatrixDescription& description,
                                         bool temporaryInput = false) {
        return BuildRawMatrix(writeFile("grid.raw", contents), description, temporaryInput, {});
    }
    std::vector<float> cells(const LoadedTerrain& terrain) {
        return {terrain.grid.cells().begin(), terrain.grid.cells().end()};
    }
};

TEST(RawMatrixDescription, AcceptReadsZoneHemisphereAndEllipsoid) {
    auto description = UtmDescription();
    ASSERT_TRUE(description.accept());
    EXPECT_EQ(description.zone(), 13);
    EXPECT_EQ(description.hemisphere(), 'N');
    EXPECT_EQ(description.ellipsoid(), geodesy::EllipsoidId::Clarke1866);
    EXPECT_EQ(description.eastWhole(), 500030);
    EXPECT_NEAR(description.westLongitude(), -105.0, 1e-6);
    EXPECT_GT(description.northLatitude(), description.southLatitude());

    const std::tuple<std::string, std::string, char, geodesy::EllipsoidId> cases[] = {
        {"13S", "wgs72", 'S', geodesy::EllipsoidId::Wgs72},
        {" 13s ", "NAD83", 'S', geodesy::EllipsoidId::Grs1980},
        {"13 S", "Clarke", 'N', geodesy::EllipsoidId::Wgs84},
        {"13SX", "", 'N', geodesy::EllipsoidId::Wgs84},
    };
    for (const auto& [zone, ellipsoid, hemisphere, id] : cases) {
        description.zoneText = zone;
        description.ellipsoidText = ellipsoid;
        ASSERT_TRUE(description.accept()) << zone;
        EXPECT_EQ(description.hemisphere(), hemisphere) << zone;
        EXPECT_EQ(description.ellipsoid(), id) << zone;
    }
}

TEST(RawMatrixDescription, AcceptRefusesEachBadField) {
    const auto refusal = [](auto change) {
        auto description = UtmDescription();
        change(description);
        const auto status = description.accept();
        EXPECT_EQ(description.accepted(), status.ok());
        return status ? std::string("accepted") : std::string(status.error().message());
    };
    for (const auto* zone : {"", "0", "61", "N13", "-5"}) {
        EXPECT_EQ(refusal([&](auto& d) { d.zoneText = zone; }), "Incorrect Zone") << zone;
    }
    EXPECT_EQ(refusal([](auto& d) { d.south = 1e9; }), "Incorrect UTM Coordinates");
    EXPECT_EQ(refusal([](auto& d) { d.west = std::nan(""); }), "Incorrect UTM Coordinates");
    EXPECT_EQ(refusal([](auto& d) { d.north = 1e9; }), "Incorrect Zone");
    EXPECT_EQ(refusal([](auto& d) { d.east = 500000.7; }), "Incorrect Corner Coordinates");
    EXPECT_EQ(refusal([](auto& d) { d.rows = 0; }), "Incorrect Row & Column");
    EXPECT_EQ(refusal([](auto& d) { d.columns = 1; }), "Incorrect Row & Column");
    EXPECT_EQ(refusal([](auto& d) { d.offsetBytes = -1; }), "Incorrect Values");
    const auto latLong = [](double south, double north) {
        return [=](RawMatrixDescription& d) {
            d.coordinateSystem = ProjectionKind::LatLon;
            d.west = 10.5;
            d.east = 10.9;  // whole arc-seconds differ although whole degrees would not
            d.south = south;
            d.north = north;
        };
    };
    EXPECT_EQ(refusal(latLong(45, 46)), "accepted");
    EXPECT_EQ(refusal(latLong(45, 45)), "Incorrect Corner Coordinates");
    EXPECT_EQ(refusal(latLong(45, std::nan(""))), "Incorrect Corner Coordinates");
}

TEST_F(RawMatrixBuilderTest, Int16InBothByteOrdersGivesTheSameGrid) {
    auto description = XyDescription(RawSampleEncoding::Int16);
    const std::vector<std::int16_t> samples{-5, 0, 300, 1000, -9999, -32767};
    const auto little = build(Bytes(samples), description);
    description.byteOrder = RawByteOrder::BigEndian;
    const auto big = build(Bytes(samples, true), description);
    ASSERT_TRUE(little && big);
    const float m = terrain::missingCell;
    EXPECT_EQ(cells(little.value()), (std::vector<float>{0, 5, 305, 1005, m, m}));
    EXPECT_EQ(cells(big.value()), cells(little.value()));
    const auto& header = little->header;
    EXPECT_EQ(header.minElevation, -5);
    EXPECT_EQ(header.maxElevation, 1000);
    EXPECT_EQ(header.gridKind, terrain::gridKindMatrix);
    EXPECT_EQ(header.spacingX, 10.0f);
    EXPECT_EQ(header.spacingY, 10.0f);
    EXPECT_EQ(header.originY, 100);
    EXPECT_EQ(header.maxX, 20);
    EXPECT_EQ(header.missingFlag, -9999);
    EXPECT_EQ(header.missingCells, 2);
}

TEST_F(RawMatrixBuilderTest, NorthToSouthAndEastToWestFilesAreTurned) {
    auto description = XyDescription(RawSampleEncoding::Int16);
    description.rowOrder = RawRowOrder::NorthToSouth;
    description.columnOrder = RawColumnOrder::EastToWest;
    const auto terrain = build(Bytes(std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}), description);
    ASSERT_TRUE(terrain);
    // The file's first row is the north edge, its first column the east edge.
    EXPECT_EQ(cells(terrain.value()), (std::vector<float>{5, 4, 3, 2, 1, 0}));
}

TEST_F(RawMatrixBuilderTest, BigEndianFloatsOnALatLongGrid) {
    RawMatrixDescription description;
    description.encoding = RawSampleEncoding::Float32;
    description.byteOrder = RawByteOrder::BigEndian;
    description.coordinateSystem = ProjectionKind::LatLon;
    description.rows = 2;
    description.columns = 3;
    description.west = -1;
    description.east = 0;
    description.south = 60;
    description.north = 60.5;
    description.missingValue = -1;
    ASSERT_TRUE(description.accept());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto terrain =
        build(Bytes(std::vector<float>{1.5f, nan, -1, 2.5f, 3, -40000}, true), description);
    ASSERT_TRUE(terrain);
    const float m = terrain::missingCell;
    EXPECT_EQ(cells(terrain.value()), (std::vector<float>{0, m, m, 1, 1.5f, m}));
    const auto& header = terrain->header;
    EXPECT_EQ(header.coordinateType, terrain::coordinateTypeGeographic);
    EXPECT_EQ(header.westBound, -3600);
    EXPECT_EQ(header.northBound, 217800);
    EXPECT_EQ(header.spacingX, 1800.0f);
    EXPECT_EQ(header.spacingY, 1800.0f);
    EXPECT_NEAR(header.metresPerUnitX, 6378000.0 / (3600 * 57.29578) * std::cos(60.25 * M_PI / 180),
                1e-4);
}

TEST_F(RawMatrixBuilderTest, AsciiNumbersAreCutToWhole16BitValues) {
    auto description = XyDescription(RawSampleEncoding::Ascii);
    description.offsetBytes = 4;
    const auto terrain = build("skip12.7 -3.9\n70000 7\t\t8 -9999", description);
    ASSERT_TRUE(terrain) << terrain.error().detail;
    // 70000 wraps to 4464; -3.9 becomes -3.
    EXPECT_EQ(cells(terrain.value()),
              (std::vector<float>{15, 0, 4467, 10, 11, terrain::missingCell}));
    EXPECT_EQ(build("1 2 3 4 5", description).error().message(), "Improper Rows or Columns");
}

TEST_F(RawMatrixBuilderTest, DepthKeepsMissingCellsMissing) {
    auto description = XyDescription(RawSampleEncoding::Ascii);
    description.dataType = terrain::DataType::Depth;
    const auto terrain = build("10 500 250 -9999 100 10", description);
    ASSERT_TRUE(terrain);
    EXPECT_EQ(cells(terrain.value()), (std::vector<float>{490, 0, 250, -1, 400, 490}));
    EXPECT_EQ(terrain->header.minElevation, -500);
    EXPECT_EQ(terrain->header.maxElevation, -10);
    EXPECT_EQ(terrain->header.dataType, terrain::DataType::Depth);
}

TEST_F(RawMatrixBuilderTest, TemporaryInputDropsAPlaceholderMinimumAndIsDeleted) {
    auto description = XyDescription(RawSampleEncoding::Ascii);
    const auto kept = build("-350 -250 10 20 30 40", description);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->header.minElevation, -350);
    EXPECT_TRUE(std::filesystem::exists(path("grid.raw")));

    const auto temporary = build("-350 -250 10 20 30 40", description, true);
    ASSERT_TRUE(temporary);
    EXPECT_EQ(temporary->header.minElevation, 10);
    EXPECT_EQ(cells(temporary.value()), (std::vector<float>{-1, 0, 0, 10, 20, 30}));
    EXPECT_FALSE(std::filesystem::exists(path("grid.raw")));

    EXPECT_FALSE(build("1 2", description, true));
    EXPECT_FALSE(std::filesystem::exists(path("grid.raw")));
}

TEST_F(RawMatrixBuilderTest, RefusesShortFilesUnreadableFilesAndUnacceptedDescriptions) {
    auto description = XyDescription(RawSampleEncoding::Float32);
    EXPECT_EQ(build(std::string(23, '\0'), description).error().message(),
              "Improper Rows or Columns");
    description.offsetBytes = 1;
    EXPECT_EQ(build(std::string(24, '\0'), description).error().message(),
              "Improper Rows or Columns");
    EXPECT_EQ(BuildRawMatrix(path("absent"), description, false, {}).error().message(),
              "Cannot Open Matrix");
    const auto ascii = XyDescription(RawSampleEncoding::Ascii);
    EXPECT_EQ(BuildRawMatrix(path("absent"), ascii, false, {}).error().message(),
              "Cannot Open ASCII Matrix");
    RawMatrixDescription unaccepted;
    EXPECT_EQ(build("1 2 3 4", unaccepted).error().message(), "Incorrect Values");
}

TEST_F(RawMatrixBuilderTest, NetCdfClassicFilesPresetTheDescription) {
    RawMatrixDescription description;
    EXPECT_FALSE(ApplyNetCdfPreset(writeFile("cdf2.nc", std::string("CDF\2rest", 8)), description));
    EXPECT_FALSE(ApplyNetCdfPreset(path("absent.nc"), description));
    EXPECT_EQ(description.encoding, RawSampleEncoding::Int16);
    ASSERT_TRUE(ApplyNetCdfPreset(writeFile("cdf1.nc", std::string("CDF\1rest", 8)), description));
    EXPECT_EQ(description.encoding, RawSampleEncoding::Float32);
    EXPECT_EQ(description.byteOrder, RawByteOrder::BigEndian);
    EXPECT_EQ(description.coordinateSystem, ProjectionKind::LatLon);
    EXPECT_EQ(description.dataType, terrain::DataType::Depth);
}

}  // namespace
}  // namespace tavrok::importers

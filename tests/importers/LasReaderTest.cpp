#include <gtest/gtest.h>

#include <string>

#include "LasFixtures.h"
#include "TestPaths.h"
#include "TestSupport.h"
#include "importers/LasReader.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

// Every point of the file, read in sections of sectionRecords.
support::Result<std::vector<CloudPoint>> readAll(const LasFileRecord& record,
                                                 std::size_t sectionRecords = 1000) {
    std::vector<CloudPoint> all;
    auto read = ForEachLasSection(
        record,
        [&all](std::span<const CloudPoint> points, std::uint64_t) {
            all.insert(all.end(), points.begin(), points.end());
            return true;
        },
        sectionRecords);
    if (!read) {
        return read.error();
    }
    return all;
}

// The shared LAS files: point counts, projected systems, formats and record lengths as their
// catalogue lists them (read there with another program). The two refused files promise more
// points than they hold. One file stores unscaled extents that its points do not lie in.
TEST(LasSharedFiles, EachLoadsAsCataloguedOrIsRefusedWithAReason) {
    struct Case {
        const char* name;
        std::uint64_t points;
        int projectedSystem;
        int format;
        int recordLength;
        bool refused = false;
        bool extentsHold = true;  // false: the header's extents are not the points' own
    };
    const Case cases[] = {
        {"laspy_1_4_w_evlr.las", 1000, 0, 6, 30},
        {"laspy_simple.las", 1065, 0, 3, 34},
        {"laspy_simple1_1.las", 1065, 0, 1, 28},
        {"laspy_simple1_3.las", 999, 0, 4, 57, false, false},
        {"laspy_unregistered_extra_bytes.las", 4, 0, 6, 34},
        {"liblas_1.0_0.las", 1, 26915, 0, 20},
        {"liblas_1.0_1.las", 1, 26915, 1, 28},
        {"liblas_1.1_0.las", 1, 26915, 0, 20},
        {"liblas_1.1_1.las", 1, 26915, 1, 28},
        {"liblas_1.2-with-color.las", 1065, 0, 3, 34},
        {"liblas_1.2_0.las", 1, 26915, 0, 20},
        {"liblas_1.2_1.las", 1, 26915, 1, 28},
        {"liblas_1.2_2.las", 1, 26915, 2, 26},
        {"liblas_1.2_3.las", 1, 26915, 3, 34},
        {"liblas_TO_core_last_clip.las", 8, 0, 1, 28},
        {"liblas_autzen.las", 106, 2994, 1, 28},
        {"liblas_bad_points_1.1.las", 1, 0, 1, 28},
        {"liblas_certainty3d-color-utm-feet-navd88.las", 10126, 2229, 3, 34},
        {"liblas_lots_of_vlr.las", 1, 32767, 1, 28},
        {"liblas_srs.las", 10, 32617, 1, 28},
        {"liblas_srs_utm17.las", 10, 32767, 1, 28},
        {"liblas_srs_vertcs.las", 10, 32617, 1, 28},
        {"pdal_1.2-empty-geotiff-vlrs.las", 43, 0, 1, 34},
        {"pdal_100-points.las", 100, 0, 3, 34},
        {"pdal_autzen-dd.las", 1065, 0, 3, 34},
        {"pdal_autzen-point-format-3.las", 106, 2994, 3, 34},
        {"pdal_autzen-utm.las", 1065, 26910, 3, 34},
        {"pdal_bad-geotiff-keys.las", 10, 32617, 1, 28},
        {"pdal_bad_vlr_count.las", 10, 32617, 3, 34},
        {"pdal_epsg_4326.las", 5380, 0, 0, 20},
        {"pdal_garbage_nVariableLength.las", 719, 0, 0, 20, true},
        {"pdal_gps-time-nan.las", 1, 0, 1, 28},
        {"pdal_mvk-thin.las", 6280, 26995, 1, 28},
        {"pdal_no-points.las", 0, 0, 3, 34},
        {"pdal_perm_1.0_0.las", 1, 26915, 0, 20},
        {"pdal_perm_1.0_1.las", 1, 26915, 1, 28},
        {"pdal_perm_1.1_0.las", 1, 26915, 0, 20},
        {"pdal_perm_1.1_1.las", 1, 26915, 1, 28},
        {"pdal_perm_1.2-no-points.las", 1065, 0, 3, 34, true},
        {"pdal_perm_1.2_0.las", 1, 26915, 0, 20},
        {"pdal_perm_1.2_1.las", 1, 26915, 1, 28},
        {"pdal_perm_1.2_2.las", 1, 26915, 2, 26},
        {"pdal_perm_1.2_3.las", 1, 26915, 3, 34},
        {"pdal_prec3.las", 110, 32767, 3, 34},
        {"pdal_sample_c_thin.las", 2732, 0, 3, 34},
        {"pdal_spec_3.las", 10, 32617, 3, 34},
        {"pdal_synthetic_test.las", 1, 0, 3, 34},
        {"pdal_test1_4.las", 1000, 0, 6, 30},
        {"pdal_test_utm16.las", 10, 26916, 1, 28},
        {"pdal_test_utm17.las", 10, 32617, 3, 34},
        {"pdal_utm15.las", 1, 26915, 3, 34},
        {"pdal_warsaw_small.las", 3000, 0, 3, 34},
    };
    ASSERT_EQ(std::size(cases), 52u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto record = ReadLasHeader(test::sharedData(std::string("las/") + c.name));
        if (c.refused) {
            ASSERT_FALSE(record);
            EXPECT_EQ(record.error().code, ErrorCode::CannotReadLasFile);
            EXPECT_NE(record.error().cause.find("promises"), std::string::npos);
            continue;
        }
        ASSERT_TRUE(record) << record.error().cause;
        EXPECT_EQ(record->pointCount, c.points);
        EXPECT_EQ(record->keys.projectedSystem, c.projectedSystem);
        EXPECT_EQ(record->pointFormat, c.format);
        EXPECT_EQ(record->recordLength, c.recordLength);
        auto points = readAll(*record, 97);
        ASSERT_TRUE(points);
        EXPECT_EQ(points->size(), c.points);
        const bool hasExtents =
            c.extentsHold && (record->maxX > record->minX || record->maxY > record->minY);
        for (const auto& point : *points) {
            if (!hasExtents) {
                break;
            }
            ASSERT_GE(point.x, record->minX - record->scale[0]);
            ASSERT_LE(point.x, record->maxX + record->scale[0]);
            ASSERT_GE(point.z, record->minZ - record->scale[2]);
            ASSERT_LE(point.z, record->maxZ + record->scale[2]);
        }
    }
}

class LasLayoutTest : public test::TemporaryFolderTest {};

// Ground is ASPRS class 2 in each format's own field, whatever flags sit beside it; withheld
// points are never handed out.
TEST_F(LasLayoutTest, ClassTwoIsGroundAndWithheldPointsAreSkippedInEveryLayout) {
    const std::vector<test::LasTestPoint> points{
        {10, 20, 100, 2},         // ground
        {11, 20, 101, 2 | 0x20},  // ground, synthetic flag (formats 0-5)
        {12, 20, 102, 2 | 0x40},  // ground, key-point flag (formats 0-5)
        {13, 20, 103, 3},         // low vegetation: bit 1 set, not ground
        {14, 20, 104, 6},         // building: bit 1 set, not ground
        {15, 20, 105, 2, true},   // withheld ground
        {16, 21, 106, 1},         // unclassified
    };
    // Version, format, extra bytes, only the 64-bit count.
    const test::LasTestLayout layouts[] = {
        {0, 0}, {1, 1}, {2, 2}, {3, 3},  {3, 4},    {3, 5},    {4, 6},
        {4, 7}, {4, 8}, {4, 9}, {4, 10}, {2, 1, 6}, {4, 6, 4}, {4, 6, 0, true},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE("format " + std::to_string(layout.pointFormat) + " version 1." +
                     std::to_string(layout.versionMinor) + " extra " +
                     std::to_string(layout.extraBytes));
        auto layoutPoints = points;
        if (layout.pointFormat >= 6) {
            // The flags live beside the class there, so the class byte is the whole class.
            layoutPoints[1].classification = 2;
            layoutPoints[2].classification = 2;
        }
        const auto file = writeFile("cloud.las", test::lasFileBytes(layoutPoints, layout));
        auto record = ReadLasHeader(file);
        ASSERT_TRUE(record) << record.error().cause;
        EXPECT_EQ(record->pointCount, points.size());
        auto read = readAll(*record, 2);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->size(), points.size() - 1);
        const bool ground[] = {true, true, true, false, false, false};
        for (std::size_t index = 0; index < read->size(); ++index) {
            EXPECT_EQ((*read)[index].bareEarth, ground[index]) << index;
            EXPECT_NEAR((*read)[index].z, points[index < 5 ? index : index + 1].z, 0.006);
        }
    }
}

TEST_F(LasLayoutTest, ProjectionKeysAndDamagedHeaders) {
    const std::vector<test::LasTestPoint> points{{500000, 4000000, 10}, {500010, 4000010, 20}};
    test::LasTestLayout utm;
    utm.projectedSystem = 32613;
    const auto good = test::lasFileBytes(points, utm);
    const auto record = ParseLasHeader(good, good.size());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->keys, (LasGeoKeys{1, 1, 32613, 0}));

    struct Case {
        const char* what;
        std::size_t at;
        char value;
        std::size_t keep;
        const char* because;
    };
    const Case cases[] = {
        {"signature", 0, 'X', good.size(), "signature"},
        {"version 2", 24, 2, good.size(), "version"},
        {"compressed", 104, static_cast<char>(0x81), good.size(), "compressed"},
        {"format 11", 104, 11, good.size(), "point format"},
        {"short records", 105, 19, good.size(), "too short"},
        {"truncated points", 0, 'L', good.size() - 1, "promises"},
        {"truncated header", 0, 'L', 200, "shorter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto bytes = good;
        bytes[c.at] = c.value;
        bytes.resize(c.keep);
        const auto damaged = ParseLasHeader(bytes, bytes.size());
        ASSERT_FALSE(damaged);
        EXPECT_NE(damaged.error().cause.find(c.because), std::string::npos)
            << damaged.error().cause;
    }
}

}  // namespace
}  // namespace tavrok::importers

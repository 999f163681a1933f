#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "GeodesyTestSupport.h"
#include "geodesy/Albers.h"
#include "geodesy/Ellipsoid.h"

namespace tavrok::geodesy {
namespace {

struct Setup {
    double a;
    double b;
    double originLatitudeDegrees;
    double centralMeridianDegrees;
    double parallel1Degrees;
    double parallel2Degrees;
    double falseEasting;
    double falseNorthing;
};

struct ProjCase {
    double latitudeDegrees;
    double longitudeDegrees;
    double easting;
    double northing;
};

struct ProjTable {
    const char* name;
    Setup setup;
    std::vector<ProjCase> cases;
};

Albers albersFor(const Setup& setup) {
    Albers engine;
    EXPECT_EQ(engine.setAlbersParameters(
                  setup.a, setup.b, radians(setup.originLatitudeDegrees),
                  radians(setup.centralMeridianDegrees), radians(setup.parallel1Degrees),
                  radians(setup.parallel2Degrees), setup.falseEasting, setup.falseNorthing),
              0);
    return engine;
}

const double grs80Minor = ellipsoidFor(EllipsoidId::Grs1980).semiMinorAxis();

// Expected values from PROJ 9.1 on the table's GRS 1980 axes, for example
//   echo "-104.99 39.74" | cs2cs +proj=longlat +a=6378137 +es=0.00669438 +to +proj=aea
//       +lat_0=23 +lon_0=-96 +lat_1=29.5 +lat_2=45.5 +x_0=0 +y_0=0 +a=6378137
//       +es=0.00669438 -f %.4f
// the sphere with +R=6371000. Both agree to a few micrometres.
const std::vector<ProjTable> projTables = {
    {"conterminous US",
     {6378137.0, grs80Minor, 23, -96, 29.5, 45.5, 0, 0},
     {
         {39.74, -104.99, -762375.2148, 1893930.4396},
         {25.76, -80.19, 1594288.1460, 434316.2392},
         {47.61, -122.33, -1967723.4731, 3009471.2900},
         {44.8, -68.77, 2121248.8839, 2729458.5916},
         {23, -96, 0.0, 0.0},
         {70, -150, -2665503.3716, 5754065.6576},
         {-30, -60, 5461489.7870, -3792044.0644},
     }},
    {"one standard parallel",  // +lat_0=40 +lon_0=10 +lat_1=45 +lat_2=45 +x_0=1e6 +y_0=2e6
     {6378137.0, grs80Minor, 40, 10, 45, 45, 1000000, 2000000},
     {
         {48.85, 2.35, 438033.6925, 3008966.8574},
         {41.9, 12.5, 1207705.5136, 2213706.2063},
         {59.3, 18.1, 1480846.7506, 4149469.5733},
         {38.7, -9.1, -655183.6538, 2052298.9215},
         {40, 10, 1000000.0, 2000000.0},
     }},
    {"southern cone",  // +lat_0=-30 +lon_0=135 +lat_1=-20 +lat_2=-40 +x_0=0 +y_0=10000000
     {6378137.0, grs80Minor, -30, 135, -20, -40, 0, 10000000},
     {
         {-33.87, 151.21, 1474995.1809, 9461578.4902},
         {-31.95, 115.86, -1774757.7056, 9634179.5537},
         {-12.46, 130.84, -464696.0930, 11934284.2505},
         {-42.88, 147.33, 1017285.0496, 8506744.9717},
     }},
    {"sphere",  // +R=6371000 +lat_0=23 +lon_0=-96 +lat_1=29.5 +lat_2=45.5
     {6371000.0, 6371000.0, 23, -96, 29.5, 45.5, 0, 0},
     {
         {40, -105, -758535.3169, 1928241.4191},
         {45, -70, 2016227.2784, 2729131.1503},
         {30, -120, -2284195.6322, 1062051.1570},
     }},
};

TEST(Albers, MatchesProjBothWays) {
    for (const ProjTable& table : projTables) {
        const Albers engine = albersFor(table.setup);
        for (const ProjCase& row : table.cases) {
            SCOPED_TRACE(testing::Message() << table.name << ": " << row.latitudeDegrees << ", "
                                            << row.longitudeDegrees);
            const ProjectedPoint point = engine.geodeticToAlbers(radians(row.latitudeDegrees),
                                                                 radians(row.longitudeDegrees));
            EXPECT_EQ(point.flags, 0);
            EXPECT_NEAR(point.easting, row.easting, 0.001);
            EXPECT_NEAR(point.northing, row.northing, 0.001);
            const GeodeticRadians back = engine.albersToGeodetic(row.easting, row.northing);
            EXPECT_EQ(back.flags, 0);
            // 1.6e-10 radian is about a millimetre on the ground.
            EXPECT_NEAR(back.latitudeRadians, radians(row.latitudeDegrees), 1.6e-10);
            EXPECT_NEAR(back.longitudeRadians, radians(row.longitudeDegrees), 1.6e-10);
        }
    }
}

TEST(Albers, RoundTripsTheWholeGlobe) {
    for (const ProjTable& table : projTables) {
        const Albers engine = albersFor(table.setup);
        double worst = 0;
        // Within 0.06 degree of a pole the inverse answers the pole itself.
        for (double latitude = -89.9; latitude <= 89.9; latitude += 2.9) {
            for (double longitude = -179.5; longitude <= 180; longitude += 7.3) {
                const ProjectedPoint forward =
                    engine.geodeticToAlbers(radians(latitude), radians(longitude));
                const GeodeticRadians back =
                    engine.albersToGeodetic(forward.easting, forward.northing);
                ASSERT_EQ(back.flags, 0) << table.name << " " << latitude << ", " << longitude;
                const double longitudeError =
                    std::remainder(back.longitudeRadians - radians(longitude), 2 * pi);
                worst = std::max(worst, std::hypot(back.latitudeRadians - radians(latitude),
                                                   longitudeError * std::cos(radians(latitude))));
            }
        }
        EXPECT_LT(worst * 6378137.0, 0.001) << table.name;
    }
}

TEST(AlbersToGeodetic, AnswersThePolesExactly) {
    const Albers engine = albersFor(projTables[0].setup);
    const ProjectedPoint north = engine.geodeticToAlbers(pi / 2, 0.0);
    const ProjectedPoint south = engine.geodeticToAlbers(-pi / 2, 0.0);
    EXPECT_EQ(engine.albersToGeodetic(north.easting, north.northing).latitudeRadians, pi / 2);
    EXPECT_EQ(engine.albersToGeodetic(south.easting, south.northing).latitudeRadians, -pi / 2);
}

TEST(SetAlbersParameters, FlagsEachBadParameter) {
    struct Case {
        double a, b, originLatitude, centralMeridian, parallel1, parallel2;
        int flags;
    };
    const double a = 6378137.0;
    const double b = grs80Minor;
    const double p1 = radians(29.5);
    const double p2 = radians(45.5);
    using namespace albersflags;
    const Case cases[] = {
        {a, b, 0, 0, p1, p2, 0},
        {a, a, pi / 2, 2 * pi, pi / 2, pi / 2, 0},
        {a, b, -pi / 2, -pi, p1, p1, 0},
        {0, 0, 0, 0, p1, p2, SemiMajorAxis | SemiMinorAxis},
        {a, 0, 0, 0, p1, p2, SemiMinorAxis},
        {b, a, 0, 0, p1, p2, AxisOrder},
        {nan, b, 0, 0, p1, p2, SemiMajorAxis},
        {a, b, 1.6, 0, p1, p2, OriginLatitudeRange},
        {a, b, 0, -3.2, p1, p2, CentralMeridianRange},
        {a, b, 0, 6.3, p1, p2, CentralMeridianRange},
        {a, b, 0, 0, 1.6, p2, FirstParallelRange},
        {a, b, 0, 0, p1, -1.6, SecondParallelRange},
        {a, b, 0, 0, 0, 0, BothParallelsZero | ParallelsOpposite},
        {a, b, 0, 0, p1, -p1, ParallelsOpposite},
        {a, b, 0, 0, 0, p2, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message()
                     << row.a << " " << row.b << " " << row.originLatitude << " "
                     << row.centralMeridian << " " << row.parallel1 << " " << row.parallel2);
        Albers engine;
        EXPECT_EQ(engine.setAlbersParameters(row.a, row.b, row.originLatitude, row.centralMeridian,
                                             row.parallel1, row.parallel2, 0, 0),
                  row.flags);
    }

    // A refused set-up leaves the projection as it was.
    Albers engine = albersFor(projTables[0].setup);
    EXPECT_EQ(engine.setAlbersParameters(a, b, 0, 0, p1, -p1, 0, 0), ParallelsOpposite);
    const ProjectedPoint kept = engine.geodeticToAlbers(radians(39.74), radians(-104.99));
    EXPECT_NEAR(kept.easting, -762375.2148, 0.001);
}

TEST(Albers, FlagsConversionInputOutOfRange) {
    const Albers engine = albersFor(projTables[0].setup);
    using namespace albersflags;
    struct ForwardCase {
        double latitude, longitude;
        int flags;
    };
    const ForwardCase forwardCases[] = {
        {pi / 2, 2 * pi, 0},
        {-pi / 2, -pi, 0},
        {1.58, 0, LatitudeRange},
        {nan, 0, LatitudeRange},
        {0, -3.2, LongitudeRange},
        {0, 6.3, LongitudeRange},
        {-2, 7, LatitudeRange | LongitudeRange},
    };
    for (const ForwardCase& row : forwardCases) {
        SCOPED_TRACE(testing::Message() << row.latitude << ", " << row.longitude);
        EXPECT_EQ(engine.geodeticToAlbers(row.latitude, row.longitude).flags, row.flags);
    }

    // The inverse accepts every point the forward projection can produce, the south pole,
    // farthest from the apex of this cone, included; well beyond them it refuses.
    double farthestEasting = 0;
    double farthestNorthing = 0;
    for (double longitude = -180; longitude <= 180; longitude += 0.5) {
        const ProjectedPoint pole = engine.geodeticToAlbers(-pi / 2, radians(longitude));
        farthestEasting = std::max(farthestEasting, std::fabs(pole.easting));
        farthestNorthing = std::max(farthestNorthing, std::fabs(pole.northing));
    }
    struct InverseCase {
        double easting, northing;
        int flags;
    };
    const InverseCase inverseCases[] = {
        {0, 0, 0},
        {farthestEasting, 0, 0},
        {-farthestEasting, 0, 0},
        {0, farthestNorthing, 0},
        {0, -farthestNorthing, 0},
        {farthestEasting * 1.01, 0, EastingRange},
        {-farthestEasting * 1.01, 0, EastingRange},
        {0, farthestNorthing * 2, NorthingRange},
        {0, -farthestNorthing * 2, NorthingRange},
        {nan, 0, EastingRange},
        {1e9, 1e9, EastingRange | NorthingRange},
    };
    for (const InverseCase& row : inverseCases) {
        SCOPED_TRACE(testing::Message() << row.easting << ", " << row.northing);
        EXPECT_EQ(engine.albersToGeodetic(row.easting, row.northing).flags, row.flags);
    }
}

}  // namespace
}  // namespace tavrok::geodesy

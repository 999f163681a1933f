#include <gtest/gtest.h>

#include <cmath>

#include "GeodesyTestSupport.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/TransverseMercator.h"

namespace tavrok::geodesy {
namespace {

double semiMinor(EllipsoidId id) {
    return ellipsoidFor(id).semiMinorAxis();
}

// A national grid with every parameter away from the UTM values: Airy, origin 49N 2W,
// scale 0.9996012717, false origin 400 km west and 100 km north of the true one.
TransverseMercator nationalGrid() {
    TransverseMercator engine;
    EXPECT_EQ(
        engine.setTransverseMercatorParameters(6377563.0, semiMinor(EllipsoidId::Airy), radians(49),
                                               radians(-2), 400000.0, -100000.0, 0.9996012717),
        0);
    return engine;
}

// A projection on the WGS-84 axes with its origin on the equator.
TransverseMercator wgs84Grid(double centralMeridianDegrees, double falseEasting,
                             double falseNorthing, double scaleFactor) {
    TransverseMercator engine;
    EXPECT_EQ(engine.setTransverseMercatorParameters(6378137.0, semiMinor(EllipsoidId::Wgs84), 0.0,
                                                     radians(centralMeridianDegrees), falseEasting,
                                                     falseNorthing, scaleFactor),
              0);
    return engine;
}

struct ProjCase {
    double latitudeDegrees;
    double longitudeDegrees;
    double easting;
    double northing;
    int flags;
    double tolerance;  // metres
};

// Expected values from PROJ 9.1:
//   echo "-0.1 51.5" | cs2cs +proj=longlat +a=6377563 +es=0.00667054 +to +proj=tmerc
//       +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000 +a=6377563
//       +es=0.00667054 -f %.4f
// Within nine degrees of the central meridian the series agree to well under a millimetre;
// at ten degrees (the warning row) the truncated series is 2.3 mm off.
const ProjCase nationalGridCases[] = {
    {51.5, -0.1, 531866.1222, 179660.8875, 0, 0.001},
    {57.5, -4.2, 268178.6240, 847641.9113, 0, 0.001},
    {50.1, -5.5, 149737.3625, 28150.4438, 0, 0.001},
    {60.1, -1.3, 438922.1935, 1135189.0505, 0, 0.001},
    {49, -2, 400000.0000, -100000.0000, 0, 0.001},
    {45, 8, 1188066.3981, -495589.4930, tmflags::LongitudeWarning, 0.005},
};

TEST(TransverseMercator, MatchesProjOnANationalGridBothWays) {
    const TransverseMercator engine = nationalGrid();
    for (const ProjCase& row : nationalGridCases) {
        SCOPED_TRACE(testing::Message() << row.latitudeDegrees << ", " << row.longitudeDegrees);
        const ProjectedPoint point = engine.geodeticToTransverseMercator(
            radians(row.latitudeDegrees), radians(row.longitudeDegrees));
        EXPECT_EQ(point.flags, row.flags);
        EXPECT_NEAR(point.easting, row.easting, row.tolerance);
        EXPECT_NEAR(point.northing, row.northing, row.tolerance);
        if (row.flags == 0) {
            const GeodeticRadians back =
                engine.transverseMercatorToGeodetic(row.easting, row.northing);
            EXPECT_EQ(back.flags, 0);
            // 1.6e-10 radian is about a millimetre on the ground.
            EXPECT_NEAR(back.latitudeRadians, radians(row.latitudeDegrees), 1.6e-10);
            EXPECT_NEAR(back.longitudeRadians * std::cos(back.latitudeRadians),
                        radians(row.longitudeDegrees) * std::cos(back.latitudeRadians), 1.6e-10);
        }
    }
}

TEST(TransverseMercator, CentralMeridianAndLongitudeAboveHalfATurnWrap) {
    // 200 degrees east is 160 degrees west. PROJ 9.1, +lon_0=-160 +k=1 on the WGS-84 table axes:
    //   echo "-155 30" | cs2cs +proj=longlat +a=6378137 +es=0.00669438 +to +proj=tmerc
    //       +lat_0=0 +lon_0=-160 +k=1 +a=6378137 +es=0.00669438 -f %.4f
    const TransverseMercator engine = wgs84Grid(200, 0, 0, 1);
    const ProjectedPoint west = engine.geodeticToTransverseMercator(radians(30), radians(-155));
    const ProjectedPoint east = engine.geodeticToTransverseMercator(radians(30), radians(205));
    const ProjectedPoint south = engine.geodeticToTransverseMercator(radians(-20), radians(-166));
    EXPECT_EQ(west.flags, 0);
    EXPECT_NEAR(west.easting, 482739.7614, 0.001);
    EXPECT_NEAR(west.northing, 3330662.0653, 0.001);
    EXPECT_NEAR(east.easting, west.easting, 1e-6);
    EXPECT_NEAR(east.northing, west.northing, 1e-6);
    EXPECT_NEAR(south.easting, -628768.9589, 0.001);
    EXPECT_NEAR(south.northing, -2223655.2713, 0.001);

    const GeodeticRadians back = engine.transverseMercatorToGeodetic(south.easting, south.northing);
    EXPECT_EQ(back.flags, 0);
    EXPECT_NEAR(back.latitudeRadians, radians(-20), 1e-10);
    EXPECT_NEAR(back.longitudeRadians, radians(-166), 1e-10);
}

TEST(TransverseMercator, AcceptsLongitudesAcrossTheAntimeridianFromTheCentralMeridian) {
    const TransverseMercator engine = wgs84Grid(179, 500000, 0, 0.9996);
    const ProjectedPoint across = engine.geodeticToTransverseMercator(radians(10), radians(-179));
    const ProjectedPoint mirror = engine.geodeticToTransverseMercator(radians(10), radians(177));
    EXPECT_EQ(across.flags, 0);
    // Two degrees either side of the central meridian.
    EXPECT_NEAR(across.easting - 500000.0, 500000.0 - mirror.easting, 1e-6);
    EXPECT_NEAR(across.northing, mirror.northing, 1e-6);
    const GeodeticRadians back =
        engine.transverseMercatorToGeodetic(across.easting, across.northing);
    EXPECT_NEAR(back.longitudeRadians, radians(-179), 1e-10);
}

TEST(SetTransverseMercatorParameters, FlagsEachBadParameterAndKeepsThePreviousOnes) {
    struct Case {
        double a, b, originLatitude, centralMeridian, scaleFactor;
        int flags;
    };
    const double a = 6378137.0;
    const double b = 6356752.3142;
    const Case cases[] = {
        {a, b, 0, 0, 0.9996, 0},
        {a, a, pi / 2, 2 * pi, 3.0, 0},
        {a, b, -pi / 2, -pi, 0.3, 0},
        {0, 0, 0, 0, 1, tmflags::SemiMajorAxis | tmflags::SemiMinorAxis},
        {-1, b, 0, 0, 1, tmflags::SemiMajorAxis | tmflags::AxisOrder},
        {a, -1, 0, 0, 1, tmflags::SemiMinorAxis},
        {b, a, 0, 0, 1, tmflags::AxisOrder},
        {nan, b, 0, 0, 1, tmflags::SemiMajorAxis},
        {a, b, 1.6, 0, 1, tmflags::OriginLatitudeRange},
        {a, b, -1.6, 0, 1, tmflags::OriginLatitudeRange},
        {a, b, 0, -3.2, 1, tmflags::CentralMeridianRange},
        {a, b, 0, 6.3, 1, tmflags::CentralMeridianRange},
        {a, b, 0, 0, 0.29, tmflags::ScaleFactor},
        {a, b, 0, 0, 3.01, tmflags::ScaleFactor},
        {a, b, 0, 0, nan, tmflags::ScaleFactor},
        {b, a, 2, 7, 5,
         tmflags::AxisOrder | tmflags::OriginLatitudeRange | tmflags::CentralMeridianRange |
             tmflags::ScaleFactor},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << row.a << " " << row.b << " " << row.originLatitude << " "
                                        << row.centralMeridian << " " << row.scaleFactor);
        TransverseMercator engine;
        EXPECT_EQ(engine.setTransverseMercatorParameters(
                      row.a, row.b, row.originLatitude, row.centralMeridian, 0, 0, row.scaleFactor),
                  row.flags);
    }

    TransverseMercator engine = nationalGrid();
    EXPECT_EQ(engine.setTransverseMercatorParameters(a, b, 0, 0, 0, 0, 5.0), tmflags::ScaleFactor);
    const ProjectedPoint kept = engine.geodeticToTransverseMercator(radians(51.5), radians(-0.1));
    EXPECT_NEAR(kept.easting, 531866.1222, 0.001);
    EXPECT_NEAR(kept.northing, 179660.8875, 0.001);
}

TEST(GeodeticToTransverseMercator, FlagsOutOfRangeInputAndWarnsFarFromTheMeridian) {
    struct Case {
        double latitude, longitude;  // radians
        int flags;
    };
    const Case cases[] = {
        {radians(40), radians(8.9), 0},
        {radians(40), radians(9.1), tmflags::LongitudeWarning},
        {radians(40), radians(-89), tmflags::LongitudeWarning},
        {pi / 2, radians(90), tmflags::LongitudeWarning},
        {1.58, 0, tmflags::LatitudeRange},
        {-1.58, 0, tmflags::LatitudeRange},
        {nan, 0, tmflags::LatitudeRange},
        {0, 1.6, tmflags::LongitudeRange},
        {0, -1.6, tmflags::LongitudeRange},
        {0, 3.5, tmflags::LongitudeRange},  // 3.5 rad is 159 degrees west
        {0, nan, tmflags::LongitudeRange},
        {2, 2, tmflags::LatitudeRange | tmflags::LongitudeRange},
    };
    const TransverseMercator engine = wgs84Grid(0, 500000, 0, 0.9996);
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << row.latitude << ", " << row.longitude);
        const ProjectedPoint point =
            engine.geodeticToTransverseMercator(row.latitude, row.longitude);
        EXPECT_EQ(point.flags, row.flags);
        if (row.flags == tmflags::LongitudeWarning) {
            // A warning only: the point is still projected, east or west as it lies.
            EXPECT_EQ(point.easting > 500000.0, row.longitude > 0);
            EXPECT_TRUE(std::isfinite(point.northing));
        }
    }
}

TEST(TransverseMercatorToGeodetic, FlagsCoordinatesBeyondTheProjectedGlobe) {
    const TransverseMercator engine = wgs84Grid(0, 500000, 1000000, 1);
    // Whatever the forward projection produces is accepted back.
    const ProjectedPoint pole = engine.geodeticToTransverseMercator(pi / 2, 0.0);
    const ProjectedPoint quarter = engine.geodeticToTransverseMercator(0.0, pi / 2);
    struct Case {
        double easting, northing;
        int flags;
    };
    const double extentEast = quarter.easting - 500000.0;
    const double extentNorth = pole.northing - 1000000.0;
    const Case cases[] = {
        {500000.0, 1000000.0, 0},
        {quarter.easting, 1000000.0, 0},
        {500000.0 - extentEast, 1000000.0, 0},
        {500000.0, pole.northing, 0},
        {500000.0, 1000000.0 - extentNorth, 0},
        {quarter.easting + 1.0, 1000000.0, tmflags::EastingRange},
        {500000.0 - extentEast - 1.0, 1000000.0, tmflags::EastingRange},
        {500000.0, pole.northing + 1.0, tmflags::NorthingRange},
        {500000.0, 1000000.0 - extentNorth - 1.0, tmflags::NorthingRange},
        {nan, 1000000.0, tmflags::EastingRange},
        {1e9, -1e9, tmflags::EastingRange | tmflags::NorthingRange},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << row.easting << ", " << row.northing);
        EXPECT_EQ(engine.transverseMercatorToGeodetic(row.easting, row.northing).flags, row.flags);
    }
    const GeodeticRadians northPole = engine.transverseMercatorToGeodetic(500000.0, pole.northing);
    EXPECT_NEAR(northPole.latitudeRadians, pi / 2, 1e-9);
}

}  // namespace
}  // namespace tavrok::geodesy

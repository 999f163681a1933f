#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "GeodesyTestSupport.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/Utm.h"

namespace tavrok::geodesy {
namespace {

UtmConverter converterFor(EllipsoidId ellipsoid, int zoneOverride = 0) {
    UtmConverter converter;
    EXPECT_EQ(converter.setUtmParameters(ellipsoid, zoneOverride), 0);
    return converter;
}

// Ground distance in metres of a small latitude/longitude error (radians).
double groundError(double latitude, double latitudeError, double longitudeError) {
    const double radius = 6378137.0;
    const double wrappedLongitudeError = std::remainder(longitudeError, 2.0 * pi);
    return radius * std::hypot(latitudeError, wrappedLongitudeError * std::cos(latitude));
}

struct ProjCase {
    EllipsoidId ellipsoid;
    int zoneOverride;
    double latitudeDegrees;
    double longitudeDegrees;
    int zone;
    char hemisphere;
    double easting;
    double northing;
    int flags;
};

// Expected eastings and northings from PROJ 9.1 with the table's own axes, for example
//   echo "-105 40" | cs2cs +proj=longlat +a=6378137 +es=0.00669438 +to +proj=utm +zone=13
//                          +a=6378137 +es=0.00669438 -f %.4f
// with +south for hemisphere 'S'; Clarke 1866 is +a=6378206 +es=0.006768658, International
// +a=6378388 +es=0.00672267, GRS 1980 as WGS-84. Rows include points 2.99 degrees from the
// central meridian, the six-degree offsets of the Norway and Svalbard zones and, through the
// override, nine degrees; the largest difference found there is 0.13 mm.
const std::vector<ProjCase> projCases = {
    {EllipsoidId::Wgs84, 0, 40, -105, 13, 'N', 500000.0000, 4427757.2187, 0},
    {EllipsoidId::Wgs84, 0, 40, -102.01, 13, 'N', 755245.8464, 4432040.3426, 0},
    {EllipsoidId::Wgs84, 0, 0.5, -107.99, 13, 'N', 167148.3378, 55340.8795, 0},
    {EllipsoidId::Wgs84, 0, -0.5, -102.01, 13, 'S', 832851.6622, 9944659.1205, 0},
    {EllipsoidId::Wgs84, 0, -33, 151, 56, 'S', 313152.7772, 6346936.4957, 0},
    {EllipsoidId::Wgs84, 0, 84.5, -65.5, 20, 'N', 473256.3817, 9384493.6768, 0},
    {EllipsoidId::Wgs84, 0, -80.49, 179.5, 60, 'S', 546098.5985, 1062729.8432, 0},
    {EllipsoidId::Wgs84, 0, 51.4778, -0.0015, 30, 'N', 708213.9506, 5707224.5426, 0},
    {EllipsoidId::Wgs84, 0, 60, 3.01, 32, 'N', 166196.5766, 6666542.9834, 0},
    {EllipsoidId::Wgs84, 0, 75, 9.01, 33, 'N', 327219.2687, 8332339.7856, 0},
    {EllipsoidId::Wgs84, 0, 78, 32.9, 35, 'N', 636716.8460, 8665261.5497, 0},
    {EllipsoidId::Wgs84, 13, 40, -101.5, 13, 'N', 798791.5570, 4433627.3403, 0},
    {EllipsoidId::Wgs84, 13, 40, -99.01, 13, 'N', 1011467.2153, 4444976.9637, 4},
    {EllipsoidId::Wgs84, 13, -15, -99.01, 13, 'S', 1144994.6344, 8332924.5902, 4},
    {EllipsoidId::Wgs84, 1, -17, 179.9, 1, 'S', 169891.5239, 8117832.1703, 0},
    {EllipsoidId::Wgs84, 60, -17, -179.9, 60, 'S', 830108.4761, 8117832.1703, 0},
    {EllipsoidId::Clarke1866, 0, 40, -105, 13, 'N', 500000.0000, 4427546.9027, 0},
    {EllipsoidId::Clarke1866, 0, 35, -98.5, 14, 'N', 545627.0793, 3872959.4500, 0},
    {EllipsoidId::Clarke1866, 0, 61.2, -149.9, 6, 'N', 344167.7108, 6788317.3849, 0},
    {EllipsoidId::Clarke1866, 0, 44.99, -87.01, 16, 'N', 499211.6867, 4981622.0821, 0},
    {EllipsoidId::Grs1980, 0, 44.9, -68.01, 19, 'N', 578162.7694, 4972318.4487, 0},
    {EllipsoidId::Grs1980, 0, 19.7, -155.9, 5, 'N', 195973.2902, 2180879.0622, 0},
    {EllipsoidId::International, 0, 50, 10, 32, 'N', 571669.8651, 5539221.4651, 0},
    {EllipsoidId::International, 0, -34.6, -58.4, 21, 'S', 371618.9052, 6170363.1795, 0},
    {EllipsoidId::International, 0, 65, 23.9, 34, 'N', 636723.7605, 7211771.6717, 0},
    {EllipsoidId::International, 0, -45.8, 170.5, 59, 'S', 461142.7884, 4927956.3307, 0},
};

// Ellipsoid, zone override and position of a row, for failure messages.
testing::Message describe(const ProjCase& row) {
    return testing::Message() << "ellipsoid " << static_cast<int>(row.ellipsoid) << " override "
                              << row.zoneOverride << " at " << row.latitudeDegrees << ", "
                              << row.longitudeDegrees;
}

TEST(UtmConverter, MatchesProjWithinOneMillimetreBothWays) {
    for (const ProjCase& row : projCases) {
        SCOPED_TRACE(describe(row));
        const UtmConverter converter = converterFor(row.ellipsoid, row.zoneOverride);
        const double latitude = radians(row.latitudeDegrees);
        const double longitude = radians(row.longitudeDegrees);
        const UtmPoint point = converter.geodeticToUtm(latitude, longitude);
        EXPECT_EQ(point.flags, row.flags);
        EXPECT_EQ(point.zone, row.zone);
        EXPECT_EQ(point.hemisphere, row.hemisphere);
        EXPECT_NEAR(point.easting, row.easting, 0.001);
        EXPECT_NEAR(point.northing, row.northing, 0.001);
        // Eastings beyond the grid are refused by the inverse, and the row on the 84.5-degree
        // limit, rounded to 0.1 mm, may come back a hair outside it.
        if (row.flags != 0 || row.latitudeDegrees == 84.5) {
            continue;
        }
        const GeodeticRadians back =
            converterFor(row.ellipsoid)
                .utmToGeodetic(row.zone, row.hemisphere, row.easting, row.northing);
        ASSERT_EQ(back.flags, 0);
        EXPECT_LT(groundError(latitude, back.latitudeRadians - latitude,
                              back.longitudeRadians - longitude),
                  0.001);
    }
}

TEST(UtmConverter, RoundTripStaysWithinOneMillimetreAcrossZones) {
    const EllipsoidId ellipsoids[] = {EllipsoidId::Wgs84, EllipsoidId::Clarke1866,
                                      EllipsoidId::International, EllipsoidId::Airy};
    double worst = 0;
    for (EllipsoidId ellipsoid : ellipsoids) {
        const UtmConverter converter = converterFor(ellipsoid);
        for (double latitudeDegrees = -80.0; latitudeDegrees <= 84.0; latitudeDegrees += 3.7) {
            // Zone 13 runs from -108 to -102 degrees; include both borders.
            for (double longitudeDegrees = -108.0; longitudeDegrees < -102.0;
                 longitudeDegrees += 0.37) {
                const double latitude = radians(latitudeDegrees);
                const double longitude = radians(longitudeDegrees);
                const UtmPoint forward = converter.geodeticToUtm(latitude, longitude);
                ASSERT_EQ(forward.zone, 13);
                const GeodeticRadians back = converter.utmToGeodetic(
                    forward.zone, forward.hemisphere, forward.easting, forward.northing);
                if (forward.flags != 0 || back.flags != 0) {
                    ADD_FAILURE() << "flags " << forward.flags << "/" << back.flags << " at "
                                  << latitudeDegrees << ", " << longitudeDegrees;
                    continue;
                }
                worst = std::max(worst, groundError(latitude, back.latitudeRadians - latitude,
                                                    back.longitudeRadians - longitude));
            }
        }
    }
    EXPECT_LT(worst, 0.001);
}

struct ZoneCase {
    double latitudeDegrees;
    double longitudeDegrees;
    int zoneOverride;
    int zone;  // expected; 0 where the conversion stops with a flag
    int flags;
};

TEST(GeodeticToUtm, ChoosesZoneWithNorwaySvalbardAndOverrideRules) {
    const ZoneCase cases[] = {
        {60, 5, 0, 32, 0},  // southwest Norway belongs to the widened zone 32
        {60, 2.99, 0, 31, 0},     {56, 3, 0, 32, 0},
        {55.99, 3, 0, 31, 0},     {64, 3, 0, 31, 0},  // the widening ends below 64 degrees
        {75, 10, 0, 33, 0},       {75, 8.9, 0, 31, 0},
        {72, 20.99, 0, 33, 0},    {72, 21, 0, 35, 0},
        {72, 33, 0, 37, 0},       {72, 41.99, 0, 37, 0},
        {72, 42, 0, 38, 0},       {71.99, 10, 0, 32, 0},
        {0, 180, 0, 1, 0},        {0, -180, 0, 1, 0},
        {0, 0, 0, 31, 0},         {0, -0.0001, 0, 30, 0},
        {0, 359.99, 0, 30, 0},  // longitudes up to a full turn are accepted
        {40, -99, 13, 13, 4},   // a zone-14 point expressed in zone 13 runs off the grid
        {40, -100.5, 13, 13, 0},  {40, -103, 14, 14, 0},
        {40, -87, 13, 0, 64},  // zone 16 is too far from the override
        {-17, -179.9, 60, 60, 0}, {-17, 179.9, 1, 1, 0},
        {-17, 179.9, 59, 59, 4},  {-17, 179.9, 2, 0, 64},
    };
    for (const ZoneCase& row : cases) {
        SCOPED_TRACE(testing::Message() << row.latitudeDegrees << ", " << row.longitudeDegrees
                                        << " override " << row.zoneOverride);
        const UtmConverter converter = converterFor(EllipsoidId::Wgs84, row.zoneOverride);
        const UtmPoint point =
            converter.geodeticToUtm(radians(row.latitudeDegrees), radians(row.longitudeDegrees));
        EXPECT_EQ(point.flags, row.flags);
        if (row.zone != 0) {
            EXPECT_EQ(point.zone, row.zone);
        }
    }
}

TEST(GeodeticToUtm, HemisphereFollowsTheSignOfLatitude) {
    const UtmConverter converter = converterFor(EllipsoidId::Wgs84);
    const UtmPoint north = converter.geodeticToUtm(0.0, radians(-105));
    const UtmPoint negativeZero = converter.geodeticToUtm(-0.0, radians(-105));
    const UtmPoint south = converter.geodeticToUtm(-1e-9, radians(-105));
    EXPECT_EQ(north.hemisphere, 'N');
    EXPECT_EQ(north.northing, 0.0);
    EXPECT_EQ(negativeZero.hemisphere, 'N');
    EXPECT_EQ(south.hemisphere, 'S');
    EXPECT_NEAR(south.northing, 10000000.0, 0.01);
    EXPECT_EQ(south.flags, 0);
}

struct ForwardFlagCase {
    double latitude;  // radians
    double longitude;
    int flags;
};

TEST(GeodeticToUtm, FlagsPointsOutsideTheGrid) {
    const ForwardFlagCase cases[] = {
        {radians(84.5), radians(10), 0},
        {std::nextafter(radians(84.5), 2.0), radians(10), 1},
        {radians(84.6), radians(10), 1},
        {radians(-80.5), radians(10), 0},
        {std::nextafter(radians(-80.5), -2.0), radians(10), 1},
        {radians(-80.6), radians(10), 1},
        {0, -pi, 0},
        {0, std::nextafter(-pi, -4.0), 2},
        {0, std::nextafter(2 * pi, 0.0), 0},
        {0, 2 * pi, 2},
        {radians(90), 7.0, 3},
        {nan, 0, 1},
        {0, nan, 2},
    };
    const UtmConverter converter = converterFor(EllipsoidId::Wgs84);
    for (const ForwardFlagCase& row : cases) {
        SCOPED_TRACE(testing::Message() << row.latitude << ", " << row.longitude);
        EXPECT_EQ(converter.geodeticToUtm(row.latitude, row.longitude).flags, row.flags);
    }
}

struct InverseFlagCase {
    int zone;
    char hemisphere;
    double easting;
    double northing;
    int flags;
};

TEST(UtmToGeodetic, FlagsBadZoneHemisphereAndCoordinates) {
    const InverseFlagCase cases[] = {
        {13, 'N', 500000, 4427757, 0},
        {1, 'S', 100000, 2000000, 0},
        {60, 'N', 900000, 9000000, 0},
        {0, 'N', 500000, 4427757, 16},
        {61, 'N', 500000, 4427757, 16},
        {13, 'n', 500000, 4427757, 32},
        {13, 'X', 500000, 4427757, 32},
        {0, 'X', 500000, 4427757, 48},
        {13, 'N', 99999.99, 4427757, 4},
        {13, 'N', 900000.01, 4427757, 4},
        {13, 'N', nan, 4427757, 4},
        {13, 'N', 500000, -0.01, 8},
        {13, 'S', 500000, 10000000.01, 8},
        {13, 'N', 500000, nan, 8},
        {0, 'Q', 1, -1, 60},
        // Inside the grid numbers but north of 84.5 degrees.
        {13, 'N', 500000, 9500000, 8},
        {13, 'S', 500000, 500000, 8},
    };
    const UtmConverter converter = converterFor(EllipsoidId::Wgs84);
    for (const InverseFlagCase& row : cases) {
        SCOPED_TRACE(testing::Message()
                     << row.zone << row.hemisphere << " " << row.easting << " " << row.northing);
        EXPECT_EQ(
            converter.utmToGeodetic(row.zone, row.hemisphere, row.easting, row.northing).flags,
            row.flags);
    }
}

struct SetupCase {
    double a;
    double b;
    int zoneOverride;
    int flags;
};

TEST(SetUtmParameters, FlagsBadAxesAndOverrideAndKeepsPreviousValues) {
    const SetupCase cases[] = {
        {6378137, 6356752.3142, 0, 0}, {6378137, 6378137, 60, 0},  {0, 6356752, 0, 128 | 512},
        {6378137, 0, 0, 256},          {6356752, 6378137, 0, 512}, {-1, -2, 0, 128 | 256},
        {6378137, 6356752, 61, 64},    {6378137, 6356752, -1, 64}, {nan, 6356752, 0, 128},
    };
    for (const SetupCase& row : cases) {
        SCOPED_TRACE(testing::Message() << row.a << " " << row.b << " " << row.zoneOverride);
        UtmConverter converter;
        EXPECT_EQ(converter.setUtmParameters(row.a, row.b, row.zoneOverride), row.flags);
    }

    UtmConverter converter = converterFor(EllipsoidId::Clarke1866, 13);
    const UtmPoint before = converter.geodeticToUtm(radians(40), radians(-105));
    EXPECT_EQ(converter.setUtmParameters(6378137, 6356752, 99), 64);
    const UtmPoint after = converter.geodeticToUtm(radians(40), radians(-105));
    EXPECT_EQ(converter.zoneOverride(), 13);
    EXPECT_EQ(after.northing, before.northing);
    EXPECT_NEAR(after.northing, 4427546.9027, 0.001);  // still Clarke 1866
}

TEST(LatLonToUtm, TakesDegreesWithinMillimetresOfProjAndNamesTheZone) {
    const UtmConverter converter = converterFor(EllipsoidId::Wgs84);
    const UtmPoint point = converter.latLonToUtm(40, -105);
    // The short pi moves a point by millimetres, not more.
    EXPECT_NEAR(point.easting, 500000.0, 0.05);
    EXPECT_NEAR(point.northing, 4427757.2187, 0.05);
    struct Case {
        double latitudeDegrees;
        double longitudeDegrees;
        int flags;
        const char* zoneText;
    };
    // With the short pi, 180 degrees is a hair west of the antimeridian and -180 a hair east.
    const Case cases[] = {
        {40, -105, 0, "13N"}, {-33, 151, 0, "56S"}, {84.5, 0, 0, "31N"}, {84.6, 0, 1, ""},
        {-80.5, 0, 0, "31S"}, {-80.6, 0, 1, ""},    {0, 180, 0, "60N"},  {0, -180, 0, "1N"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(testing::Message() << row.latitudeDegrees << ", " << row.longitudeDegrees);
        const UtmPoint converted = converter.latLonToUtm(row.latitudeDegrees, row.longitudeDegrees);
        EXPECT_EQ(converted.flags, row.flags);
        EXPECT_EQ(converted.zoneText, row.zoneText);
    }
}

TEST(UtmToLatLon, ReadsZoneTextAndReturnsDegrees) {
    const UtmConverter converter = converterFor(EllipsoidId::Wgs84);
    const GeodeticDegrees south = converter.utmToLatLon("56S", 313152.7772, 6346936.4957);
    EXPECT_EQ(south.flags, 0);
    // Degrees come back through the same short pi, so these match to the series' accuracy.
    EXPECT_NEAR(south.latitudeDegrees, -33 * pi / support::geodesyPi, 1e-9);
    EXPECT_NEAR(south.longitudeDegrees, 151 * pi / support::geodesyPi, 1e-9);

    const UtmPoint forward = converter.latLonToUtm(47.25, -122.5);
    const GeodeticDegrees back =
        converter.utmToLatLon(forward.zoneText, forward.easting, forward.northing);
    EXPECT_EQ(back.flags, 0);
    EXPECT_NEAR(back.latitudeDegrees, 47.25, 1e-10);
    EXPECT_NEAR(back.longitudeDegrees, -122.5, 1e-10);

    struct TextCase {
        const char* text;
        int flags;
    };
    const TextCase cases[] = {
        {"13N", 0}, {"7N", 0},   {"07N", 0},  {"13", 32}, {"N", 16},
        {"", 48},   {"13n", 32}, {"61N", 16}, {"0N", 16}, {"99999999999N", 16},
    };
    for (const TextCase& row : cases) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(converter.utmToLatLon(row.text, 500000, 4427757).flags, row.flags);
    }
    EXPECT_NEAR(converter.utmToLatLon("7N", 500000, 4427757).longitudeDegrees,
                -141 * pi / support::geodesyPi, 1e-9);
}

}  // namespace
}  // namespace tavrok::geodesy

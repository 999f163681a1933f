#include <gtest/gtest.h>

#include "geodesy/EllipsoidChange.h"
#include "geodesy/Utm.h"

namespace tavrok::geodesy {
namespace {

TEST(MoveUtmBoxToEllipsoid, KeepsABoxOnItsOwnEllipsoid) {
    const UtmBox box{587064, 5013357, 617424, 5037297};
    const auto same =
        MoveUtmBoxToEllipsoid(box, "10N", EllipsoidId::Grs1980, EllipsoidId::Grs1980, 10);
    ASSERT_TRUE(same.has_value());
    EXPECT_NEAR(same->west, box.west, 1e-3);
    EXPECT_NEAR(same->north, box.north, 1e-3);
}

// Latitude and longitude stay; only the ellipsoid under them changes, so each corner lands
// where converting its geographic position on the new ellipsoid puts it.
TEST(MoveUtmBoxToEllipsoid, ExpressesEachCornerOnTheNewEllipsoid) {
    const UtmBox box{587064, 5013357, 617424, 5037297};
    const auto moved =
        MoveUtmBoxToEllipsoid(box, "10N", EllipsoidId::Clarke1866, EllipsoidId::Grs1980, 10);
    ASSERT_TRUE(moved.has_value());
    UtmConverter clarke;
    UtmConverter grs;
    clarke.setUtmParameters(EllipsoidId::Clarke1866, 0);
    grs.setUtmParameters(EllipsoidId::Grs1980, 10);
    const auto southWest = clarke.utmToLatLon("10N", box.west, box.south);
    const auto expected = grs.latLonToUtm(southWest.latitudeDegrees, southWest.longitudeDegrees);
    EXPECT_LE(moved->south, expected.northing + 1e-6);
    EXPECT_LE(moved->west, expected.easting + 1e-6);
    EXPECT_NEAR(moved->west, expected.easting, 50.0);
    EXPECT_GT(std::abs(moved->north - box.north), 1.0);  // the ellipsoids really differ
    EXPECT_FALSE(
        MoveUtmBoxToEllipsoid(box, "61N", EllipsoidId::Clarke1866, EllipsoidId::Grs1980, 10)
            .has_value());
}

}  // namespace
}  // namespace tavrok::geodesy

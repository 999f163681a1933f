#include <gtest/gtest.h>

#include "terrain/UtmZoneDialog.h"

namespace tavrok::terrain {
namespace {

TEST(UtmZoneDialog, ReadsZoneTextsAndRefusesWhatNamesNoZone) {
    const struct Case {
        const char* text;
        bool read;
        int zone;
        char hemisphere;
    } cases[] = {
        {"13N", true, 13, 'N'}, {"13 s", true, 13, 'S'}, {"60", true, 60, 'N'},
        {"1S", true, 1, 'S'},   {"0N", false, 7, 'S'},   {"61N", false, 7, 'S'},
        {"13X", false, 7, 'S'}, {"N13", false, 7, 'S'},  {"13NS", false, 7, 'S'},
        {"", false, 7, 'S'},
    };
    for (const auto& c : cases) {
        UtmZoneDialog dialog;
        dialog.zone = 7;
        dialog.hemisphere = 'S';
        EXPECT_EQ(dialog.setZoneText(c.text), c.read) << c.text;
        EXPECT_EQ(dialog.zone, c.zone) << c.text;
        EXPECT_EQ(dialog.hemisphere, c.hemisphere) << c.text;
    }
}

TEST(UtmZoneDialog, ScrollsWithinOneToSixtyAndRefusesOtherZones) {
    UtmZoneDialog dialog;
    EXPECT_EQ(dialog.zone, 1);
    EXPECT_EQ(dialog.hemisphere, 'N');
    dialog.stepZone(-1);
    EXPECT_EQ(dialog.zone, 1);
    dialog.stepZone(75);
    EXPECT_EQ(dialog.zoneText(), "60N");
    EXPECT_TRUE(dialog.accept());
    dialog.zone = 0;
    EXPECT_EQ(dialog.accept().error().code, support::ErrorCode::IncorrectZone);
}

TEST(DeclareUtm, TakesTheCornersAsMetresOfTheZoneOnWgs84) {
    TerrainHeader header;
    header.projection = ProjectionKind::XY;
    header.gridKind = gridKindMatrix;
    header.westBound = 500000;
    header.eastBound = 530000;
    header.southBound = 4400000;
    header.northBound = 4430000;
    EXPECT_TRUE(needsUtmZone(header));
    declareUtm(header, 13, 'N');
    EXPECT_FALSE(needsUtmZone(header));
    EXPECT_EQ(header.projection, ProjectionKind::UTM);
    EXPECT_EQ(header.gridKind, gridKindDem);
    EXPECT_EQ(header.ellipsoid, geodesy::EllipsoidId::Wgs84);
    EXPECT_EQ(header.ellipsoidCode, 3);
    EXPECT_EQ(header.zoneText, "13N");
    EXPECT_EQ(header.westBound, 500000);  // the corners stay
    // Easting 500000 lies on the central meridian, -105 degrees.
    EXPECT_NEAR(header.westLon, -105.0, 1e-6);
    EXPECT_NEAR(header.southLat, 39.75, 0.01);
    EXPECT_GT(header.northLat, header.southLat);

    // Local units that are no UTM position keep the bounds they had.
    TerrainHeader local;
    local.projection = ProjectionKind::XY;
    local.eastBound = 1000;
    local.northBound = 1000;
    local.westLon = 1;
    declareUtm(local, 60, 'S');
    EXPECT_EQ(local.zoneText, "60S");
    EXPECT_EQ(local.westLon, 1);
}

}  // namespace
}  // namespace tavrok::terrain

#pragma once
#include <string_view>

#include "importers/MolaImporter.h"
#include "support/DialogModel.h"

namespace tavrok::importers {

// "Mars Polar Area Selection": the pole, the image resolution and a square drawn on the
// 338 × 338 polar map (centre and width in map pixels).
class MolaPolarSelection : public support::DialogModel {
  public:
    std::string_view dialogId() const override { return "IDD_MPGEOCOORD"; }
    std::string_view title() const override { return "Mars Polar Area Selection"; }
    // Refuses a resolution other than 128, 256 or 512 and a square without area.
    support::Status accept() override {
        if (MolaPolarSide(samplesPerDegree) == 0 || width <= 0) {
            return support::Error{support::ErrorCode::IncorrectValues, "polar selection"};
        }
        return support::success();
    }

    static constexpr int mapSize = 338;  // pixels, both directions

    MolaPole pole = MolaPole::North;
    int samplesPerDegree = 128;  // 128, 256 or 512
    double centreX = mapSize / 2.0;
    double centreY = mapSize / 2.0;
    double width = 60;

    MolaPolarWindow window() const {
        return MolaPolarWindowFromMap(centreX, centreY, width, mapSize, mapSize,
                                      MolaPolarSide(samplesPerDegree));
    }
};

}  // namespace tavrok::importers

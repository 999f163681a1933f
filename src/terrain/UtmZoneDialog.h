#pragma once
#include <string>
#include <string_view>

#include "support/DialogModel.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::terrain {

// "UTM Global Coordinates": the zone (1 to 60) and hemisphere in which a terrain without one
// (an X/Y matrix, a UTM grid whose zone is unknown) is to be taken.
class UtmZoneDialog : public support::DialogModel {
  public:
    static constexpr int firstZone = 1;
    static constexpr int lastZone = 60;

    std::string_view dialogId() const override { return "IDD_ZONE"; }
    std::string_view title() const override { return "UTM Global Coordinates"; }
    // Fails with IncorrectZone for a zone outside 1..60 or a hemisphere other than 'N' or 'S'.
    support::Status accept() override;

    // The scroll bar's arrows and page areas step by one zone and stop at the ends.
    void stepZone(int steps);
    // Reads a zone text such as "13N", "13 s" or "13" (north); false, changing nothing, when
    // the text names no zone.
    bool setZoneText(std::string_view text);
    // "13N".
    std::string zoneText() const;

    int zone = firstZone;
    char hemisphere = 'N';
};

// Whether a writer or the UTM conversion must ask for a zone first: an X/Y matrix, or a UTM
// grid that has none.
bool needsUtmZone(const TerrainHeader& header);

// Declares the terrain's coordinates UTM metres of that zone (1..60, 'N' or 'S') on WGS 84:
// the corner values stay as they are, the geographic bounds become the extremes of the corners
// that convert (a matrix in local units may have none; its bounds then stay). The grid does
// not change.
void declareUtm(TerrainHeader& header, int zone, char hemisphere);

}  // namespace tavrok::terrain

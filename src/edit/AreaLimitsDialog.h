#pragma once
#include <string>
#include <string_view>

#include "edit/Crop.h"
#include "support/DialogModel.h"

namespace tavrok::edit {

// "Adjust Limits": the four edges of a crop, edited as text. IDD_GEOLIMITS1 shows metres for
// UTM and X/Y terrain, IDD_GEOLIMITS2 decimal degrees for geographic terrain and global grids.
class AreaLimitsDialog : public support::DialogModel {
  public:
    AreaLimitsDialog(const terrain::TerrainHeader& header, const CropLimits& limits);

    std::string_view dialogId() const override {
        return m_degrees ? "IDD_GEOLIMITS2" : "IDD_GEOLIMITS1";
    }
    std::string_view title() const override {
        return m_degrees ? "Set Area Limits - Decimal Degrees" : "Set Area Limits - Meters";
    }
    // Reads each field (its first 16 characters; text that is no number reads as 0), clamps
    // the limits to the terrain and fails with ImproperBoundaries unless west < east and
    // south < north; the fields then show the clamped values.
    support::Status accept() override;

    bool degrees() const { return m_degrees; }
    // Shown under the fields of the degree dialog; empty for the metre dialog.
    std::string_view note() const {
        return m_degrees ? "Longitude in Western Hemisphere is negative." : "";
    }

    // The edit fields "Northern Edge" (1383), "Western Edge" (1381), "Eastern Edge" (1382)
    // and "Southern Edge" (1384).
    std::string north;
    std::string west;
    std::string east;
    std::string south;

    // The limits after a successful accept().
    const CropLimits& limits() const { return m_limits; }
    // The text a limit is shown as: "%-6.0f" for metres, "%-3.3f" for degrees.
    std::string formatted(double value) const;

  private:
    void show(const CropLimits& limits);

    const terrain::TerrainHeader& m_header;
    bool m_degrees;
    CropLimits m_limits;
};

}  // namespace tavrok::edit

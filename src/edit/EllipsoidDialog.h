#pragma once
#include <array>
#include <string_view>

#include "geodesy/Ellipsoid.h"
#include "support/DialogModel.h"

namespace tavrok::edit {

// One radio button of the ellipsoid dialogs.
struct EllipsoidChoice {
    int radioId;
    std::string_view label;
    geodesy::EllipsoidId ellipsoid;
};
// "NAD27" 1326, "NAD83" 1327, "WGS84" 1329; WGS72 (1328) has no button and is reached only
// when a loader presets it.
inline constexpr std::array<EllipsoidChoice, 3> ellipsoidChoices{
    EllipsoidChoice{1326, "NAD27", geodesy::EllipsoidId::Clarke1866},
    EllipsoidChoice{1327, "NAD83", geodesy::EllipsoidId::Grs1980},
    EllipsoidChoice{1329, "WGS84", geodesy::EllipsoidId::Wgs84},
};
// The radio identifier of a datum ellipsoid (1326 .. 1329), 0 for other ellipsoids.
int ellipsoidRadioId(geodesy::EllipsoidId ellipsoid);

// "Choose UTM Ellipsoid" (IDD_ELLIPSOID1), asked before a conversion to UTM, and "Change UTM
// Ellipsoid" (IDD_ELLIPSOID2), which also names the terrain's current ellipsoid.
class EllipsoidDialog : public support::DialogModel {
  public:
    enum class Purpose { Choose, Change };

    // `remembered` is the last choice (WGS84 at first); `current` the terrain's ellipsoid.
    EllipsoidDialog(Purpose purpose, geodesy::EllipsoidId remembered,
                    geodesy::EllipsoidId current = geodesy::EllipsoidId::Wgs84)
        : ellipsoid(remembered), m_purpose(purpose), m_current(current) {}

    std::string_view dialogId() const override {
        return m_purpose == Purpose::Choose ? "IDD_ELLIPSOID1" : "IDD_ELLIPSOID2";
    }
    std::string_view title() const override {
        return m_purpose == Purpose::Choose ? "Choose UTM Ellipsoid" : "Change UTM Ellipsoid";
    }
    support::Status accept() override { return support::success(); }

    Purpose purpose() const { return m_purpose; }
    // "Current Ellipsoid": "NAD27", "NAD83", "WGS72" or "WGS84"; empty for another ellipsoid.
    std::string_view currentName() const;

    geodesy::EllipsoidId ellipsoid;

  private:
    Purpose m_purpose;
    geodesy::EllipsoidId m_current;
};

}  // namespace tavrok::edit

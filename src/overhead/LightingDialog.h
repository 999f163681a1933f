#pragma once
#include "overhead/Shading.h"
#include "support/DialogModel.h"

namespace tavrok::overhead {

// "Lighting Parameters": "Deg Azimuth" (signed), "Deg Elevation", "Shade Depth (%)".
class LightingDialog : public support::DialogModel {
  public:
    explicit LightingDialog(const LightingParameters& current) : parameters(current) {}

    std::string_view dialogId() const override { return "IDD_SHADING"; }
    std::string_view title() const override { return "Lighting Parameters"; }
    // Keeps the depth within 0..100 percent; never fails.
    support::Status accept() override;

    LightingParameters parameters;
};

}  // namespace tavrok::overhead

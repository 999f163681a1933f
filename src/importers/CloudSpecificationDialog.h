#pragma once
#include <string>
#include <string_view>

#include "importers/CloudGridding.h"
#include "support/DialogModel.h"

namespace tavrok::importers {

// "LIDAR Terrain Specification" (LAS, with the choice of returns) and "Terrain Specification"
// (XYZ points): the density of the points, and the grid spacing, preset to the proposal.
class CloudSpecificationDialog : public support::DialogModel {
  public:
    CloudSpecificationDialog(const CloudSurvey& survey, bool lidar);

    std::string_view dialogId() const override { return m_lidar ? "IDD_LIDAR" : "IDD_XYZPOINTS"; }
    std::string_view title() const override {
        return m_lidar ? "LIDAR Terrain Specification" : "Terrain Specification";
    }
    // Fails with IncorrectValues for a spacing that is not a positive number, or ground returns
    // asked of points that have none.
    support::Status accept() override;

    bool lidar() const { return m_lidar; }
    // "Bare Earth Returns" can be chosen: a LAS survey that found ground points.
    bool bareEarthAvailable() const;
    ReturnFilter returns() const { return m_returns; }
    // Switches the returns and moves the spacing to the proposal for them.
    void chooseReturns(ReturnFilter returns);
    // "2.0 points/sq meter" for the returns chosen.
    std::string densityText() const;

    // Metres; the view offers offeredSpacings, the command line any positive value.
    double spacing = 1.0;

    // Stores the choice in the survey the gridding reads.
    void applyTo(CloudSurvey& survey) const;

  private:
    const CloudSurvey& m_survey;
    bool m_lidar;
    ReturnFilter m_returns = ReturnFilter::AllReturns;
};

// The text each offered spacing is shown with: "0.5 m", "1.0 m" ... "20.0 m".
std::string spacingLabel(double spacing);

}  // namespace tavrok::importers

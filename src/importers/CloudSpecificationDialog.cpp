#include "importers/CloudSpecificationDialog.h"

#include <cmath>

#include "support/Text.h"

namespace tavrok::importers {

CloudSpecificationDialog::CloudSpecificationDialog(const CloudSurvey& survey, bool lidar)
    : m_survey(survey), m_lidar(lidar) {
    chooseReturns(ReturnFilter::AllReturns);
}

bool CloudSpecificationDialog::bareEarthAvailable() const {
    return m_lidar && m_survey.bareEarthPoints > 0;
}

void CloudSpecificationDialog::chooseReturns(ReturnFilter returns) {
    m_returns = returns;
    spacing = proposedSpacing(cloudDensity(m_survey, returns));
}

std::string CloudSpecificationDialog::densityText() const {
    return support::formatText("%-2.1f points/sq meter", cloudDensity(m_survey, m_returns));
}

support::Status CloudSpecificationDialog::accept() {
    if (!(std::isfinite(spacing) && spacing > 0)) {
        return support::Error{support::ErrorCode::IncorrectValues, "spacing",
                              "the grid spacing must be a positive number of metres"};
    }
    if (m_returns == ReturnFilter::BareEarth && !bareEarthAvailable()) {
        return support::Error{support::ErrorCode::IncorrectValues, "returns",
                              "these points hold no bare-earth (class 2) returns"};
    }
    return support::success();
}

void CloudSpecificationDialog::applyTo(CloudSurvey& survey) const {
    survey.spacing = spacing;
    survey.filter = m_returns;
}

std::string spacingLabel(double spacing) {
    return support::formatText("%.1f m", spacing);
}

}  // namespace tavrok::importers

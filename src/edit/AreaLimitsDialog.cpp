#include "edit/AreaLimitsDialog.h"

#include <cstdio>
#include <cstdlib>

namespace tavrok::edit {

namespace {

constexpr std::size_t fieldLength = 16;

double number(const std::string& text) {
    const std::string field = text.substr(0, fieldLength);
    return std::strtod(field.c_str(), nullptr);
}

}  // namespace

AreaLimitsDialog::AreaLimitsDialog(const terrain::TerrainHeader& header, const CropLimits& limits)
    : m_header(header),
      m_degrees(cropKindOf(header) == CropKind::Geographic ||
                cropKindOf(header) == CropKind::SinusoidalGrid),
      m_limits(limits) {
    show(limits);
}

std::string AreaLimitsDialog::formatted(double value) const {
    char text[64];
    std::snprintf(text, sizeof text, m_degrees ? "%-3.3f" : "%-6.0f", value);
    return text;
}

void AreaLimitsDialog::show(const CropLimits& limits) {
    north = formatted(limits.north);
    west = formatted(limits.west);
    east = formatted(limits.east);
    south = formatted(limits.south);
}

support::Status AreaLimitsDialog::accept() {
    const CropLimits edited{number(west), number(south), number(east), number(north)};
    const CropLimits limits = acceptedLimits(m_header, edited);
    if (!limits.formsRectangle()) {
        show(limits);
        return support::ErrorCode::ImproperBoundaries;
    }
    m_limits = limits;
    return support::success();
}

}  // namespace tavrok::edit

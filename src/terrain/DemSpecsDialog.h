#pragma once
#include <string>
#include <vector>

#include "support/DialogModel.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::terrain {

// "DEM Specifications": the header summary, one line per row of text; only Cancel closes it.
class DemSpecsDialog : public support::DialogModel {
  public:
    explicit DemSpecsDialog(const TerrainHeader& header) : lines(DemSpecsLines(header)) {}

    std::string_view dialogId() const override { return "IDD_DEMSPECS"; }
    std::string_view title() const override { return "DEM Specifications"; }
    support::Status accept() override { return support::success(); }

    std::vector<std::string> lines;
    // What the importer could tell about the source beyond the header (a GeoTIFF's corner
    // table), shown below the lines; empty when nothing.
    std::string sourceListing;
};

}  // namespace tavrok::terrain

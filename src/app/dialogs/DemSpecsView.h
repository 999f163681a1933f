#pragma once
#include "app/dialogs/DialogViews.h"
#include "terrain/DemSpecsDialog.h"

namespace tavrok::app {

// "DEM Specifications": the header summary in the large font; only Cancel closes it.
class DemSpecsView : public ModelDialog {
    Q_OBJECT
  public:
    DemSpecsView(terrain::DemSpecsDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override { return true; }
};

}  // namespace tavrok::app

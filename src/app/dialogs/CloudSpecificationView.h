#pragma once
#include <QButtonGroup>
#include <QLabel>

#include "app/dialogs/DialogViews.h"
#include "importers/CloudSpecificationDialog.h"

namespace tavrok::app {

// "LIDAR Terrain Specification" and "Terrain Specification": the point density, the offered
// spacings with the proposal checked, and for LAS files All Returns or Bare Earth Returns.
class CloudSpecificationView : public ModelDialog {
    Q_OBJECT
  public:
    CloudSpecificationView(importers::CloudSpecificationDialog& model, support::Ui& ui,
                           QWidget* parent);

  protected:
    bool readFields() override;

  private:
    void showChoice();

    importers::CloudSpecificationDialog& m_model;
    QLabel* m_density;
    QButtonGroup* m_spacings;
    QButtonGroup* m_returns;
};

}  // namespace tavrok::app

#pragma once
#include <QLineEdit>

#include "app/dialogs/DialogViews.h"
#include "overhead/LightingDialog.h"

namespace tavrok::app {

// "Lighting Parameters": the three numeric boxes of the shading light.
class LightingView : public ModelDialog {
    Q_OBJECT
  public:
    LightingView(overhead::LightingDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    // Refuses (with "Enter Whole Numbers") a box that is not a signed whole number.
    bool readFields() override;

  private:
    overhead::LightingDialog& m_model;
    QLineEdit* m_azimuth;
    QLineEdit* m_elevation;
    QLineEdit* m_depth;
};

}  // namespace tavrok::app

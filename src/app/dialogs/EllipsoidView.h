#pragma once
#include <QButtonGroup>

#include "app/dialogs/DialogViews.h"
#include "edit/EllipsoidDialog.h"

namespace tavrok::app {

// "Choose UTM Ellipsoid" and "Change UTM Ellipsoid": NAD27, NAD83 or WGS84; the second also
// names the current ellipsoid.
class EllipsoidView : public ModelDialog {
    Q_OBJECT
  public:
    EllipsoidView(edit::EllipsoidDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    edit::EllipsoidDialog& m_model;
    QButtonGroup* m_choices;
};

}  // namespace tavrok::app

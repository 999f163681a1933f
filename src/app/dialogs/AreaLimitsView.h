#pragma once
#include <QLineEdit>

#include "app/dialogs/DialogViews.h"
#include "edit/AreaLimitsDialog.h"

namespace tavrok::app {

// "Adjust Limits": the four edges of a crop in metres or decimal degrees.
class AreaLimitsView : public ModelDialog {
    Q_OBJECT
  public:
    AreaLimitsView(edit::AreaLimitsDialog& model, support::Ui& ui, QWidget* parent);

    // After a refused OK the fields show the limits as the model clamped them.
    void accept() override;

  protected:
    bool readFields() override;

  private:
    void showModel();

    edit::AreaLimitsDialog& m_model;
    QLineEdit* m_north;
    QLineEdit* m_west;
    QLineEdit* m_east;
    QLineEdit* m_south;
};

}  // namespace tavrok::app

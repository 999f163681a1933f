#pragma once
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include "app/dialogs/DialogViews.h"
#include "edit/EllipsoidDialog.h"

namespace tavrok::app {

// "UTM Global Coordinates": the zone on a scroll bar with its number beside, and the
// hemisphere.
class UtmZoneView : public ModelDialog {
    Q_OBJECT
  public:
    UtmZoneView(edit::UtmZoneDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    void scrolled(int action);

    edit::UtmZoneDialog& m_model;
    QScrollBar* m_zone;
    QLabel* m_zoneNumber;
    QRadioButton* m_south;
};

}  // namespace tavrok::app

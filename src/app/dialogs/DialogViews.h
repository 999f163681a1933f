#pragma once
#include <QDialog>
#include <QLayout>

#include "support/DialogModel.h"
#include "support/Ui.h"

namespace tavrok::app {

// Shows the Qt view of a dialog model modally. While the model refuses OK, its message is
// shown and the dialog stays open. True after a successful OK.
bool runDialogView(support::DialogModel& model, QWidget& parent, support::Ui& ui);

// Centres a top-level window on its screen; a negative position becomes 0.
void centreOnScreen(QWidget& window);

// Base of the views: OK pushes the widgets into the model and asks the model to accept.
class ModelDialog : public QDialog {
    Q_OBJECT
  public:
    ModelDialog(support::DialogModel& model, support::Ui& ui, QWidget* parent);

    void accept() override;

  protected:
    // Copies what the widgets show into the model; false (with a message shown) when a field
    // cannot be read.
    virtual bool readFields() = 0;
    void showEvent(QShowEvent* event) override;
    // Lays the dialog out as its body above OK and Cancel, both wired to the model.
    void setBodyWithOkCancel(QLayout* body);

    support::Ui& m_ui;

  private:
    support::DialogModel& m_model;
};

}  // namespace tavrok::app

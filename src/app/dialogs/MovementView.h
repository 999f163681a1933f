#pragma once
#include <QGroupBox>
#include <QPoint>
#include <initializer_list>
#include <optional>
#include <utility>

#include "app/dialogs/DialogViews.h"
#include "scene/MovementDialog.h"

namespace tavrok::app {

// "Rotate or Shift Scene" and "Reposition Observer": each button moves the live scene through
// the model, which redraws it at once under the still-modal dialog. The dialog first opens at
// the lower-left corner of the scene window and later where it was last closed. Cancel leaves
// restoring the remembered values to the caller.
class MovementView : public ModelDialog {
    Q_OBJECT
  public:
    MovementView(scene::MovementDialog& model, support::Ui& ui, QWidget* parent);

    // Remembers where the dialog closed, for the next opening.
    void done(int result) override;
    // The next dialog opens at the scene window's lower-left corner again, as the first does.
    static void forgetPlacement() { s_lastPosition.reset(); }

  protected:
    bool readFields() override { return true; }
    void showEvent(QShowEvent* event) override;

  private:
    using Button = std::pair<scene::MovementButton, const char*>;  // identifier and caption

    QGroupBox* buttonGroup(const QString& title, std::initializer_list<Button> buttons);
    QGroupBox* incrementGroup();
    QLayout* foregroundButtons();
    QLayout* backgroundButtons();
    void placeAtFirstOpening();

    scene::MovementDialog& m_model;
    // Where a movement dialog was last closed, shared by both dialogs for the whole run.
    static std::optional<QPoint> s_lastPosition;
};

}  // namespace tavrok::app

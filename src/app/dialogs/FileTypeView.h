#pragma once
#include <QButtonGroup>

#include "app/dialogs/DialogViews.h"
#include "terrain/FileTypeDialog.h"

namespace tavrok::app {

// "Select DEM File Type": a radio button per source with its note beside it.
class FileTypeView : public ModelDialog {
    Q_OBJECT
  public:
    FileTypeView(terrain::FileTypeDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    terrain::FileTypeDialog& m_model;
    QButtonGroup m_buttons;
};

}  // namespace tavrok::app

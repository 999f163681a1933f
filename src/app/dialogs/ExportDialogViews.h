#pragma once
#include <QButtonGroup>
#include <QLineEdit>
#include <QScrollBar>

#include "app/dialogs/DialogViews.h"
#include "exporters/FileFormatDialog.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::app {

// "File Format" of "Save Terrain Matrix": the binary choices in one box, text in another.
class FileFormatView : public ModelDialog {
    Q_OBJECT
  public:
    FileFormatView(exporters::FileFormatDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    exporters::FileFormatDialog& m_model;
    QButtonGroup m_buttons;
};

// "UTM Global Coordinates": the zone on a scroll bar with its box, and the hemisphere.
class UtmZoneView : public ModelDialog {
    Q_OBJECT
  public:
    UtmZoneView(terrain::UtmZoneDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    void scrolled(int action);

    terrain::UtmZoneDialog& m_model;
    QScrollBar* m_bar;
    QLineEdit* m_box;
    QButtonGroup m_hemisphere;
};

}  // namespace tavrok::app

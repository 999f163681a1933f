#pragma once
#include <QLabel>
#include <QScrollBar>

#include "app/dialogs/DialogViews.h"
#include "overhead/MapScaleDialog.h"

namespace tavrok::app {

// "Map Scale" (F6): the zoom, the pixel rows and columns, and a scroll bar on the columns.
// "Fit Window" fits the map to the window and closes as OK does.
class MapScaleView : public ModelDialog {
    Q_OBJECT
  public:
    MapScaleView(overhead::MapScaleDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override { return true; }

  private:
    void scrolled(int action);
    void refresh();

    overhead::MapScaleDialog& m_model;
    QLabel* m_zoom;
    QLabel* m_rows;
    QLabel* m_columns;
    QScrollBar* m_width;
};

}  // namespace tavrok::app

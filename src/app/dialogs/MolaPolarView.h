#pragma once
#include <QImage>
#include <QWidget>

#include "app/dialogs/DialogViews.h"
#include "importers/MolaPolarSelection.h"

namespace tavrok::app {

// The polar map of "Mars Polar Area Selection" with the chosen square in the green pen; a
// press or drag moves the square's centre.
class PolarPicture : public QWidget {
    Q_OBJECT
  public:
    PolarPicture(importers::MolaPolarSelection& model, QWidget* parent);
    void showPole();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void centreAt(QPointF point);

    importers::MolaPolarSelection& m_model;
    QImage m_map;
};

class MolaPolarView : public ModelDialog {
    Q_OBJECT
  public:
    MolaPolarView(importers::MolaPolarSelection& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override { return true; }

  private:
    QWidget* poleButtons();
    QWidget* resolutionButtons();

    importers::MolaPolarSelection& m_model;
    PolarPicture* m_picture;
};

}  // namespace tavrok::app

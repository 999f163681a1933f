#pragma once
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include "app/dialogs/DialogViews.h"
#include "terrain/AreaSelectionDialog.h"

namespace tavrok::app {

// The world map of "Area Selection" with the area drawn as a white rectangle. Moving the
// mouse reports the position under it; pressing or dragging moves the area's centre.
class AreaPicture : public QWidget {
    Q_OBJECT
  public:
    AreaPicture(terrain::AreaSelectionDialog& model, QImage map, QWidget* parent);

  signals:
    void positionChanged(bool inside, int latitude, int longitude);
    void centreChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    terrain::AreaSelectionDialog& m_model;
    QImage m_map;
    bool m_dragging = false;
};

class AreaSelectionView : public ModelDialog {
    Q_OBJECT
  public:
    AreaSelectionView(terrain::AreaSelectionDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override { return true; }

  private:
    QWidget* widthControls();
    QWidget* projectionControls();
    void showWidth();

    terrain::AreaSelectionDialog& m_model;
    AreaPicture* m_picture;
    QLineEdit* m_latitude;
    QLineEdit* m_longitude;
    QLineEdit* m_width = nullptr;
    QScrollBar* m_scrollBar = nullptr;
};

}  // namespace tavrok::app

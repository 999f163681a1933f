#pragma once
#include <QImage>
#include <QWidget>

namespace tavrok::app {

// The overhead map: the image the commands produced, centred when it is smaller than the
// view, on the background colour.
class MapView : public QWidget {
    Q_OBJECT
  public:
    explicit MapView(QWidget* parent = nullptr);

    void setImage(QImage image);
    const QImage& image() const { return m_image; }
    void setBackground(QColor colour);

    QSize sizeHint() const override { return m_image.isNull() ? QSize(1, 1) : m_image.size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_image;
    QColor m_background = Qt::white;
};

}  // namespace tavrok::app

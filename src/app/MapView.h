#pragma once
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "overhead/MapMapping.h"
#include "overhead/Readout.h"
#include "shell/MapTools.h"

namespace tavrok::shell {
struct AppState;
}

namespace tavrok::app {

// The overhead map: the image the commands produced, centred when it is smaller than the
// view, on the background colour, with the coordinate readout under the mouse pointer drawn
// over it. Mouse buttons, moves and the Enter and Escape keys go to the state's map tools,
// whose rubber band, markers and lines are drawn over the image.
class MapView : public QWidget {
    Q_OBJECT
  public:
    explicit MapView(QWidget* parent = nullptr);

    void setImage(QImage image);
    const QImage& image() const { return m_image; }
    void setBackground(QColor colour);
    // Shows the top `rows` rows of a map still being coloured in place of the image; a null
    // image returns to the image.
    void showGrowing(QImage growing, int rows);
    // The state the readout reads (terrain, view geometry, coordinate mode) and updates; none
    // means no readout.
    void setState(shell::AppState* state) { m_state = state; }

    // The readout boxes now shown, each as "caption: value"; empty when none is shown.
    QStringList readoutLines() const;
    // Forgets the readout (a new image, another view).
    void clearReadout();
    // Whether the last pointer move repainted the whole readout strip (whole degrees, the
    // elevation's order of magnitude or the boxes changed) rather than the boxes in place.
    bool readoutStripRefilled() const { return m_readoutRefilled; }

    // What the map tool that finished last handed over; empty once taken.
    std::optional<shell::MapToolResult> takeToolResult();
    // The result waiting to be taken, left in place.
    const std::optional<shell::MapToolResult>& toolResult() const { return m_toolResult; }

    QSize sizeHint() const override { return m_image.isNull() ? QSize(1, 1) : m_image.size(); }

  signals:
    // The readout changed the coordinate mode ("UTM Meters" where it has no meaning).
    void coordinateModeChanged();
    // A map tool finished or placed something: takeToolResult() has it.
    void mapToolFinished();
    // Escape left a map tool without a result.
    void mapToolCancelled();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QPoint imageOrigin() const;
    // The visible part of the view: its size and where it starts in this widget's pixels.
    QRect clientRect() const;
    void showReadout(QPoint position);
    // The part of this widget the readout needs repainted: the strip from the first box to the
    // client area's right and bottom edges, or only the boxes, for the client area `client`.
    QRegion readoutRegion(const std::vector<overhead::ReadoutPlace>& places, bool strip,
                          const QRect& client) const;
    // Everything drawn at a fixed place in the window rather than on the image (readout,
    // prompt, map-size box), for the client area `client`.
    QRegion windowFixedRegion(const QRect& client) const;
    QRect promptRect(const QRect& client, const std::string& prompt) const;
    QRect matrixSizeRect(const QRect& client) const;
    void paintReadout(QPainter& painter) const;
    bool matrixSizeShown() const;
    void paintMatrixSize(QPainter& painter) const;
    void paintTool(QPainter& painter) const;
    void paintPrompt(QPainter& painter, const std::string& prompt) const;

    // Whether the map tools get the mouse: an overhead image is shown for a state.
    bool toolsActive() const;
    overhead::MapMapping mapping() const;
    // A widget position as an overhead-image pixel.
    overhead::MapPoint imagePoint(QPointF position) const;
    QPointF widgetPoint(overhead::MapPoint point) const;
    void feedTool(const shell::MapEvent& event);

    QImage m_image;
    QImage m_growing;
    int m_growingRows = 0;
    QColor m_background = Qt::white;
    shell::AppState* m_state = nullptr;
    overhead::Readout m_readout;
    std::vector<overhead::ReadoutPlace> m_places;  // in client pixels
    bool m_readoutRefilled = false;
    // Where the pointer last was in the client area, to read out again after a scroll.
    std::optional<QPoint> m_pointer;
    std::optional<shell::MapToolResult> m_toolResult;
};

}  // namespace tavrok::app

#pragma once
#include <QImage>
#include <QWidget>
#include <optional>

namespace tavrok::shell {
struct AppState;
}

namespace tavrok::app {

// The modeless "Scale" legend: a small tool window beside the main window showing the legend
// image for the current terrain, colour scale and zoom. It keeps its last position for the run.
class ScaleLegendWindow : public QWidget {
    Q_OBJECT
  public:
    ScaleLegendWindow(shell::AppState& state, QWidget* parent);

    // Shows, repaints or hides the window as state.scaleWindow says.
    void follow();
    const QImage& image() const { return m_image; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void rebuild();

    shell::AppState& m_state;
    QImage m_image;
    std::optional<QPoint> m_position;
};

}  // namespace tavrok::app

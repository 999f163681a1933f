#pragma once
#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "support/Painter.h"

namespace tavrok::paint {

// The core's Painter over an RgbImage: QPainter draws straight into the image's memory.
// Needs a QGuiApplication for fonts (the offscreen platform is enough).
class QtPainter : public support::Painter {
  public:
    // Draws onto the image until destroyed; font defaults to textFont().
    explicit QtPainter(support::RgbImage& image, const QFont& font = textFont());
    ~QtPainter() override;

    void drawLine(int x0, int y0, int x1, int y1, support::Rgb colour, int width = 1) override;
    void drawText(int x, int y, std::string_view text, support::Rgb colour) override;
    int textWidth(std::string_view text) const override;
    int lineHeight() const override;
    int averageCharWidth() const override;

    // The program's large font ("Arial" 22 pixels high, weight 500, here Liberation Sans with
    // the same metrics) and its text font (the same height, weight 400).
    static QFont largeFont();
    static QFont textFont();
    // A factory for OverheadState::painterFactory and the legend.
    static support::PainterFactory factory();

  private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

// The image as a QImage sharing nothing with it (for saving and showing).
QImage toQImage(const support::RgbImage& image);

}  // namespace tavrok::paint

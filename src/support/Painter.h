#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "support/RgbImage.h"

namespace tavrok::support {

// Lines and text drawn onto an RgbImage. The core decides where; the desktop program and the
// command line supply the fonts (QtGui in paint/). Coordinates are pixels, x right, y down.
class Painter {
  public:
    virtual ~Painter() = default;

    // A straight line from (x0, y0) to (x1, y1), both ends included; width in pixels ≥ 1.
    virtual void drawLine(int x0, int y0, int x1, int y1, Rgb colour, int width = 1) = 0;
    // Text on a transparent background; (x, y) is the top-left corner of its line box.
    virtual void drawText(int x, int y, std::string_view text, Rgb colour) = 0;
    // Width of the text in pixels.
    virtual int textWidth(std::string_view text) const = 0;
    // Height of one line of text in pixels (the character height).
    virtual int lineHeight() const = 0;
    // The font's average character width in pixels.
    virtual int averageCharWidth() const = 0;
};

// Makes a Painter that draws onto the given image for as long as the Painter lives.
using PainterFactory = std::function<std::unique_ptr<Painter>(RgbImage& image)>;

}  // namespace tavrok::support

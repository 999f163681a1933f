#pragma once
#include <memory>
#include <string>

#include "support/Result.h"
#include "support/RgbImage.h"

class QGuiApplication;

namespace tavrok::cli {

// Fonts need a GUI application, but batch use never shows a window: the offscreen platform
// unless another is asked for, and a private runtime folder inside this run's folder.
class BatchGui {
  public:
    BatchGui();
    ~BatchGui();
    BatchGui(const BatchGui&) = delete;
    BatchGui& operator=(const BatchGui&) = delete;

  private:
    std::unique_ptr<QGuiApplication> m_application;
};

// Writes a PNG, or a 24-bit BMP when the name ends in ".bmp".
support::Status writeImageFile(const support::RgbImage& image, const std::string& path);

}  // namespace tavrok::cli

#include "support/RgbImage.h"

#include <cstring>

namespace tavrok::support {

RgbImage::RgbImage(int width, int height, Rgb fill)
    : m_width(width < 0 ? 0 : width),
      m_height(height < 0 ? 0 : height),
      m_pixels(static_cast<std::size_t>(m_width) * m_height * 3) {
    this->fill(fill);
}

RgbImage::RgbImage(int width, int height, Uninitialised)
    : m_width(width < 0 ? 0 : width),
      m_height(height < 0 ? 0 : height),
      m_pixels(static_cast<std::size_t>(m_width) * m_height * 3) {}

void RgbImage::fill(Rgb colour) {
    // An empty picture has no storage to write to, not even for memset.
    if (m_pixels.empty()) {
        return;
    }
    if (colour.red == colour.green && colour.green == colour.blue) {
        std::memset(m_pixels.data(), colour.red, m_pixels.size());
        return;
    }
    for (std::size_t i = 0; i + 2 < m_pixels.size(); i += 3) {
        m_pixels[i] = colour.red;
        m_pixels[i + 1] = colour.green;
        m_pixels[i + 2] = colour.blue;
    }
}

}  // namespace tavrok::support

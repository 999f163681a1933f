#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace tavrok::support {

// One 24-bit colour, red first.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Leaves bytes alone where std::allocator would zero them.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) {}

    template <typename U>
    void construct(U* at) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* at, Arguments&&... arguments) {
        ::new (static_cast<void*>(at)) U(std::forward<Arguments>(arguments)...);
    }
};

// A picture as it is shown: rows top first, three bytes per pixel (red, green, blue), rows
// packed without padding. Files that want padded or bottom-up rows convert on writing.
class RgbImage {
  public:
    RgbImage() = default;
    // A width × height picture (pixels, both ≥ 0) filled with one colour. Throws
    // std::bad_alloc when the memory cannot be had.
    RgbImage(int width, int height, Rgb fill = {255, 255, 255});
    // The same with the pixels left as the memory holds them, for a caller that writes every
    // one (on several threads, so that the pages are also first touched in parallel).
    struct Uninitialised {};
    static constexpr Uninitialised uninitialised{};
    RgbImage(int width, int height, Uninitialised);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_pixels.empty(); }
    std::size_t bytesPerLine() const { return static_cast<std::size_t>(m_width) * 3; }

    // Row y, 0 at the top: width × 3 bytes.
    std::span<std::uint8_t> row(int y) {
        return {m_pixels.data() + static_cast<std::size_t>(y) * bytesPerLine(), bytesPerLine()};
    }
    std::span<const std::uint8_t> row(int y) const {
        return {m_pixels.data() + static_cast<std::size_t>(y) * bytesPerLine(), bytesPerLine()};
    }
    std::uint8_t* data() { return m_pixels.data(); }
    const std::uint8_t* data() const { return m_pixels.data(); }

    Rgb pixel(int x, int y) const {
        const std::uint8_t* p = m_pixels.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Rgb colour) {
        std::uint8_t* p = m_pixels.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
        p[0] = colour.red;
        p[1] = colour.green;
        p[2] = colour.blue;
    }
    // Pixels outside the picture are ignored.
    void setPixelClipped(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
            setPixel(x, y, colour);
        }
    }
    void fill(Rgb colour);

  private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> m_pixels;
};

}  // namespace tavrok::support

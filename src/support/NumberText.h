#pragma once
#include <charconv>
#include <string>

namespace tavrok::support {

// Numbers written into files, independent of the process locale: the desktop session may have
// set one whose decimal mark is a comma, which no reader of these formats expects. Each pads
// with blanks to at least `width` characters, on the left (right-aligned) or, with a negative
// width, on the right, as printf's field widths do.

inline std::string alignedNumber(std::string text, int width) {
    const auto size = static_cast<int>(text.size());
    if (width > size) {
        text.insert(0, static_cast<std::size_t>(width - size), ' ');
    } else if (-width > size) {
        text.append(static_cast<std::size_t>(-width - size), ' ');
    }
    return text;
}

// "%*.*f".
inline std::string fixedText(double value, int decimals, int width = 0) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return alignedNumber(std::string(buffer, result.ptr), width);
}

// "%*.*e": at least two exponent digits.
inline std::string scientificText(double value, int decimals, int width = 0) {
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, decimals);
    return alignedNumber(std::string(buffer, result.ptr), width);
}

// The shortest text that reads back as the same float.
inline std::string shortestText(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace tavrok::support

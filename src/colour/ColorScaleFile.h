#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "colour/ColorScale.h"
#include "support/Result.h"

namespace tavrok::colour {

// The colour-scale file: exactly 88 bytes, the 20 entries as red, green, blue, 0, then the
// scale minimum and maximum as signed 32-bit little-endian integers.
inline constexpr std::size_t colorScaleFileSize = 88;
inline constexpr std::string_view colorScaleFilter = "Color Scale (*.dat)|*.dat||";
inline constexpr std::string_view saveColorScalePrompt = "Save Color Scale";
inline constexpr std::string_view loadColorScalePrompt = "Load Color Scale";

inline constexpr std::string_view colorScaleExtension = ".dat";

// The name a colour scale is saved under: the given one, with ".dat" added unless it already
// ends so (in any case), so that the load prompt, which lists only "*.dat", finds it again.
std::filesystem::path withColorScaleExtension(const std::filesystem::path& path);

struct ColorScaleFile {
    ColorScale scale;
    std::int32_t scaleMinimum = 0;  // metres
    std::int32_t scaleMaximum = 0;  // metres
};

// CannotOpenFile when the file cannot be created or written.
support::Status saveColorScale(const std::filesystem::path& path, const ColorScaleFile& contents);
// CannotOpenFile when the file cannot be opened or read; NotAColorScaleFile when its size is
// not 88 bytes.
support::Result<ColorScaleFile> loadColorScale(const std::filesystem::path& path);

}  // namespace tavrok::colour

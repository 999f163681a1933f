#include "colour/ColorScaleFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string>

#include "support/FileHandle.h"

namespace tavrok::colour {

std::filesystem::path withColorScaleExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == colorScaleExtension) {
        return path;
    }
    auto named = path;
    named += colorScaleExtension;
    return named;
}

support::Status saveColorScale(const std::filesystem::path& path, const ColorScaleFile& contents) {
    std::array<std::uint8_t, colorScaleFileSize> bytes{};
    for (int i = 0; i < colorEntryCount; ++i) {
        bytes[4 * i] = contents.scale.entries[i].red;
        bytes[4 * i + 1] = contents.scale.entries[i].green;
        bytes[4 * i + 2] = contents.scale.entries[i].blue;
    }
    const auto put = [&bytes](std::size_t at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int b = 0; b < 4; ++b) {
            bytes[at + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    };
    put(80, contents.scaleMinimum);
    put(84, contents.scaleMaximum);
    support::FileHandle file = support::openForWriting(path);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        !support::closeChecked(file)) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    return support::success();
}

support::Result<ColorScaleFile> loadColorScale(const std::filesystem::path& path) {
    const support::FileHandle file = support::openForReading(path);
    if (!file) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    // One byte more than the format holds tells a long file from a good one.
    std::array<std::uint8_t, colorScaleFileSize + 1> bytes{};
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    if (size != colorScaleFileSize) {
        return support::Error{support::ErrorCode::NotAColorScaleFile,
                              path.string() + ": " + std::to_string(size) + " bytes"};
    }
    ColorScaleFile contents;
    for (int i = 0; i < colorEntryCount; ++i) {
        contents.scale.entries[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2]};
    }
    const auto get = [&bytes](std::size_t at) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) {
            bits |= static_cast<std::uint32_t>(bytes[at + b]) << (8 * b);
        }
        return static_cast<std::int32_t>(bits);
    };
    contents.scaleMinimum = get(80);
    contents.scaleMaximum = get(84);
    return contents;
}

}  // namespace tavrok::colour

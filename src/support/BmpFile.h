#pragma once
#include <filesystem>

#include "support/Result.h"
#include "support/RgbImage.h"

namespace tavrok::support {

// Writes a 24-bit Windows bitmap: 54-byte header, rows bottom-up, blue-green-red, each row
// padded to a multiple of 4 bytes. CannotOpenFile when the file cannot be created, FileError
// when writing fails.
Status writeBmp(const RgbImage& image, const std::filesystem::path& path);

// Reads back a 24-bit uncompressed bitmap (bottom-up or top-down). CannotOpenFile or
// FileError for anything else.
Result<RgbImage> readBmp(const std::filesystem::path& path);

}  // namespace tavrok::support

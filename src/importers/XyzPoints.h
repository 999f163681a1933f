#pragma once
#include <filesystem>
#include <string_view>
#include <vector>

#include "importers/LasReader.h"
#include "support/Result.h"

namespace tavrok::importers {

// Numbers read three at a time as x, y, z, separated by any white space, to the end of the
// text. Fails with ImproperXyzData at a NaN or at text that is not a number (the cause names
// the line); a last incomplete triple is dropped.
support::Result<std::vector<CloudPoint>> ParseXyzText(std::string_view text);

// Records of three little-endian 64-bit floats; bytes after the last whole record are ignored.
// Fails with ImproperBinaryXyzData at a NaN.
support::Result<std::vector<CloudPoint>> ParseXyzBinary(std::string_view bytes);

// Whether bytes are printable text made only of numbers and white space.
bool holdsTextNumbers(std::string_view bytes);

// The points of a file: text for ".txt" and ".xyz", and for any other name whose bytes are
// printable numbers; binary otherwise. CannotOpenFile when the file cannot be read.
support::Result<std::vector<CloudPoint>> ReadXyzPoints(const std::filesystem::path& file);

}  // namespace tavrok::importers

#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "importers/MatrixHeader.h"
#include "support/Result.h"

namespace tavrok::importers {

// The lowest and highest elevation of a matrix in its own unit; written as whole numbers for
// people reading the header, never read back.
struct MatrixElevationRange {
    double minimum = 0;
    double maximum = 0;
};

// The keyword text of a matrix ".hdr", lines ending in CR LF, that ParseMatrixHeader reads back
// into the same settings. The title loses bytes that are not printable (they become blanks)
// and anything past 80 characters. Geographic corners are written with every digit a double
// needs, projected ones as whole numbers. A header with `northFirst` is written in the old form
// (int16 samples named by "data_value_unit", the northern row first). An ellipsoid that is not
// one of the named datums' is left out and reads back as Clarke 1866.
std::string WriteMatrixHeader(const MatrixHeader& header,
                              const std::optional<MatrixElevationRange>& range = std::nullopt);

// Writes that text to a file. Fails with CannotOpenFile when the file cannot be written
// completely.
support::Status WriteMatrixHeaderFile(
    const std::filesystem::path& path, const MatrixHeader& header,
    const std::optional<MatrixElevationRange>& range = std::nullopt);

}  // namespace tavrok::importers

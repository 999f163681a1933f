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

// How the values are laid out. Exact serves our own intermediate files: geographic corners with
// every digit a double needs and "data_type" always written. Saved is the layout of a matrix
// the user saves, which other programs have long read: geographic corners with six decimals,
// the datum name right after "=", and "data_type" only for depth data.
enum class MatrixHeaderLayout { Exact, Saved };

// The keyword text of a matrix ".hdr", lines ending in CR LF, that ParseMatrixHeader reads back
// into the same settings. The title loses bytes that are not printable (they become blanks)
// and anything past 80 characters. Projected corners are written as whole numbers (truncated).
// A header with `northFirst` is written in the old form (int16 samples named by
// "data_value_unit", the northern row first). An ellipsoid that is not one of the named
// datums' is left out and reads back as Clarke 1866.
std::string WriteMatrixHeader(const MatrixHeader& header,
                              const std::optional<MatrixElevationRange>& range = std::nullopt,
                              MatrixHeaderLayout layout = MatrixHeaderLayout::Exact);

// Writes that text to a file. Fails with CannotOpenFile when the file cannot be written
// completely.
support::Status WriteMatrixHeaderFile(
    const std::filesystem::path& path, const MatrixHeader& header,
    const std::optional<MatrixElevationRange>& range = std::nullopt,
    MatrixHeaderLayout layout = MatrixHeaderLayout::Exact);

}  // namespace tavrok::importers

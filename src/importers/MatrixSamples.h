#pragma once
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "support/FileHandle.h"
#include "support/Result.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// Low-level pieces shared by the matrix importer and the raw matrix builder.

using support::FileHandle;

// Reads exactly `bytes` bytes; false on a short read.
bool ReadExactly(std::FILE* file, void* data, std::size_t bytes);

// Reads exactly `bytes` bytes from a position without moving the file position, so that
// several threads may read one open file. False on a short read.
bool ReadAt(std::FILE* file, void* data, std::size_t bytes, std::uint64_t position);

// The rest of an open file as text. Fails with NotEnoughMemory or FileError.
support::Result<std::string> ReadRest(std::FILE* file, std::uint64_t bytes);

// Swaps the bytes of every sample in place (little-endian files on a big-endian machine, or
// big-endian files on a little-endian one).
void ReverseBytes(std::span<std::uint16_t> samples);
void ReverseBytes(std::span<std::uint32_t> samples);

// True when samples stored least significant byte first must be swapped on this machine.
inline constexpr bool littleEndianNeedsSwap = std::endian::native != std::endian::little;

// Reads up to `count` decimal numbers separated by white space and hands each to `store` with
// its index. Stops early at the end of the text or at a token that is not a number; returns
// how many were stored.
template <typename Store>
std::size_t ParseDecimals(std::string_view text, std::size_t count, Store&& store) {
    const char* position = text.data();
    const char* const end = text.data() + text.size();
    std::size_t stored = 0;
    while (stored < count) {
        while (position != end && (*position == ' ' || (*position >= '\t' && *position <= '\r'))) {
            ++position;
        }
        if (position != end && *position == '+') {
            ++position;
        }
        double value = 0;
        const auto [next, status] = std::from_chars(position, end, value);
        if (status != std::errc{} || next == position) {
            break;
        }
        store(stored, value);
        ++stored;
        position = next;
    }
    return stored;
}

// Fewest bytes an ASCII file needs for `samples` numbers: one digit each and a separator
// between them. Lets us refuse a too-short file before allocating its grid.
inline std::uint64_t FewestAsciiBytes(std::uint64_t samples) {
    return samples == 0 ? 0 : 2 * samples - 1;
}

// A square of 16-bit samples (row 0 south) as a grid relative to the lowest present sample;
// `missing` marks absent samples, which become missing cells. The extremes are in sample units
// (0 and 0 when every sample is missing). Fails with NotEnoughMemory.
struct Int16Grid {
    terrain::TerrainModel grid;
    int minimum = 0;
    int maximum = 0;
};
support::Result<Int16Grid> GridFromInt16Samples(std::span<const std::int16_t> samples, int size,
                                                std::int16_t missing);

}  // namespace tavrok::importers

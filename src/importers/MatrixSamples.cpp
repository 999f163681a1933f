#include "importers/MatrixSamples.h"

#include <algorithm>

#include <new>

#include <unistd.h>

namespace tavrok::importers {

bool ReadExactly(std::FILE* file, void* data, std::size_t bytes) {
    return bytes == 0 || std::fread(data, 1, bytes, file) == bytes;
}

bool ReadAt(std::FILE* file, void* data, std::size_t bytes, std::uint64_t position) {
    auto* target = static_cast<char*>(data);
    while (bytes > 0) {
        const auto count = pread(fileno(file), target, bytes, static_cast<off_t>(position));
        if (count <= 0) {
            return false;
        }
        target += count;
        bytes -= static_cast<std::size_t>(count);
        position += static_cast<std::uint64_t>(count);
    }
    return true;
}

support::Result<std::string> ReadRest(std::FILE* file, std::uint64_t bytes) {
    std::string text;
    try {
        text.resize(bytes);
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemory, "text buffer"};
    } catch (const std::length_error&) {
        return support::Error{support::ErrorCode::NotEnoughMemory, "text buffer"};
    }
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

void ReverseBytes(std::span<std::uint16_t> samples) {
    for (auto& sample : samples) {
        sample = static_cast<std::uint16_t>((sample >> 8) | (sample << 8));
    }
}

void ReverseBytes(std::span<std::uint32_t> samples) {
    for (auto& sample : samples) {
        sample = (sample >> 24) | ((sample >> 8) & 0x0000FF00u) | ((sample << 8) & 0x00FF0000u) |
                 (sample << 24);
    }
}

support::Result<Int16Grid> GridFromInt16Samples(std::span<const std::int16_t> samples, int size,
                                                std::int16_t missing) {
    Int16Grid result{{}, 1000000, -1000000};
    for (const std::int16_t sample : samples) {
        if (sample != missing) {
            result.minimum = std::min<int>(result.minimum, sample);
            result.maximum = std::max<int>(result.maximum, sample);
        }
    }
    if (result.minimum > result.maximum) {
        result.minimum = result.maximum = 0;
    }
    auto grid = terrain::TerrainModel::create(size, size);
    if (!grid) {
        return grid.error();
    }
    auto cells = grid->cells();
    for (std::size_t i = 0; i < samples.size() && i < cells.size(); ++i) {
        cells[i] = samples[i] == missing ? terrain::missingCell
                                         : static_cast<float>(samples[i] - result.minimum);
    }
    result.grid = std::move(grid).value();
    return result;
}

}  // namespace tavrok::importers

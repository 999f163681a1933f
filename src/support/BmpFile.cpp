#include "support/BmpFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "support/FileHandle.h"

namespace tavrok::support {

namespace {

void put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
void put32(std::uint8_t* at, std::uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}
std::uint32_t get16(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0] | (at[1] << 8));
}
std::uint32_t get32(const std::uint8_t* at) {
    return get16(at) | (get16(at + 2) << 16);
}

constexpr std::size_t headerSize = 54;
constexpr std::size_t blockBytes = std::size_t{1} << 20;

void swapRedAndBlue(const std::uint8_t* from, std::uint8_t* to, int width) {
    for (int x = 0; x < width; ++x) {
        to[3 * x] = from[3 * x + 2];
        to[3 * x + 1] = from[3 * x + 1];
        to[3 * x + 2] = from[3 * x];
    }
}

std::size_t paddedRow(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

}  // namespace

Status writeBmp(const RgbImage& image, const std::filesystem::path& path) {
    const std::size_t rowBytes = paddedRow(image.width());
    const std::size_t dataBytes = rowBytes * image.height();
    std::array<std::uint8_t, headerSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    put32(&header[2], static_cast<std::uint32_t>(headerSize + dataBytes));
    put32(&header[10], headerSize);
    put32(&header[14], 40);
    put32(&header[18], static_cast<std::uint32_t>(image.width()));
    put32(&header[22], static_cast<std::uint32_t>(image.height()));
    put16(&header[26], 1);
    put16(&header[28], 24);
    put32(&header[34], static_cast<std::uint32_t>(dataBytes));
    put32(&header[38], 2835);  // 72 dots per inch
    put32(&header[42], 2835);

    FileHandle file = openForWriting(path);
    if (!file) {
        return Error{ErrorCode::CannotOpenFile, path.string()};
    }
    if (std::fwrite(header.data(), 1, header.size(), file.get()) != header.size()) {
        return Error{ErrorCode::FileError, path.string()};
    }
    // Rows go out bottom first, blue first, a block of rows per write.
    const int rowsPerBlock = std::max<int>(1, static_cast<int>(blockBytes / rowBytes));
    std::vector<std::uint8_t> block(rowBytes * static_cast<std::size_t>(rowsPerBlock), 0);
    for (int y = image.height() - 1; y >= 0;) {
        std::size_t filled = 0;
        for (int row = 0; row < rowsPerBlock && y >= 0; ++row, --y) {
            swapRedAndBlue(image.row(y).data(), block.data() + filled, image.width());
            filled += rowBytes;
        }
        if (std::fwrite(block.data(), 1, filled, file.get()) != filled) {
            return Error{ErrorCode::FileError, path.string()};
        }
    }
    if (!closeChecked(file)) {
        return Error{ErrorCode::FileError, path.string()};
    }
    return success();
}

Result<RgbImage> readBmp(const std::filesystem::path& path) {
    const FileHandle file = openForReading(path);
    if (!file) {
        return Error{ErrorCode::CannotOpenFile, path.string()};
    }
    std::array<std::uint8_t, headerSize> header{};
    if (std::fread(header.data(), 1, header.size(), file.get()) != header.size() ||
        header[0] != 'B' || header[1] != 'M' || get16(&header[28]) != 24 ||
        get32(&header[30]) != 0) {
        return Error{ErrorCode::FileError, "not a 24-bit uncompressed bitmap"};
    }
    const auto width = static_cast<std::int32_t>(get32(&header[18]));
    const auto storedHeight = static_cast<std::int32_t>(get32(&header[22]));
    const bool topDown = storedHeight < 0;
    const std::int32_t height = topDown ? -storedHeight : storedHeight;
    if (width <= 0 || height <= 0 || width > 100000 || height > 100000) {
        return Error{ErrorCode::FileError, "bad bitmap size"};
    }
    if (std::fseek(file.get(), static_cast<long>(get32(&header[10])), SEEK_SET) != 0) {
        return Error{ErrorCode::FileError, "bad pixel offset"};
    }
    RgbImage image(width, height);
    std::vector<std::uint8_t> line(paddedRow(width));
    for (int stored = 0; stored < height; ++stored) {
        if (std::fread(line.data(), 1, line.size(), file.get()) != line.size()) {
            return Error{ErrorCode::FileError, "short pixel data"};
        }
        const int y = topDown ? stored : height - 1 - stored;
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, {line[3 * x + 2], line[3 * x + 1], line[3 * x]});
        }
    }
    return image;
}

}  // namespace tavrok::support

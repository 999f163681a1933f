#include "shell/SettingsFile.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace tavrok::shell {

std::array<colour::ColorScale, 2> SettingsFile::userColorStores() const {
    std::array<colour::ColorScale, 2> stores{};
    for (std::size_t table = 0; table < stores.size(); ++table) {
        for (std::size_t entry = 0; entry < userColorTables[table].size(); ++entry) {
            const SettingsColor& kept = userColorTables[table][entry];
            stores[table].entries[entry] = colour::Rgb{kept.red, kept.green, kept.blue};
        }
    }
    return stores;
}

void SettingsFile::keepUserColorStores(const std::array<colour::ColorScale, 2>& stores) {
    for (std::size_t table = 0; table < stores.size(); ++table) {
        for (std::size_t entry = 0; entry < userColorTables[table].size(); ++entry) {
            const colour::Rgb& colour = stores[table].entries[entry];
            userColorTables[table][entry] = SettingsColor{colour.red, colour.green, colour.blue};
        }
    }
}

namespace {

constexpr std::size_t fileTypeOffset = 0;
constexpr std::size_t colorTablesOffset = 4;
constexpr std::size_t colorTableBytes = 80;
constexpr std::size_t directoriesOffset = 164;
constexpr std::size_t windowOffset = 2244;

void putInt(std::array<std::uint8_t, SettingsFile::size>& bytes, std::size_t offset,
            std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::int32_t getInt(const std::array<std::uint8_t, SettingsFile::size>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

}  // namespace

std::array<std::uint8_t, SettingsFile::size> SettingsFile::encode() const {
    std::array<std::uint8_t, size> bytes{};
    putInt(bytes, fileTypeOffset, lastFileType);
    for (std::size_t table = 0; table < userColorTables.size(); ++table) {
        for (std::size_t entry = 0; entry < 20; ++entry) {
            const auto& color = userColorTables[table][entry];
            const std::size_t offset = colorTablesOffset + table * colorTableBytes + entry * 4;
            bytes[offset] = color.red;
            bytes[offset + 1] = color.green;
            bytes[offset + 2] = color.blue;
        }
    }
    for (std::size_t slot = 0; slot < directories.size(); ++slot) {
        const auto& text = directories[slot];
        const std::size_t length = std::min(text.size(), directoryBytes - 1);
        std::copy_n(text.begin(), length,
                    bytes.begin() + directoriesOffset + slot * directoryBytes);
    }
    putInt(bytes, windowOffset, window.left);
    putInt(bytes, windowOffset + 4, window.top);
    putInt(bytes, windowOffset + 8, window.width);
    putInt(bytes, windowOffset + 12, window.height);
    return bytes;
}

SettingsFile SettingsFile::decode(const std::array<std::uint8_t, size>& bytes) {
    SettingsFile settings;
    const std::int32_t fileType = getInt(bytes, fileTypeOffset);
    if (fileType >= firstFileType && fileType <= lastFileTypeId && fileType != 1300) {
        settings.lastFileType = fileType;
    }
    for (std::size_t table = 0; table < settings.userColorTables.size(); ++table) {
        for (std::size_t entry = 0; entry < 20; ++entry) {
            const std::size_t offset = colorTablesOffset + table * colorTableBytes + entry * 4;
            settings.userColorTables[table][entry] = {bytes[offset], bytes[offset + 1],
                                                      bytes[offset + 2]};
        }
    }
    for (std::size_t slot = 0; slot < settings.directories.size(); ++slot) {
        const auto* start = bytes.data() + directoriesOffset + slot * directoryBytes;
        const auto* end = std::find(start, start + directoryBytes, std::uint8_t{0});
        settings.directories[slot].assign(start, end);
    }
    settings.window = {getInt(bytes, windowOffset), getInt(bytes, windowOffset + 4),
                       getInt(bytes, windowOffset + 8), getInt(bytes, windowOffset + 12)};
    return settings;
}

std::filesystem::path SettingsFile::defaultPath() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config) {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = ".";
    }
    return base / "tavrok" / "tavrok.ini";
}

std::optional<SettingsFile> SettingsFile::read(const std::filesystem::path& path) {
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    if (fileSize != size) {
        std::filesystem::remove(path, error);
        return std::nullopt;
    }
    std::array<std::uint8_t, size> bytes{};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return decode(bytes);
}

bool SettingsFile::write(const std::filesystem::path& path) const {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const auto bytes = encode();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), size);
    return static_cast<bool>(out.flush());
}

}  // namespace tavrok::shell

#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "colour/ColorScale.h"
#include "support/Ui.h"

namespace tavrok::shell {

// A colour of a user colour table.
struct SettingsColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct WindowRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// What the program remembers between runs, stored as a 2260-byte little-endian file:
// last file type (4), two user colour tables of 20 × (R, G, B, reserved) (80 each), eight
// remembered directories of 260 bytes (NUL-terminated), window left, top, width, height (4 each).
struct SettingsFile {
    static constexpr std::size_t size = 2260;
    static constexpr std::size_t directoryBytes = 260;
    static constexpr int firstFileType = 1298;
    static constexpr int lastFileTypeId = 1308;

    std::int32_t lastFileType = 1301;  // a radio id of the file-type dialog
    std::array<std::array<SettingsColor, 20>, 2> userColorTables{};
    std::array<std::string, 8> directories;  // indexed by support::DirectoryFamily
    WindowRectangle window;

    std::string& directory(support::DirectoryFamily family) {
        return directories[static_cast<std::size_t>(family)];
    }

    // The colour dialog's "Store 1" and "Store 2" as kept here, and back (R, G, B of each entry).
    std::array<colour::ColorScale, 2> userColorStores() const;
    void keepUserColorStores(const std::array<colour::ColorScale, 2>& stores);

    std::array<std::uint8_t, size> encode() const;
    // Any 2260 bytes decode; a file type outside the dialog's ids falls back to the default.
    static SettingsFile decode(const std::array<std::uint8_t, size>& bytes);

    // $XDG_CONFIG_HOME/tavrok/tavrok.ini, or ~/.config/tavrok/tavrok.ini.
    static std::filesystem::path defaultPath();
    // The stored settings; empty when there are none. A file of another size is deleted.
    static std::optional<SettingsFile> read(const std::filesystem::path& path);
    // Creates the folder when needed; false when the file cannot be written whole.
    bool write(const std::filesystem::path& path) const;
};

}  // namespace tavrok::shell

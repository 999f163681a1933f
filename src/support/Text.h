#pragma once
#include <algorithm>
#include <cstdarg>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavrok::support {

// ASCII case mapping; other bytes pass unchanged (file names may hold UTF-8).
inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string lowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

inline std::string upperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperAscii);
    return result;
}

// The last extension of a path, dot included, in lower case: "X.DEM" gives ".dem".
inline std::string lowerExtension(const std::filesystem::path& path) {
    return lowerCase(path.extension().string());
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// The text in double quotes followed by the rest: "\"Save GeoTiff DEM\" is not available yet".
inline std::string quotedThen(std::string_view quoted, std::string_view rest) {
    std::string text;
    text.reserve(quoted.size() + rest.size() + 2);
    text.append(1, '"').append(quoted).append(1, '"').append(rest);
    return text;
}

// printf into a std::string; the system's texts carry printf formats ("%-ld Points Patched").
[[gnu::format(printf, 1, 2)]] std::string formatText(const char* format, ...);

}  // namespace tavrok::support

#include "importers/XyzPoints.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "support/FileHandle.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr std::size_t binaryRecordBytes = 24;
constexpr std::string_view whiteSpace = " \t\r\n\v\f";
constexpr std::string_view numberCharacters = "0123456789+-.eE";

bool isWhiteSpace(char character) {
    return whiteSpace.find(character) != std::string_view::npos;
}

int lineAt(std::string_view text, std::size_t at) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

Error improperText(std::string_view text, std::size_t at, std::string_view why) {
    const auto end = text.find_first_of(whiteSpace, at);
    const std::string word(text.substr(at, std::min<std::size_t>(end - at, 40)));
    return Error{
        ErrorCode::ImproperXyzData, std::string(why),
        "line " + std::to_string(lineAt(text, at)) + ": \"" + word + "\" " + std::string(why)};
}

}  // namespace

support::Result<std::vector<CloudPoint>> ParseXyzText(std::string_view text) {
    std::vector<CloudPoint> points;
    double triple[3];
    int filled = 0;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && isWhiteSpace(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return points;
        }
        const std::size_t start = at;
        if (text[at] == '+') {
            ++at;
        }
        double value = 0;
        const auto [end, problem] =
            std::from_chars(text.data() + at, text.data() + text.size(), value);
        if (problem != std::errc() || (end != text.data() + text.size() && !isWhiteSpace(*end))) {
            return improperText(text, start, "is not a number");
        }
        if (std::isnan(value)) {
            return improperText(text, start, "is not a number");
        }
        at = static_cast<std::size_t>(end - text.data());
        triple[filled++] = value;
        if (filled == 3) {
            points.push_back({triple[0], triple[1], triple[2], false});
            filled = 0;
        }
    }
}

support::Result<std::vector<CloudPoint>> ParseXyzBinary(std::string_view bytes) {
    std::vector<CloudPoint> points(bytes.size() / binaryRecordBytes);
    for (std::size_t index = 0; index < points.size(); ++index) {
        double triple[3];
        std::memcpy(triple, bytes.data() + index * binaryRecordBytes, sizeof(triple));
        if (std::isnan(triple[0]) || std::isnan(triple[1]) || std::isnan(triple[2])) {
            return Error{ErrorCode::ImproperBinaryXyzData, "NaN",
                         "record " + std::to_string(index + 1) + " holds a NaN"};
        }
        points[index] = {triple[0], triple[1], triple[2], false};
    }
    return points;
}

bool holdsTextNumbers(std::string_view bytes) {
    const bool onlyNumbers = std::all_of(bytes.begin(), bytes.end(), [](char character) {
        return isWhiteSpace(character) ||
               numberCharacters.find(character) != std::string_view::npos;
    });
    return onlyNumbers && bytes.find_first_of("0123456789") != std::string_view::npos;
}

support::Result<std::vector<CloudPoint>> ReadXyzPoints(const std::filesystem::path& file) {
    auto handle = support::openForReading(file);
    const auto size = support::fileSizeOf(file);
    if (!handle || !size) {
        return support::unreadable(ErrorCode::CannotOpenFile, file);
    }
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), handle.get()));
    const auto extension = support::lowerExtension(file);
    const bool text = extension == ".txt" || extension == ".xyz" || holdsTextNumbers(bytes);
    auto points = text ? ParseXyzText(bytes) : ParseXyzBinary(bytes);
    if (!points) {
        auto error = points.error();
        error.cause = file.filename().string() + ", " + error.cause;
        return error;
    }
    return points;
}

}  // namespace tavrok::importers

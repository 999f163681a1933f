#include "importers/MatrixHeaderWriter.h"

#include <charconv>
#include <cmath>

#include "support/FileHandle.h"
#include "support/NumberText.h"

namespace tavrok::importers {

namespace {

using terrain::ProjectionKind;

std::string line(std::string_view key, std::string_view value, std::string_view equals = "= ") {
    std::string text(key);
    text.resize(std::max<std::size_t>(text.size(), 23), ' ');
    text += equals;
    text += value;
    text += "\r\n";
    return text;
}

// The shortest text that reads back as the same double.
std::string exactNumber(double value) {
    char buffer[64];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return status == std::errc{} ? std::string(buffer, end) : std::string("0");
}

std::string sixDecimals(double value) {
    return support::fixedText(value, 6, -4);
}

std::string wholeNumber(double value) {
    return std::to_string(static_cast<long long>(value));
}

std::string printableTitle(const std::string& title) {
    std::string text = title.substr(0, terrain::TerrainHeader::titleLength);
    for (char& c : text) {
        c = (c >= 32 && c <= 126) ? c : ' ';
    }
    return text;
}

std::string_view encodingName(MatrixEncoding encoding) {
    switch (encoding) {
        case MatrixEncoding::Float32:
            return "float32";
        case MatrixEncoding::Ascii:
            return "ascii";
        case MatrixEncoding::Int16:
            break;
    }
    return "int16";
}

std::string projectionText(const MatrixHeader& header) {
    switch (header.projection) {
        case ProjectionKind::UTM:
            return "UTM Zone " + std::to_string(header.zone) + header.hemisphere;
        case ProjectionKind::LatLon:
            return "Lat/Lon";
        case ProjectionKind::Sinusoidal:
            return "Sinusoidal";
        case ProjectionKind::XY:
            break;
    }
    return "X/Y";
}

std::string_view unitName(terrain::ElevationUnit unit) {
    return unit == terrain::ElevationUnit::Feet ? "feet" : "meters";
}

}  // namespace

std::string WriteMatrixHeader(const MatrixHeader& header,
                              const std::optional<MatrixElevationRange>& range,
                              MatrixHeaderLayout layout) {
    const bool saved = layout == MatrixHeaderLayout::Saved;
    std::string text;
    text += line("file_title", printableTitle(header.title));
    if (header.northFirst) {
        text += line("data_value_unit", unitName(header.elevationUnit));
    } else {
        text += line("data_format", encodingName(header.encoding));
    }
    if (!saved || header.dataType == terrain::DataType::Depth) {
        text += line("data_type", header.dataType == terrain::DataType::Depth ? "depth" : "height");
    }
    text += line("map_projection", projectionText(header));
    const auto datum = geodesy::datumNameFor(header.ellipsoid);
    if (header.projection == ProjectionKind::UTM && !datum.empty()) {
        text += line("ellipsoid", datum, saved ? "=" : "= ");
    }
    const auto corner = [&header, saved](double value) {
        if (!header.geographic()) {
            return wholeNumber(value);
        }
        return saved ? sixDecimals(value) : exactNumber(value);
    };
    text += line("left_map_x", corner(header.left));
    text += line("lower_map_y", corner(header.lower));
    text += line("right_map_x", corner(header.right));
    text += line("upper_map_y", corner(header.upper));
    text += line("number_of_rows", std::to_string(header.rows));
    text += line("number_of_columns", std::to_string(header.columns));
    text += line("elev_m_unit", unitName(header.elevationUnit));
    if (range) {
        text += line("elev_m_minimum", wholeNumber(range->minimum));
        text += line("elev_m_maximum", wholeNumber(range->maximum));
    }
    text += line("elev_m_missing_flag", std::to_string(header.missingFlag));
    return text;
}

support::Status WriteMatrixHeaderFile(const std::filesystem::path& path, const MatrixHeader& header,
                                      const std::optional<MatrixElevationRange>& range,
                                      MatrixHeaderLayout layout) {
    const std::string text = WriteMatrixHeader(header, range, layout);
    auto file = support::openForWriting(path);
    if (!file || std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
        !support::closeChecked(file)) {
        return support::Error{support::ErrorCode::CannotOpenFile, path.string()};
    }
    return support::success();
}

}  // namespace tavrok::importers

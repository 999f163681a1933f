#include "importers/MatrixHeader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <optional>

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

// The "=" of a setting must follow its key within this many characters.
constexpr std::size_t equalsSearchLength = 128;
// "Zone" must follow "UTM" within this many characters.
constexpr std::size_t zoneSearchLength = 64;

Error headerError(std::string detail) {
    return Error{ErrorCode::CannotReadHeader, std::move(detail)};
}

bool readableByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 32 && value <= 126) || byte == '\r' || byte == '\n';
}

std::string folded(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool startsWithFolded(std::string_view value, std::string_view lowerPrefix) {
    return folded(value.substr(0, lowerPrefix.size())) == lowerPrefix;
}

// The value up to the end of its line.
std::string_view lineOf(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

// The value up to the first blank or line end.
std::string_view tokenOf(std::string_view value) {
    return value.substr(0, value.find_first_of(" \r\n"));
}

// The header text with a lower-case copy for finding keys in any letter case.
class HeaderText {
  public:
    explicit HeaderText(std::string_view text) : m_text(text), m_folded(folded(text)) {}

    // The text from the first non-blank after the key's "=" to the end of the header; empty
    // optional when the key does not occur.
    Result<std::optional<std::string_view>> optionalValue(std::string_view lowerKey) const {
        const auto keyAt = m_folded.find(lowerKey);
        if (keyAt == std::string::npos) {
            return std::optional<std::string_view>{};
        }
        const auto afterKey = keyAt + lowerKey.size();
        const auto window = std::string_view(m_text).substr(afterKey, equalsSearchLength);
        const auto equalsAt = window.find('=');
        if (equalsAt == std::string_view::npos) {
            return headerError(std::string(lowerKey) + " has no \"=\"");
        }
        const auto valueAt = m_text.find_first_not_of(' ', afterKey + equalsAt + 1);
        if (valueAt == std::string_view::npos) {
            return headerError(std::string(lowerKey) + " has no value");
        }
        return std::optional<std::string_view>{m_text.substr(valueAt)};
    }

    Result<std::string_view> requiredValue(std::string_view lowerKey) const {
        auto value = optionalValue(lowerKey);
        if (!value) {
            return value.error();
        }
        if (!value.value()) {
            return headerError(std::string(lowerKey) + " is missing");
        }
        return *value.value();
    }

  private:
    std::string_view m_text;
    std::string m_folded;
};

// A leading "+" is allowed as in the C library's readers.
std::string_view withoutPlus(std::string_view value) {
    return (!value.empty() && value.front() == '+') ? value.substr(1) : value;
}

// Reads the leading integer of a value; a fraction after it is ignored.
Result<int> integerValue(std::string_view value, std::string_view key) {
    const auto digits = withoutPlus(value);
    long long number = 0;
    const auto [end, status] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (status != std::errc{} || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max()) {
        return headerError(std::string(key) + " is not an integer");
    }
    return static_cast<int>(number);
}

Result<double> decimalValue(std::string_view value, std::string_view key) {
    const auto digits = withoutPlus(value);
    double number = 0;
    const auto [end, status] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (status != std::errc{}) {
        return headerError(std::string(key) + " is not a number");
    }
    return number;
}

Result<std::string_view> requiredLine(const HeaderText& text, std::string_view key) {
    auto value = text.requiredValue(key);
    if (!value) {
        return value.error();
    }
    return lineOf(value.value());
}

support::Status readTitle(const HeaderText& text, MatrixHeader& header) {
    auto line = requiredLine(text, "file_title");
    if (!line) {
        return line.error();
    }
    header.title = std::string(line.value().substr(0, terrain::TerrainHeader::titleLength));
    return support::success();
}

support::Status readEncoding(const HeaderText& text, MatrixHeader& header) {
    auto format = text.optionalValue("data_format");
    if (!format) {
        return format.error();
    }
    if (!format.value()) {
        auto legacyUnit = text.optionalValue("data_value_unit");
        if (!legacyUnit) {
            return legacyUnit.error();
        }
        if (!legacyUnit.value()) {
            return headerError("neither data_format nor data_value_unit");
        }
        header.encoding = MatrixEncoding::Int16;
        header.northFirst = true;
        return support::success();
    }
    const auto value = *format.value();
    if (startsWithFolded(value, "int16")) {
        header.encoding = MatrixEncoding::Int16;
    } else if (startsWithFolded(value, "float32")) {
        header.encoding = MatrixEncoding::Float32;
    } else if (startsWithFolded(value, "ascii")) {
        header.encoding = MatrixEncoding::Ascii;
    } else {
        return headerError("unknown data_format");
    }
    return support::success();
}

support::Status readDataType(const HeaderText& text, MatrixHeader& header) {
    auto value = text.optionalValue("data_type");
    if (!value) {
        return value.error();
    }
    const bool depth = value.value() && startsWithFolded(*value.value(), "depth");
    header.dataType = depth ? terrain::DataType::Depth : terrain::DataType::Height;
    return support::success();
}

// "UTM Zone 13 N": blanks may surround the number; the zone text is "13N".
support::Status readUtmZone(std::string_view afterUtm, MatrixHeader& header) {
    const auto zoneAt = folded(afterUtm.substr(0, zoneSearchLength)).find("zone");
    if (zoneAt == std::string::npos) {
        return headerError("UTM without zone");
    }
    auto rest = afterUtm.substr(zoneAt + 4);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    const auto digitCount = std::min(rest.find_first_not_of("0123456789"), rest.size());
    const auto digits = rest.substr(0, digitCount);
    rest.remove_prefix(digitCount);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    if (digits.empty() || rest.empty()) {
        return headerError("UTM zone unreadable");
    }
    auto zone = integerValue(digits, "zone");
    if (!zone) {
        return zone.error();
    }
    header.zone = zone.value();
    header.hemisphere = static_cast<char>(std::toupper(static_cast<unsigned char>(rest.front())));
    header.zoneText = std::string(digits) + rest.front();
    return support::success();
}

support::Status readProjection(const HeaderText& text, MatrixHeader& header) {
    auto value = text.requiredValue("map_projection");
    if (!value) {
        return value.error();
    }
    const auto line = folded(lineOf(value.value()));
    // Tested in this order; the last name found wins.
    const std::pair<std::string_view, ProjectionKind> names[] = {
        {"sine equal area", ProjectionKind::Sinusoidal},
        {"sinusoidal", ProjectionKind::Sinusoidal},
        {"lat/lon", ProjectionKind::LatLon},
        {"x/y", ProjectionKind::XY},
        {"utm", ProjectionKind::UTM},
    };
    std::optional<ProjectionKind> found;
    for (const auto& [name, kind] : names) {
        if (line.find(name) != std::string::npos) {
            found = kind;
        }
    }
    if (!found) {
        return Error{ErrorCode::UnknownProjection, "map_projection " + line};
    }
    header.projection = *found;
    if (*found != ProjectionKind::UTM) {
        return support::success();
    }
    return readUtmZone(value.value().substr(line.find("utm") + 3), header);
}

support::Status readEllipsoid(const HeaderText& text, MatrixHeader& header) {
    header.ellipsoid = geodesy::EllipsoidId::Clarke1866;
    if (header.projection != ProjectionKind::UTM) {
        return support::success();
    }
    auto value = text.optionalValue("ellipsoid");
    if (!value) {
        return value.error();
    }
    if (value.value()) {
        header.ellipsoid = geodesy::ellipsoidForDatumName(tokenOf(*value.value()))
                               .value_or(geodesy::EllipsoidId::Clarke1866);
    }
    return support::success();
}

support::Status readInteger(const HeaderText& text, std::string_view key, int& target) {
    auto value = text.requiredValue(key);
    if (!value) {
        return value.error();
    }
    auto number = integerValue(value.value(), key);
    if (!number) {
        return number.error();
    }
    target = number.value();
    return support::success();
}

// Geographic corners are decimal degrees; projected ones whole metres or units.
support::Status readCorner(const HeaderText& text, std::string_view key, MatrixHeader& header,
                           double& target) {
    if (header.geographic()) {
        auto value = text.requiredValue(key);
        if (!value) {
            return value.error();
        }
        auto number = decimalValue(value.value(), key);
        if (!number) {
            return number.error();
        }
        target = number.value();
        return support::success();
    }
    int whole = 0;
    auto status = readInteger(text, key, whole);
    target = whole;
    return status;
}

support::Status readElevationUnit(const HeaderText& text, MatrixHeader& header) {
    auto value = text.requiredValue("elev_m_unit");
    if (!value) {
        return value.error();
    }
    if (startsWithFolded(value.value(), "meters")) {
        header.elevationUnit = terrain::ElevationUnit::Meters;
    } else if (startsWithFolded(value.value(), "feet")) {
        header.elevationUnit = terrain::ElevationUnit::Feet;
    } else {
        return Error{ErrorCode::UnknownElevationUnit, std::string(lineOf(value.value()))};
    }
    return support::success();
}

using ReadStep = support::Status (*)(const HeaderText&, MatrixHeader&);

// The keys in the order they are evaluated; the first failure is the one reported.
constexpr ReadStep readSteps[] = {
    readTitle,
    readEncoding,
    readDataType,
    readProjection,
    readEllipsoid,
    [](const HeaderText& text, MatrixHeader& header) {
        return readInteger(text, "number_of_rows", header.rows);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readInteger(text, "number_of_columns", header.columns);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readCorner(text, "left_map_x", header, header.left);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readCorner(text, "right_map_x", header, header.right);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readCorner(text, "upper_map_y", header, header.upper);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readCorner(text, "lower_map_y", header, header.lower);
    },
    [](const HeaderText& text, MatrixHeader& header) {
        return readInteger(text, "elev_m_missing_flag", header.missingFlag);
    },
    readElevationUnit,
};

}  // namespace

std::vector<support::Error> MatrixHeader::problems() const {
    std::vector<Error> found;
    if (rows < 2 || columns < 2) {
        found.push_back({ErrorCode::ImproperRowsOrColumns, "fewer than 2 rows or columns"});
    }
    if (projection == ProjectionKind::UTM && !(right > left && upper > lower)) {
        found.push_back({ErrorCode::ImproperCoordinates, "corners do not increase"});
    }
    if (geographic()) {
        const auto longitudeInRange = [](double value) { return value >= -360 && value <= 360; };
        const auto latitudeInRange = [](double value) { return value >= -90 && value <= 90; };
        if (!(longitudeInRange(left) && longitudeInRange(right) && left < right)) {
            found.push_back({ErrorCode::LongitudeOutOfRange, "longitudes"});
        }
        if (!(latitudeInRange(lower) && latitudeInRange(upper))) {
            found.push_back({ErrorCode::LatitudeOutOfRange, "latitudes"});
        }
    }
    return found;
}

support::Status MatrixHeader::validate() const {
    auto found = problems();
    if (found.empty()) {
        return support::success();
    }
    return found.front();
}

support::Result<MatrixHeader> ParseMatrixHeader(std::string_view text) {
    if (!std::all_of(text.begin(), text.end(), readableByte)) {
        return headerError("byte that is neither printable nor a line end");
    }
    const HeaderText header(text);
    MatrixHeader result;
    for (const auto step : readSteps) {
        auto status = step(header, result);
        if (!status) {
            return status.error();
        }
    }
    return result;
}

}  // namespace tavrok::importers

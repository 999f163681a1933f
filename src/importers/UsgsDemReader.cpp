#include "importers/UsgsDemReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "geodesy/Ellipsoid.h"
#include "geodesy/Utm.h"
#include "importers/MatrixSamples.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;

// A record offsets.
constexpr std::size_t zoneOffset = 162;
constexpr std::size_t groundUnitOffset = 528;
constexpr std::size_t elevationUnitOffset = 534;
constexpr std::size_t cornersOffset = 546;
constexpr std::size_t resolutionOffset = 816;
constexpr std::size_t sizeOffset = 852;
constexpr std::size_t datumOffset = 890;
constexpr std::size_t titleLength = 40;
constexpr std::size_t wideField = 24;
constexpr std::size_t narrowField = 12;
constexpr std::size_t lineFeedSearch = 2048;
constexpr std::array<std::size_t, 2> fixedProfileStarts{864, 1024};

constexpr int voidRaw = -32767;
constexpr double metresPerFoot = 0.3048;
constexpr double metresPerArcSecond = 30.9214;
constexpr double arcSecondsPerDegree = 3600.0;
// A grid may hold many more cells than the file has numbers (short profiles are padded with
// voids), but not without bound: a few hundred bytes must not ask for gigabytes.
constexpr std::uint64_t cellsPerByte = 64;
constexpr std::uint64_t smallGridCells = 1u << 20;
// Corners, resolutions and datum elevations beyond this cannot describe terrain on Earth.
constexpr double largestMagnitude = 1e9;

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Free-format text reading over the whole file.
class DemText {
  public:
    explicit DemText(std::string_view text)
        : m_begin(text.data()), m_end(text.data() + text.size()) {}

    std::size_t size() const { return static_cast<std::size_t>(m_end - m_begin); }
    void seek(std::size_t offset) { m_position = m_begin + std::min(offset, size()); }
    std::size_t offset() const { return static_cast<std::size_t>(m_position - m_begin); }

    // A decimal integer after blanks; empty at the end or before something else.
    std::optional<long> integer() {
        const char* p = m_position;
        while (p != m_end && IsBlank(*p)) {
            ++p;
        }
        bool negative = false;
        if (p != m_end && (*p == '-' || *p == '+')) {
            negative = *p == '-';
            ++p;
        }
        if (p == m_end || *p < '0' || *p > '9') {
            return std::nullopt;
        }
        long value = 0;
        constexpr long cap = 1000000000L;
        for (; p != m_end && *p >= '0' && *p <= '9'; ++p) {
            value = value < cap ? value * 10 + (*p - '0') : value;
        }
        m_position = p;
        return negative ? -value : value;
    }

    // A real number after blanks, the exponent letter may be D; reads only the characters a
    // number can hold, so fields that run together are still told apart.
    std::optional<double> real() {
        const char* p = m_position;
        while (p != m_end && IsBlank(*p)) {
            ++p;
        }
        char buffer[64];
        std::size_t length = 0;
        auto take = [&](char c) {
            if (length < sizeof buffer) {
                buffer[length++] = c;
            }
            ++p;
        };
        auto digits = [&] {
            while (p != m_end && *p >= '0' && *p <= '9') {
                take(*p);
            }
        };
        if (p != m_end && (*p == '-' || *p == '+')) {
            take(*p);
        }
        digits();
        if (p != m_end && *p == '.') {
            take('.');
            digits();
        }
        if (p != m_end && (*p == 'D' || *p == 'd' || *p == 'E' || *p == 'e')) {
            take('e');
            if (p != m_end && (*p == '-' || *p == '+')) {
                take(*p);
            }
            digits();
        }
        const auto value = ParseReal(std::string_view(buffer, length));
        if (value) {
            m_position = p;
        }
        return value;
    }

    // A real number in a fixed field of `width` characters at an offset.
    std::optional<double> fixedReal(std::size_t offset, std::size_t width) const {
        if (offset + width > size()) {
            return std::nullopt;
        }
        char buffer[32];
        std::size_t length = 0;
        for (std::size_t i = 0; i < width && length < sizeof buffer; ++i) {
            const char c = m_begin[offset + i];
            if (!IsBlank(c)) {
                buffer[length++] = (c == 'D' || c == 'd') ? 'e' : c;
            }
        }
        return ParseReal(std::string_view(buffer, length));
    }

    // An integer read free-format from an offset, not past `limit`.
    std::optional<long> integerAt(std::size_t start, std::size_t limit) {
        seek(start);
        const auto value = integer();
        return value && offset() <= limit ? value : std::nullopt;
    }

  private:
    static std::optional<double> ParseReal(std::string_view text) {
        std::size_t skip = !text.empty() && text.front() == '+' ? 1 : 0;
        double value = 0;
        const auto [end, status] =
            std::from_chars(text.data() + skip, text.data() + text.size(), value);
        if (status != std::errc{} || end == text.data() + skip || !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    }

    const char* m_begin;
    const char* m_end;
    const char* m_position = m_begin;
};

// The first profile starts where a row number and a column number of 1 are found.
std::optional<std::size_t> ProfileStart(DemText& text, std::string_view bytes) {
    std::array<std::size_t, 3> candidates{fixedProfileStarts[0], fixedProfileStarts[1], 0};
    std::size_t count = 2;
    const auto lineFeed = bytes.substr(0, lineFeedSearch).find('\n');
    if (lineFeed != std::string_view::npos) {
        candidates[count++] = lineFeed;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (candidates[i] >= bytes.size()) {
            continue;
        }
        text.seek(candidates[i]);
        const auto row = text.integer();
        const auto column = text.integer();
        if (row == 1 && column == 1) {
            return candidates[i];
        }
    }
    return std::nullopt;
}

// The file's name text up to the first character that is not "0" to "z", a comma or a blank.
std::string TitleOf(std::string_view bytes) {
    std::string title;
    for (const char c : bytes.substr(0, titleLength)) {
        if (!((c >= '0' && c <= 'z') || c == ',' || c == ' ')) {
            break;
        }
        title += c;
    }
    const auto first = title.find_first_not_of(' ');
    const auto last = title.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : title.substr(first, last - first + 1);
}

// Halves go up; the caller checks the range before converting to an integer.
double RoundHalfUp(double value) {
    return std::floor(value + 0.5);
}

support::Status DescribeUtmCorners(UsgsDemRecord& record) {
    geodesy::UtmConverter converter;
    const auto ellipsoid =
        geodesy::ellipsoidForDatumCode(record.datumCode).value_or(geodesy::EllipsoidId::Wgs84);
    if (converter.setUtmParameters(ellipsoid, 0) != 0) {
        return Error{ErrorCode::UnusableUtmCoordinates, "ellipsoid"};
    }
    const auto zoneText = std::to_string(record.zone) + 'N';
    if (record.zone < 1 || record.zone > 60) {
        return Error{ErrorCode::IncorrectZone, "zone " + zoneText,
                     "the A record names UTM zone " + std::to_string(record.zone)};
    }
    record.lowerLatitude = record.leftLongitude = std::numeric_limits<double>::max();
    record.upperLatitude = record.rightLongitude = std::numeric_limits<double>::lowest();
    for (const auto& corner : record.corners) {
        const auto point = converter.utmToLatLon(zoneText, corner.x, corner.y);
        if (point.flags != 0) {
            return Error{ErrorCode::UnusableUtmCoordinates, "UTM corner cannot be converted",
                         support::formatText("the A record's corner %.0f, %.0f lies outside "
                                             "UTM zone %d",
                                             corner.x, corner.y, record.zone)};
        }
        record.lowerLatitude = std::min(record.lowerLatitude, point.latitudeDegrees);
        record.upperLatitude = std::max(record.upperLatitude, point.latitudeDegrees);
        record.leftLongitude = std::min(record.leftLongitude, point.longitudeDegrees);
        record.rightLongitude = std::max(record.rightLongitude, point.longitudeDegrees);
    }
    return support::success();
}

struct ARecord {
    double zResolution = 1;
};

Result<ARecord> ReadARecord(DemText& text, std::string_view bytes, std::size_t profileStart,
                            UsgsDemRecord& record) {
    const std::size_t limit = std::max<std::size_t>(profileStart, sizeOffset + 12);
    const auto zone = text.integerAt(zoneOffset, limit);
    const auto groundUnit = text.integerAt(groundUnitOffset, limit);
    const auto elevationUnit = text.integerAt(elevationUnitOffset, limit);
    const auto rows = text.integerAt(sizeOffset, limit);
    const auto columns = text.integer();
    if (!zone || !groundUnit || !elevationUnit || !rows || !columns) {
        return Error{ErrorCode::NotADemFile, "A record integers"};
    }
    if (*groundUnit == 1) {
        return Error{ErrorCode::GroundUnitFeetRefused, "ground unit 1"};
    }
    if (*groundUnit != 2 && *groundUnit != 3) {
        return Error{ErrorCode::NotADemFile, "ground unit " + std::to_string(*groundUnit)};
    }
    record.title = TitleOf(bytes);
    record.zone = static_cast<int>(*zone);
    record.groundUnit = static_cast<int>(*groundUnit);
    record.elevationUnit = static_cast<int>(*elevationUnit);
    record.datumCode = static_cast<int>(text.integerAt(datumOffset, limit).value_or(0));

    double smallestX = std::numeric_limits<double>::max();
    double smallestY = smallestX;
    double largestX = std::numeric_limits<double>::lowest();
    double largestY = largestX;
    for (std::size_t corner = 0; corner < 4; ++corner) {
        const auto x = text.fixedReal(cornersOffset + 2 * corner * wideField, wideField);
        const auto y = text.fixedReal(cornersOffset + (2 * corner + 1) * wideField, wideField);
        if (!x || !y) {
            return Error{ErrorCode::NotADemFile, "corner"};
        }
        smallestX = std::min(smallestX, *x);
        largestX = std::max(largestX, *x);
        smallestY = std::min(smallestY, *y);
        largestY = std::max(largestY, *y);
    }
    const auto xResolution = text.fixedReal(resolutionOffset, narrowField);
    const auto yResolution = text.fixedReal(resolutionOffset + narrowField, narrowField);
    const auto zResolution = text.fixedReal(resolutionOffset + 2 * narrowField, narrowField);
    if (!xResolution || !yResolution || !zResolution || !(*xResolution > 0) ||
        !(std::fabs(*zResolution) <= largestMagnitude) || !(*yResolution > 0) ||
        !(largestX - smallestX >= 0) || !(largestY - smallestY >= 0) ||
        std::fabs(smallestX) > largestMagnitude || std::fabs(largestX) > largestMagnitude ||
        std::fabs(smallestY) > largestMagnitude || std::fabs(largestY) > largestMagnitude) {
        return Error{ErrorCode::NotADemFile, "resolution or corners"};
    }
    record.resolutionX = *xResolution;
    record.resolutionY = *yResolution;
    record.corners = {DemCorner{smallestX, largestY}, DemCorner{largestX, largestY},
                      DemCorner{largestX, smallestY}, DemCorner{smallestX, smallestY}};
    record.smallestX = static_cast<int>(smallestX);
    record.smallestY = static_cast<int>(smallestY);
    record.largestX = static_cast<int>(largestX);
    record.largestY = static_cast<int>(largestY);

    const double columnsSpanned = (largestX - smallestX) / record.resolutionX + 1;
    const double rowsSpanned = (largestY - smallestY) / record.resolutionY + 1;
    const double cellCap =
        static_cast<double>(std::max<std::uint64_t>(smallGridCells, cellsPerByte * bytes.size()));
    // A record of one row gives the number of profiles itself.
    const double columnCount = *rows == 1 ? static_cast<double>(*columns) : columnsSpanned;
    if (!(columnCount >= 1 && columnCount * rowsSpanned <= cellCap)) {
        return Error{ErrorCode::IncompatibleFileFormat, "grid larger than the file can fill"};
    }
    record.columns = static_cast<int>(*rows == 1 ? columnCount : RoundHalfUp(columnCount));
    record.rows = static_cast<int>(RoundHalfUp(rowsSpanned));

    record.horizontalFactor = 1.0f;
    if (record.groundUnit == 2) {
        if (auto converted = DescribeUtmCorners(record); !converted) {
            return converted.error();
        }
    } else {
        record.leftLongitude = smallestX / arcSecondsPerDegree;
        record.rightLongitude = largestX / arcSecondsPerDegree;
        record.lowerLatitude = smallestY / arcSecondsPerDegree;
        record.upperLatitude = largestY / arcSecondsPerDegree;
        const double centreLatitude = (largestY + smallestY) / 7200.0;
        record.horizontalFactor = static_cast<float>(
            metresPerArcSecond * std::cos(centreLatitude * geodesy::radiansPerDegree));
    }
    return ARecord{*zResolution};
}

}  // namespace

Result<UsgsDemRecord> ReadUsgsDem(std::string_view bytes,
                                  const support::ProgressCallback& progress) {
    DemText text(bytes);
    const auto profileStart = ProfileStart(text, bytes);
    if (!profileStart) {
        return Error{ErrorCode::NotADemFile, "no profile start"};
    }
    UsgsDemRecord record;
    auto aRecord = ReadARecord(text, bytes, *profileStart, record);
    if (!aRecord) {
        return aRecord.error();
    }
    const double verticalFactor = record.elevationUnit == 1   ? metresPerFoot
                                  : record.elevationUnit == 2 ? 1.0
                                                              : record.horizontalFactor;
    const double scale = aRecord->zResolution * verticalFactor;

    auto grid =
        terrain::TerrainModel::create(record.rows, record.columns, UsgsDemRecord::voidElevation);
    if (!grid) {
        return grid.error();
    }
    const int rows = record.rows;
    text.seek(*profileStart);
    for (int profile = 0; profile < record.columns; ++profile) {
        const auto rowNumber = text.integer();
        const auto columnNumber = text.integer();
        const auto count = text.integer();
        const auto n = text.integer();
        const auto firstX = text.real();
        const auto firstY = text.real();
        const auto datum = text.real();
        const auto lowest = text.real();
        const auto highest = text.real();
        if (!rowNumber || !columnNumber || !count || !n || !firstX || !firstY || !datum ||
            !lowest || !highest || !(std::fabs(*datum) <= largestMagnitude)) {
            break;  // reading stops at the first faulty profile
        }
        const double startRow = RoundHalfUp((*firstY - record.corners[3].y) / record.resolutionY);
        if (!(startRow >= 0 && startRow < rows)) {
            return Error{ErrorCode::IncompatibleFileFormat,
                         "profile " + std::to_string(profile + 1) + " starts outside the grid"};
        }
        const long elevations = std::max(0L, *count);
        float* cell =
            grid->cells().data() + static_cast<std::size_t>(startRow) * record.columns + profile;
        const long kept = std::min<long>(elevations, rows - static_cast<long>(startRow));
        const float base = static_cast<float>(*datum);
        long index = 0;
        for (; index < elevations; ++index) {
            const auto raw = text.integer();
            if (!raw) {
                break;
            }
            if (index < kept) {
                *cell = *raw == voidRaw ? UsgsDemRecord::voidElevation
                                        : static_cast<float>(*raw * scale + base);
                cell += record.columns;
            }
        }
        if (index < elevations) {
            break;
        }
        if ((profile & 63) == 63 &&
            !support::reportProgress(progress, profile + 1, record.columns)) {
            return Error{ErrorCode::OperationCancelled, "DEM reading"};
        }
    }
    record.grid = std::move(grid.value());
    return record;
}

Result<UsgsDemRecord> ReadUsgsDem(const std::filesystem::path& path,
                                  const support::ProgressCallback& progress) {
    auto file = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!file || !size) {
        return support::unreadable(ErrorCode::CannotOpenFile, path);
    }
    auto bytes = ReadRest(file.get(), *size);
    if (!bytes) {
        return bytes.error();
    }
    return ReadUsgsDem(std::string_view(bytes.value()), progress);
}

}  // namespace tavrok::importers

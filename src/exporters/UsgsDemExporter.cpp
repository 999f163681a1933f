#include "exporters/UsgsDemExporter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "exporters/ExportedValues.h"
#include "exporters/ReplacementFile.h"
#include "support/NumberText.h"
#include "support/Units.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::exporters {

namespace {

using support::Error;
using support::ErrorCode;
using terrain::ProjectionKind;
using terrain::TerrainHeader;

constexpr std::size_t recordLength = 1024;
constexpr int firstBlockElevations = 146;
constexpr int laterBlockElevations = 170;
constexpr int missingElevation = -32767;
constexpr int progressColumns = 32;
// A Mars tile set whose centre lies east of 180 degrees is moved one turn west.
constexpr double halfTurnArcSeconds = 648000;
constexpr double fullTurnArcSeconds = 1296000;

// Where the grid lies in the file's ground units (metres, or arc-seconds for Lat/Lon).
struct DemGeometry {
    bool utm = true;
    int zone = 0;
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
    double spacingX = 0;
    double spacingY = 0;
};

DemGeometry geometryOf(const TerrainHeader& header) {
    DemGeometry geometry;
    if (header.projection == ProjectionKind::UTM) {
        geometry = {true,
                    header.utmZone,
                    header.westBound,
                    header.southBound,
                    header.eastBound,
                    header.northBound,
                    header.spacingX,
                    header.spacingY};
        return geometry;
    }
    // Geographic: whole arc-seconds, zone 0 in the file (the terrain keeps its own).
    geometry.utm = false;
    geometry.west = std::trunc(header.westBound);
    geometry.east = std::trunc(header.eastBound);
    geometry.south = std::trunc(header.southBound);
    geometry.north = std::trunc(header.northBound);
    if (header.planet == terrain::Planet::Mars && header.gridKind == terrain::gridKindSinusoidal &&
        (geometry.west + geometry.east) / 2 > halfTurnArcSeconds) {
        geometry.west -= fullTurnArcSeconds;
        geometry.east -= fullTurnArcSeconds;
    }
    geometry.spacingX = (geometry.east - geometry.west) / (header.columns - 1);
    geometry.spacingY = (geometry.north - geometry.south) / (header.rows - 1);
    return geometry;
}

void appendFormatted(std::string& out, const char* format, auto... values) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, format, values...);
    out.append(text, static_cast<std::size_t>(std::max(length, 0)));
}

// "%24.15e" with the exponent letter the format expects.
void appendReal(std::string& out, double value) {
    std::string text = support::scientificText(value, 15, 24);
    std::replace(text.begin(), text.end(), 'e', 'D');
    out += text;
}

// "%6d" without the cost of a formatted print: elevations are most of the file.
void appendSixWide(std::string& out, int value) {
    if (value < -99999 || value > 999999) {
        appendFormatted(out, "%6d", value);
        return;
    }
    char digits[6];
    int position = 6;
    unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    do {
        digits[--position] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        digits[--position] = '-';
    }
    out.append(static_cast<std::size_t>(position), ' ');
    out.append(digits + position, digits + 6);
}

void padRecord(std::string& out, std::size_t recordStart) {
    out.resize(recordStart + recordLength, ' ');
}

// One profile: the column's present cells and the rows its elevations cover.
struct Profile {
    int firstRow = 0;
    int lastRow = 0;
    int lowest = 100000000;
    int highest = -100000000;
};

Profile profileOf(const terrain::TerrainModel& grid, int column, double minElevation, bool utm) {
    Profile profile;
    profile.lastRow = grid.rows() - 1;
    int firstPresent = -1;
    int lastPresent = -1;
    const int minimum = static_cast<int>(std::trunc(minElevation));
    for (int row = 0; row < grid.rows(); ++row) {
        const float cell = grid.at(column, row);
        if (missingCell(cell)) {
            continue;
        }
        if (firstPresent < 0) {
            firstPresent = row;
        }
        lastPresent = row;
        const int value = static_cast<int>(std::trunc(cell)) + minimum;
        profile.lowest = std::min(profile.lowest, value);
        profile.highest = std::max(profile.highest, value);
    }
    if (utm && firstPresent >= 0) {
        profile.firstRow = firstPresent;
        profile.lastRow = lastPresent;
    }
    return profile;
}

void appendProfile(std::string& out, const terrain::Terrain& terrain, const DemGeometry& geometry,
                   int column) {
    const auto& grid = terrain.grid;
    const double minElevation = terrain.header.minElevation;
    const Profile profile = profileOf(grid, column, minElevation, geometry.utm);
    std::size_t recordStart = out.size();
    appendFormatted(out, "%6d%6d%6d     1", 1, column + 1, profile.lastRow - profile.firstRow + 1);
    appendReal(out, geometry.west + column * geometry.spacingX);
    appendReal(out, geometry.south + profile.firstRow * geometry.spacingY);
    appendReal(out, 0.0);
    appendReal(out, profile.lowest);
    appendReal(out, profile.highest);
    int roomInBlock = firstBlockElevations;
    for (int row = profile.firstRow; row <= profile.lastRow; ++row) {
        if (roomInBlock == 0) {
            padRecord(out, recordStart);
            recordStart = out.size();
            roomInBlock = laterBlockElevations;
        }
        const float cell = grid.at(column, row);
        appendSixWide(out, missingCell(cell)
                               ? missingElevation
                               : static_cast<int>(absoluteElevation(cell, minElevation)));
        --roomInBlock;
    }
    padRecord(out, recordStart);
}

std::string closingRecord() {
    std::string out = " ";
    for (int field = 0; field < 10; ++field) {
        appendSixWide(out, 0);
    }
    padRecord(out, 0);
    return out;
}

support::Status writeText(std::FILE* stream, std::string& text) {
    if (!writeAll(stream, text.data(), text.size())) {
        return Error{ErrorCode::CannotWriteFile, std::strerror(errno)};
    }
    text.clear();
    return support::success();
}

}  // namespace

support::Status refuseUsgsDem(const TerrainHeader& header) {
    if (header.projection == ProjectionKind::UTM && header.hemisphere == 'S') {
        return Error{ErrorCode::UsgsDemInSouthernHemisphere, header.zoneText};
    }
    if (header.dataType == terrain::DataType::Depth) {
        return Error{ErrorCode::UsgsDemOfDepthMatrix, {}};
    }
    if (header.projection == ProjectionKind::Sinusoidal) {
        return Error{ErrorCode::UsgsDemOfSinusoidalProjection, {}};
    }
    if (header.gridKind == terrain::gridKindMarsPolar) {
        return Error{ErrorCode::UsgsDemOfMarsPolar, {}};
    }
    return support::success();
}

std::string usgsDemRecordA(const TerrainHeader& header) {
    const DemGeometry geometry = geometryOf(header);
    std::string out =
        header.title.empty() ? "Digital Elevation Model by Tavrok" : header.title + " - by Tavrok";
    out.resize(144, ' ');
    appendFormatted(out, "%6d%6d%6d%6ld", 1, 1, geometry.utm ? 1 : 0,
                    static_cast<long>(geometry.utm ? geometry.zone : 0));
    for (int parameter = 0; parameter < 15; ++parameter) {
        appendReal(out, 0.0);
    }
    appendFormatted(out, "%6d%6d%6d", geometry.utm ? 2 : 3, 2, 4);
    const double corners[4][2] = {{geometry.west, geometry.south},
                                  {geometry.west, geometry.north},
                                  {geometry.east, geometry.north},
                                  {geometry.east, geometry.south}};
    for (const auto& corner : corners) {
        appendReal(out, corner[0]);
        appendReal(out, corner[1]);
    }
    appendReal(out, header.minElevation);
    appendReal(out, header.maxElevation);
    appendReal(out, 0.0);
    appendFormatted(out, "%6d", 0);
    // The spacing fields keep the letter "e".
    for (const double spacing : {geometry.spacingX, geometry.spacingY, 1.0}) {
        out += support::scientificText(spacing, 5, 12);
    }
    appendFormatted(out, "%6d%6d", 1, header.columns);
    out += std::string(24, ' ') + " 2";
    appendFormatted(out, "%2d", geodesy::datumCodeFor(header.ellipsoid));
    padRecord(out, 0);
    return out;
}

support::Status SaveUsgsDem(const terrain::Terrain& terrain, const ExportRequest& request,
                            const support::ProgressCallback& progress) {
    const auto& header = terrain.header;
    if (auto refused = refuseUsgsDem(header); !refused) {
        return refused;
    }
    if (terrain::needsUtmZone(header)) {
        return Error{ErrorCode::IncorrectZone, "the terrain has no UTM zone"};
    }
    auto file = ReplacementFile::create(request.file, ErrorCode::UnableToOpenDemFile);
    if (!file) {
        return file.error();
    }
    const DemGeometry geometry = geometryOf(header);
    std::string text = usgsDemRecordA(header);
    const int columns = terrain.grid.columns();
    for (int column = 0; column < columns; ++column) {
        appendProfile(text, terrain, geometry, column);
        if (text.size() >= (1u << 20)) {
            if (auto written = writeText(file->stream(), text); !written) {
                return written;
            }
        }
        if (column % progressColumns == progressColumns - 1 &&
            !support::reportProgress(progress, column + 1, columns)) {
            return Error{ErrorCode::OperationCancelled, "USGS DEM save"};
        }
    }
    text += closingRecord();
    if (auto written = writeText(file->stream(), text); !written) {
        return written;
    }
    return file->commit();
}

}  // namespace tavrok::exporters

#include "UsgsDemFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "terrain/ProjectionKind.h"

namespace tavrok::test {

namespace {

void Put(std::string& record, std::size_t offset, const std::string& text) {
    if (record.size() < offset + text.size()) {
        record.resize(offset + text.size(), ' ');
    }
    record.replace(offset, text.size(), text);
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    for (char& c : text) {
        c = c == 'E' ? 'D' : c;
    }
    return text;
}

std::string Integer(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%6d", value);
    return buffer;
}

}  // namespace

std::string DemText::text() const {
    const std::size_t aLength = layout == ProfileLayout::At864    ? 864
                                : layout == ProfileLayout::At1024 ? 1024
                                                                  : 950;
    std::string record(aLength, ' ');
    Put(record, 0, title);
    Put(record, 162, Integer(zone));
    Put(record, 528, Integer(groundUnit) + Integer(elevationUnit) + Integer(4));
    const double east = west + (columns - 1) * resolutionX;
    const double north = south + (rows - 1) * resolutionY;
    const double corners[8] = {west, south, west, north, east, north, east, south};
    for (int i = 0; i < 8; ++i) {
        Put(record, 546 + 24 * i, Format("%24.15E", corners[i]));
    }
    Put(record, 816,
        Format("%12.6E", resolutionX) + Format("%12.6E", resolutionY) + Format("%12.6E", 1.0));
    Put(record, 852, Integer(1) + Integer(columns));
    if (aLength > 892) {
        Put(record, 890, " " + std::to_string(datum));
    }
    record.resize(aLength, ' ');
    if (layout == ProfileLayout::AfterLineFeed) {
        record += '\n';
    }
    for (int column = 0; column < columns; ++column) {
        const double steps = column < static_cast<int>(startSteps.size()) ? startSteps[column] : 0;
        const int firstRow = static_cast<int>(std::floor(steps + 0.5));
        std::string profile =
            Integer(1) + Integer(column + 1) + Integer(rows - firstRow) + Integer(1);
        profile += Format("%24.15E", west + column * resolutionX);
        profile += Format("%24.15E", south + steps * resolutionY);
        profile += Format("%24.15E", 0.0) + Format("%24.15E", 0.0) + Format("%24.15E", 0.0);
        for (int row = firstRow; row < rows; ++row) {
            // A profile that starts below the south edge repeats its first value there.
            const int stored = std::max(row, 0) * columns + column;
            profile += Integer(values[static_cast<std::size_t>(stored)]);
        }
        if (layout == ProfileLayout::AfterLineFeed) {
            profile += '\n';
        } else {
            profile.resize((profile.size() + 1023) / 1024 * 1024, ' ');
        }
        record += profile;
    }
    return record;
}

double ElevationOf(const importers::LoadedTerrain& terrain, int column, int row) {
    const float cell = terrain.grid.at(column, row);
    return cell < 0 ? -1.0 : cell + terrain.header.minElevation;
}

int ExpectSameAsGdal(const importers::LoadedTerrain& terrain, const std::filesystem::path& file,
                     const std::filesystem::path& scratch, double gdalNoData) {
    const auto xyz = scratch / "gdal.xyz";
    runCommand("gdal_translate -q -of XYZ '" + file.string() + "' '" + xyz.string() + "'");
    const auto& header = terrain.header;
    const bool geographic = header.projection == terrain::ProjectionKind::LatLon;
    const double unit = geographic ? 3600.0 : 1.0;
    std::ifstream in(xyz);
    double x = 0;
    double y = 0;
    double z = 0;
    int compared = 0;
    int differences = 0;
    while (in >> x >> y >> z) {
        const long column = std::lround((x * unit - header.originX) / header.spacingX);
        const long row = std::lround((y * unit - header.originY) / header.spacingY);
        const bool inside = column >= 0 && column < header.columns && row >= 0 && row < header.rows;
        if (z == gdalNoData) {
            if (inside &&
                ElevationOf(terrain, static_cast<int>(column), static_cast<int>(row)) != -1.0) {
                ++differences;
            }
            continue;
        }
        if (!inside ||
            std::fabs(ElevationOf(terrain, static_cast<int>(column), static_cast<int>(row)) - z) >
                1e-3) {
            if (++differences < 5) {
                ADD_FAILURE() << "GDAL " << x << " " << y << " " << z << " at column " << column
                              << " row " << row;
            }
            continue;
        }
        ++compared;
    }
    EXPECT_EQ(differences, 0);
    return compared;
}

}  // namespace tavrok::test

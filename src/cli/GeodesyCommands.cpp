#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/Arguments.h"
#include "cli/Subcommands.h"
#include "geodesy/Utm.h"

namespace tavrok::cli {

namespace {

// The ellipsoid and zone override shared by both directions.
std::optional<geodesy::UtmConverter> converterFrom(const Arguments& arguments) {
    const auto ellipsoidName = arguments.value("ellipsoid").value_or("WGS-84");
    const auto ellipsoid = geodesy::ellipsoidByNameOrId(ellipsoidName);
    if (!ellipsoid) {
        std::cerr << "tavrok-cli: unknown ellipsoid \"" << ellipsoidName << "\"\n";
        return std::nullopt;
    }
    long zone = 0;
    if (const auto zoneText = arguments.value("zone")) {
        const auto parsed = parseInteger(*zoneText);
        if (!parsed) {
            std::cerr << "tavrok-cli: --zone needs a zone number\n";
            return std::nullopt;
        }
        zone = *parsed;
    }
    geodesy::UtmConverter converter;
    if (const int flags = converter.setUtmParameters(*ellipsoid, static_cast<int>(zone));
        flags != 0) {
        std::cerr << "tavrok-cli: error " << flags << " setting the UTM parameters\n";
        return std::nullopt;
    }
    return converter;
}

// Runs every line of standard input through one conversion; a line that fails prints
// "error FLAGS" and the run goes on.
template <typename ConvertLine>
int convertLines(const ConvertLine& convertLine) {
    std::string line;
    char output[160];
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        if (!convertLine(fields, output, sizeof output)) {
            std::snprintf(output, sizeof output, "error bad input");
        }
        std::fputs(output, stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}

}  // namespace

int runGeoToUtm(const Arguments& arguments) {
    const auto converter = converterFrom(arguments);
    if (!converter) {
        return 2;
    }
    return convertLines([&](std::istringstream& fields, char* output, std::size_t size) {
        double latitude = 0;
        double longitude = 0;
        if (!(fields >> latitude >> longitude)) {
            return false;
        }
        const auto utm = converter->latLonToUtm(latitude, longitude);
        if (utm.flags != 0) {
            std::snprintf(output, size, "error %d", utm.flags);
        } else {
            std::snprintf(output, size, "%.3f %.3f %s", utm.easting, utm.northing,
                          utm.zoneText.c_str());
        }
        return true;
    });
}

int runUtmToGeo(const Arguments& arguments) {
    const auto converter = converterFrom(arguments);
    if (!converter) {
        return 2;
    }
    return convertLines([&](std::istringstream& fields, char* output, std::size_t size) {
        double easting = 0;
        double northing = 0;
        std::string zoneText;
        if (!(fields >> easting >> northing >> zoneText)) {
            return false;
        }
        const auto point = converter->utmToLatLon(zoneText, easting, northing);
        if (point.flags != 0) {
            std::snprintf(output, size, "error %d", point.flags);
        } else {
            std::snprintf(output, size, "%.9f %.9f", point.latitude, point.longitude);
        }
        return true;
    });
}

}  // namespace tavrok::cli

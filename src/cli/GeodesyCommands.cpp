#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>

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

// Splits a line into blank-separated words without copying.
class Words {
  public:
    explicit Words(std::string_view line) : m_rest(line) {}

    std::string_view next() {
        const auto start = m_rest.find_first_not_of(" \t\r");
        if (start == std::string_view::npos) {
            m_rest = {};
            return {};
        }
        m_rest.remove_prefix(start);
        const auto end = std::min(m_rest.find_first_of(" \t\r"), m_rest.size());
        const auto word = m_rest.substr(0, end);
        m_rest.remove_prefix(end);
        return word;
    }

    bool nextNumber(double& value) {
        const auto word = next();
        const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return !word.empty() && error == std::errc() && stop == word.data() + word.size();
    }

  private:
    std::string_view m_rest;
};

std::string readAll(std::FILE* input) {
    std::string text;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, input)) > 0) {
        text.append(buffer, count);
    }
    return text;
}

// Converts the lines of one part of the input, each answer on its own line.
template <typename ConvertLine>
std::string convertPart(std::string_view rest, const ConvertLine& convertLine) {
    std::string output;
    output.reserve(rest.size() + rest.size() / 4);
    char answer[160];
    while (!rest.empty()) {
        const auto end = std::min(rest.find('\n'), rest.size());
        Words words(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!convertLine(words, answer, sizeof answer)) {
            std::snprintf(answer, sizeof answer, "error bad input");
        }
        output.append(answer).push_back('\n');
    }
    return output;
}

// Runs every line of standard input through one conversion, which writes its answer into a
// small buffer; a line that fails prints "error FLAGS" and the run goes on. Big inputs are
// split at a line boundary and converted on two cores.
template <typename ConvertLine>
int convertLines(const ConvertLine& convertLine) {
    const std::string input = readAll(stdin);
    constexpr std::size_t splitAbove = 1 << 20;
    const std::size_t middle =
        input.size() > splitAbove ? input.find('\n', input.size() / 2) : std::string::npos;
    if (middle == std::string::npos) {
        const std::string output = convertPart(input, convertLine);
        std::fwrite(output.data(), 1, output.size(), stdout);
        return 0;
    }
    const std::string_view text(input);
    std::string secondHalf;
    std::thread worker([&] { secondHalf = convertPart(text.substr(middle + 1), convertLine); });
    const std::string firstHalf = convertPart(text.substr(0, middle + 1), convertLine);
    worker.join();
    std::fwrite(firstHalf.data(), 1, firstHalf.size(), stdout);
    std::fwrite(secondHalf.data(), 1, secondHalf.size(), stdout);
    return 0;
}

}  // namespace

int runGeoToUtm(const Arguments& arguments) {
    const auto converter = converterFrom(arguments);
    if (!converter) {
        return 2;
    }
    return convertLines([&](Words& words, char* output, std::size_t size) {
        double latitude = 0;
        double longitude = 0;
        if (!words.nextNumber(latitude) || !words.nextNumber(longitude)) {
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
    return convertLines([&](Words& words, char* output, std::size_t size) {
        double easting = 0;
        double northing = 0;
        if (!words.nextNumber(easting) || !words.nextNumber(northing)) {
            return false;
        }
        const std::string_view zoneText = words.next();
        if (zoneText.empty()) {
            return false;
        }
        const auto point = converter->utmToLatLon(zoneText, easting, northing);
        if (point.flags != 0) {
            std::snprintf(output, size, "error %d", point.flags);
        } else {
            std::snprintf(output, size, "%.9f %.9f", point.latitudeDegrees, point.longitudeDegrees);
        }
        return true;
    });
}

}  // namespace tavrok::cli

#include "exporters/ExportedValues.h"

#include <cmath>

#include "support/Units.h"

namespace tavrok::exporters {

namespace {

double cornerDegrees(float degrees, double arcSeconds) {
    const double fromSeconds = arcSeconds / support::arcSecondsPerDegree;
    const double singlePrecisionStep =
        std::abs(std::nextafter(degrees, 2 * degrees + 1.0f) - degrees);
    return std::abs(fromSeconds - degrees) <= 2 * singlePrecisionStep ? fromSeconds : degrees;
}

}  // namespace

GeographicCorners geographicCorners(const terrain::TerrainHeader& header) {
    return {cornerDegrees(header.westLon, header.westBound),
            cornerDegrees(header.southLat, header.southBound),
            cornerDegrees(header.eastLon, header.eastBound),
            cornerDegrees(header.northLat, header.northBound)};
}

}  // namespace tavrok::exporters

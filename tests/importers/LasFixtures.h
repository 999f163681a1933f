#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tavrok::test {

// One point of a synthetic LAS file: coordinates in metres and its classification byte
// (ASPRS class with the format's flag bits as the file stores them).
struct LasTestPoint {
    double x;
    double y;
    double z;
    int classification = 1;
    bool withheld = false;
};

// How a synthetic file is laid out.
struct LasTestLayout {
    int versionMinor = 2;
    int pointFormat = 1;
    int extraBytes = 0;
    bool onlyWideCount = false;  // 1.4: the 32-bit count is 0 and the 64-bit count is set
    int projectedSystem = 0;     // a GeoKeyDirectory record with this code when not 0
    double scale = 0.01;
};

// The bytes of a LAS file holding the points, written by the book (header, an optional
// projection record, point records), independent of the reader under test.
std::string lasFileBytes(const std::vector<LasTestPoint>& points, const LasTestLayout& layout = {});

}  // namespace tavrok::test

#pragma once
#include <optional>
#include <string_view>

namespace tavrok::geodesy {

// Index into the ellipsoid table, 1 to 23 (0 is an unused placeholder).
enum class EllipsoidId : int {
    Airy = 1,
    AustralianNational = 2,
    Bessel1841 = 3,
    Bessel1841Namibia = 4,
    Clarke1866 = 5,
    Clarke1880 = 6,
    Everest = 7,
    Fischer1960Mercury = 8,
    Fischer1968 = 9,
    Grs1967 = 10,
    Grs1980 = 11,
    Helmert1906 = 12,
    Hough = 13,
    International = 14,
    Krassovsky = 15,
    ModifiedAiry = 16,
    ModifiedEverest = 17,
    ModifiedFischer1960 = 18,
    SouthAmerican1969 = 19,
    Wgs60 = 20,
    Wgs66 = 21,
    Wgs72 = 22,
    Wgs84 = 23,
};

struct Ellipsoid {
    int identifier;              // the table index; -1 for the placeholder row
    std::string_view name;       // as listed, two names end in a blank
    double semiMajorAxis;        // a, metres
    double eccentricitySquared;  // e²

    // f = (2 - sqrt(4 - 4e²)) / 2, b = (1 - f) a; metres.
    double semiMinorAxis() const;
};

// The record of an ellipsoid; ids outside 1..23 give the placeholder row (a = 0).
const Ellipsoid& ellipsoidFor(EllipsoidId id);
// "Airy" … "WGS-84" or 1 … 23 (as text); case ignored. Empty when unknown.
std::optional<EllipsoidId> ellipsoidByNameOrId(std::string_view text);

// Datum names of files and dialogs select an ellipsoid only (no datum shift):
// "NAD27" Clarke 1866, "NAD83" GRS 1980, "WGS60", "WGS66", "WGS72", "WGS84"; case ignored.
std::optional<EllipsoidId> ellipsoidForDatumName(std::string_view datumName);
// "NAD27", "NAD83", "WGS60" … for the six datum ellipsoids; empty otherwise.
std::string_view datumNameFor(EllipsoidId id);
// Short code of matrix headers: 1 NAD27, 2 WGS72, 3 WGS84, 4 NAD83; 0 for other ellipsoids.
int datumCodeFor(EllipsoidId id);
std::optional<EllipsoidId> ellipsoidForDatumCode(int code);
// The wording of the DEM specs line: "NAD 27", "NAD 83", "WGS 60", "WGS 66", "WGS 72",
// "WGS 84"; empty for other ellipsoids.
std::string_view datumDisplayName(EllipsoidId id);

}  // namespace tavrok::geodesy

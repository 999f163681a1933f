#include "geodesy/Ellipsoid.h"
#include "support/Text.h"

#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace tavrok::geodesy {

namespace {

// Row 0 is a placeholder so that rows and EllipsoidId values coincide.
constexpr std::array<Ellipsoid, 24> ellipsoidTable{{
    {-1, "", 0.0, 0.0},
    {1, "Airy", 6377563.0, 0.00667054},
    {2, "Australian National", 6378160.0, 0.006694542},
    {3, "Bessel 1841", 6377397.0, 0.006674372},
    {4, "Bessel 1841 (Nambia) ", 6377484.0, 0.006674372},
    {5, "Clarke 1866", 6378206.0, 0.006768658},
    {6, "Clarke 1880", 6378249.0, 0.006803511},
    {7, "Everest", 6377276.0, 0.006637847},
    {8, "Fischer 1960 (Mercury) ", 6378166.0, 0.006693422},
    {9, "Fischer 1968", 6378150.0, 0.006693422},
    {10, "GRS 1967", 6378160.0, 0.006694605},
    {11, "GRS 1980", 6378137.0, 0.00669438},
    {12, "Helmert 1906", 6378200.0, 0.006693422},
    {13, "Hough", 6378270.0, 0.00672267},
    {14, "International", 6378388.0, 0.00672267},
    {15, "Krassovsky", 6378245.0, 0.006693422},
    {16, "Modified Airy", 6377340.0, 0.00667054},
    {17, "Modified Everest", 6377304.0, 0.006637847},
    {18, "Modified Fischer 1960", 6378155.0, 0.006693422},
    {19, "South American 1969", 6378160.0, 0.006694542},
    {20, "WGS 60", 6378165.0, 0.006693422},
    {21, "WGS 66", 6378145.0, 0.006694542},
    {22, "WGS-72", 6378135.0, 0.006694318},
    {23, "WGS-84", 6378137.0, 0.00669438},
}};

struct DatumRecord {
    EllipsoidId ellipsoid;
    std::string_view name;         // as files and dialogs spell it
    std::string_view displayName;  // "NAD 27": the wording shown to the user
    int code;                      // matrix header code, 0 where the datum has none
};

constexpr std::array<DatumRecord, 6> datumTable{{
    {EllipsoidId::Clarke1866, "NAD27", "NAD 27", 1},
    {EllipsoidId::Grs1980, "NAD83", "NAD 83", 4},
    {EllipsoidId::Wgs60, "WGS60", "WGS 60", 0},
    {EllipsoidId::Wgs66, "WGS66", "WGS 66", 0},
    {EllipsoidId::Wgs72, "WGS72", "WGS 72", 2},
    {EllipsoidId::Wgs84, "WGS84", "WGS 84", 3},
}};

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

const DatumRecord* datumRecordFor(EllipsoidId id) {
    for (const DatumRecord& record : datumTable) {
        if (record.ellipsoid == id) {
            return &record;
        }
    }
    return nullptr;
}

}  // namespace

double Ellipsoid::semiMinorAxis() const {
    const double flattening = (2.0 - std::sqrt(4.0 - 4.0 * eccentricitySquared)) / 2.0;
    return (1.0 - flattening) * semiMajorAxis;
}

const Ellipsoid& ellipsoidFor(EllipsoidId id) {
    const int row = static_cast<int>(id);
    if (row < 1 || row >= static_cast<int>(ellipsoidTable.size())) {
        return ellipsoidTable[0];
    }
    return ellipsoidTable[static_cast<std::size_t>(row)];
}

std::optional<EllipsoidId> ellipsoidByNameOrId(std::string_view text) {
    const std::string_view wanted = trimBlanks(text);
    if (wanted.empty()) {
        return std::nullopt;
    }
    bool allDigits = wanted.size() <= 2;
    for (char character : wanted) {
        allDigits = allDigits && std::isdigit(static_cast<unsigned char>(character));
    }
    if (allDigits) {
        const int row = std::stoi(std::string(wanted));
        if (row >= 1 && row < static_cast<int>(ellipsoidTable.size())) {
            return static_cast<EllipsoidId>(row);
        }
        return std::nullopt;
    }
    for (std::size_t row = 1; row < ellipsoidTable.size(); ++row) {
        if (support::equalsIgnoringCase(trimBlanks(ellipsoidTable[row].name), wanted)) {
            return static_cast<EllipsoidId>(row);
        }
    }
    for (const DatumRecord& record : datumTable) {
        if (support::equalsIgnoringCase(record.name, wanted) ||
            support::equalsIgnoringCase(record.displayName, wanted)) {
            return record.ellipsoid;
        }
    }
    return std::nullopt;
}

std::optional<EllipsoidId> ellipsoidForDatumName(std::string_view datumName) {
    const std::string_view wanted = trimBlanks(datumName);
    for (const DatumRecord& record : datumTable) {
        if (support::equalsIgnoringCase(record.name, wanted)) {
            return record.ellipsoid;
        }
    }
    return std::nullopt;
}

std::string_view datumNameFor(EllipsoidId id) {
    const DatumRecord* record = datumRecordFor(id);
    return record ? record->name : std::string_view();
}

int datumCodeFor(EllipsoidId id) {
    const DatumRecord* record = datumRecordFor(id);
    return record ? record->code : 0;
}

std::optional<EllipsoidId> ellipsoidForDatumCode(int code) {
    if (code == 0) {
        return std::nullopt;
    }
    for (const DatumRecord& record : datumTable) {
        if (record.code == code) {
            return record.ellipsoid;
        }
    }
    return std::nullopt;
}

std::string_view datumDisplayName(EllipsoidId id) {
    const DatumRecord* record = datumRecordFor(id);
    return record ? record->displayName : std::string_view();
}

}  // namespace tavrok::geodesy

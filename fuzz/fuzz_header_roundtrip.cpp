// Builds a header the saved layout can express from the input (a title of up to 80 printable
// characters, any encoding, kind, projection, size, missing flag and unit, one of the four
// named datums for UTM, corners in range), writes it and reads it back: every field must come
// back, geographic corners to the six decimals written. A difference aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "importers/MatrixHeader.h"
#include "importers/MatrixHeaderWriter.h"

namespace {

using tavrok::importers::MatrixHeader;

std::string printableTitle(FuzzedDataProvider& input) {
    auto title = input.ConsumeRandomLengthString(80);
    for (char& c : title) {
        c = static_cast<char>(32 + static_cast<unsigned char>(c) % 95);
    }
    // Blanks after "=" are skipped and a title runs to the end of its line.
    while (!title.empty() && title.back() == ' ') {
        title.pop_back();
    }
    return title.empty() || title.front() == ' ' ? "T" + title.substr(0, 79) : title;
}

void chooseCorners(FuzzedDataProvider& input, MatrixHeader& header) {
    if (header.geographic()) {
        header.left = input.ConsumeFloatingPointInRange(-180.0, 179.0);
        header.right = input.ConsumeFloatingPointInRange(header.left + 1e-5, 180.0);
        header.lower = input.ConsumeFloatingPointInRange(-90.0, 89.0);
        header.upper = input.ConsumeFloatingPointInRange(header.lower + 1e-5, 90.0);
        return;
    }
    header.left = input.ConsumeIntegralInRange(-1000000, 1000000);
    header.right = header.left + input.ConsumeIntegralInRange(1, 1000000);
    header.lower = input.ConsumeIntegralInRange(-10000000, 10000000);
    header.upper = header.lower + input.ConsumeIntegralInRange(1, 1000000);
}

MatrixHeader headerFrom(FuzzedDataProvider& input) {
    using tavrok::geodesy::EllipsoidId;
    constexpr EllipsoidId datums[] = {EllipsoidId::Clarke1866, EllipsoidId::Grs1980,
                                      EllipsoidId::Wgs72, EllipsoidId::Wgs84};
    MatrixHeader header;
    header.title = printableTitle(input);
    header.encoding =
        static_cast<tavrok::importers::MatrixEncoding>(input.ConsumeIntegralInRange(0, 2));
    header.dataType =
        input.ConsumeBool() ? tavrok::terrain::DataType::Depth : tavrok::terrain::DataType::Height;
    header.projection =
        static_cast<tavrok::terrain::ProjectionKind>(input.ConsumeIntegralInRange(0, 3));
    header.rows = input.ConsumeIntegralInRange(2, 1000000);
    header.columns = input.ConsumeIntegralInRange(2, 1000000);
    header.missingFlag = input.ConsumeIntegralInRange(-1000000, 1000000);
    header.elevationUnit = input.ConsumeBool() ? tavrok::terrain::ElevationUnit::Feet
                                               : tavrok::terrain::ElevationUnit::Meters;
    if (header.projection == tavrok::terrain::ProjectionKind::UTM) {
        header.zone = input.ConsumeIntegralInRange(1, 60);
        header.hemisphere = input.ConsumeBool() ? 'S' : 'N';
        header.zoneText = std::to_string(header.zone) + header.hemisphere;
        header.ellipsoid = datums[input.ConsumeIntegralInRange(0, 3)];
    }
    chooseCorners(input, header);
    return header;
}

// Aborts with the header text and the field that did not come back.
void require(bool condition, const char* field, const std::string& text) {
    if (!condition) {
        std::fprintf(stderr, "%s differs after reading back:\n%s\n", field, text.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto written = headerFrom(input);
    const auto text = tavrok::importers::WriteMatrixHeader(
        written, std::nullopt, tavrok::importers::MatrixHeaderLayout::Saved);
    const auto read = tavrok::importers::ParseMatrixHeader(text);
    require(read.ok(), "the whole header", text);
    require(read->title == written.title, "title", text);
    require(read->encoding == written.encoding, "encoding", text);
    require(read->dataType == written.dataType, "data type", text);
    require(read->projection == written.projection, "projection", text);
    require(read->zoneText == written.zoneText, "zone", text);
    require(read->ellipsoid == written.ellipsoid, "ellipsoid", text);
    require(read->rows == written.rows && read->columns == written.columns, "size", text);
    require(read->missingFlag == written.missingFlag, "missing flag", text);
    require(read->elevationUnit == written.elevationUnit, "unit", text);
    const double precision = written.geographic() ? 5e-7 + 1e-12 : 0;  // half the last decimal
    for (const auto& [back, sent] :
         {std::pair{read->left, written.left}, std::pair{read->right, written.right},
          std::pair{read->lower, written.lower}, std::pair{read->upper, written.upper}}) {
        require(std::fabs(back - sent) <= precision, "a corner", text);
    }
    return 0;
}

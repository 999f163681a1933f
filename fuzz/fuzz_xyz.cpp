// Reads the input as XYZ points: as text, as binary records, and as the test for printable
// numbers that chooses between them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "importers/XyzPoints.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    (void)tavrok::importers::holdsTextNumbers(input);
    (void)tavrok::importers::ParseXyzText(input);
    (void)tavrok::importers::ParseXyzBinary(input);
    return 0;
}

// Feeds arbitrary bytes to the USGS ASCII DEM reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "importers/UsgsDemReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto record = tavrok::importers::ReadUsgsDem(text, {});
    if (record &&
        record->grid.cells().size() != static_cast<std::size_t>(record->rows) * record->columns) {
        __builtin_trap();
    }
    return 0;
}

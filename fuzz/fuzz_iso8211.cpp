// Feeds arbitrary bytes to the ISO 8211 reader and walks every subfield it yields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "importers/Iso8211Module.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto module = tavrok::importers::Iso8211Module::FromBytes(
        std::string(reinterpret_cast<const char*>(data), size));
    if (!module) {
        return 0;
    }
    tavrok::importers::Iso8211Subfield subfield;
    std::size_t bytes = 0;
    for (int pass = 0; pass < 2; ++pass) {
        module->ReadDescriptive();
        while (module->NextSubfield(subfield)) {
            bytes += subfield.value.size() + module->SubfieldInfo().label.size();
            // Every value lies inside the input.
            if (subfield.value.size() > size) {
                __builtin_trap();
            }
        }
    }
    module->Close();
    return bytes == static_cast<std::size_t>(-1) ? 1 : 0;
}

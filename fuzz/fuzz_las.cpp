// Reads the input as a LAS file: its header, its projection keys and every point section.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "importers/LasReader.h"

namespace {

const std::filesystem::path& ScratchFile() {
    static const std::filesystem::path file = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_las_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data())) / "cloud.las";
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& file = ScratchFile();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    auto record = tavrok::importers::ReadLasHeader(file);
    if (record) {
        // Small sections make the fuzzer walk the section loop too.
        (void)tavrok::importers::ForEachLasSection(
            *record, [](auto, std::uint64_t) { return true; }, 7);
    }
    return 0;
}

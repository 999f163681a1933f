// Reads the input as an SRTM ".bil" grid with its ".hdr" and ".blw" side files (the input is
// split at the first two 0xFF bytes), or as a ".hgt" tile when the first byte is odd.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "importers/SrtmImporter.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz_srtm_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto& folder = ScratchFolder();
    if (data[0] & 1) {
        const auto tile = folder / "S12E045.hgt";
        Write(tile, input);
        (void)tavrok::importers::LoadSrtmFiles({tile}, {});
        return 0;
    }
    const auto first = input.find('\xff');
    const auto second = first == std::string_view::npos ? first : input.find('\xff', first + 1);
    if (second == std::string_view::npos) {
        return 0;
    }
    Write(folder / "grid.hdr", input.substr(0, first));
    Write(folder / "grid.blw", input.substr(first + 1, second - first - 1));
    Write(folder / "grid.bil", input.substr(second + 1));
    const auto grid = folder / "grid.bil";
    (void)tavrok::importers::LoadSrtmFiles({grid, grid}, {});
    return 0;
}

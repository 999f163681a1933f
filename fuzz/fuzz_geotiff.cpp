// Converts the input as a GeoTIFF elevation raster and builds the terrain from the grid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "importers/GeoTiffDemImporter.h"
#include "importers/RawMatrixBuilder.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz_gtif_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto tiff = ScratchFolder() / "input.tif";
    std::ofstream(tiff, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    auto grid = tavrok::importers::ConvertGeoTiffDem(tiff, ScratchFolder(), {});
    if (grid) {
        (void)tavrok::importers::BuildRawMatrix(grid->gridFile, grid->description, true, {});
    }
    return 0;
}

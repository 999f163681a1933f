// Feeds arbitrary bytes to the matrix header reader; a header that parses is then loaded with a
// small data file made from the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "importers/MatrixHeader.h"
#include "importers/MatrixImporter.h"

namespace {

// Headers asking for more samples than this are only parsed.
constexpr long long largestLoadedGrid = 4096;

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_hdr_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t written = 0; written < size && !bytes.empty(); written += bytes.size()) {
        out.write(bytes.data(),
                  static_cast<std::streamsize>(std::min(bytes.size(), size - written)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto header = tavrok::importers::ParseMatrixHeader(text);
    if (!header || !header->validate()) {
        return 0;
    }
    const auto samples = static_cast<long long>(header->rows) * header->columns;
    if (samples > largestLoadedGrid) {
        return 0;
    }
    const auto& folder = ScratchFolder();
    WriteFile(folder / "fuzz.hdr", text, text.size());
    const std::size_t bytesPerSample =
        header->encoding == tavrok::importers::MatrixEncoding::Float32 ? 4 : 2;
    WriteFile(folder / "fuzz.bin", text, static_cast<std::size_t>(samples) * bytesPerSample);
    tavrok::importers::LoadMatrixFiles({folder / "fuzz.bin"}, folder, {});
    return 0;
}

// Feeds arbitrary bytes to the tar reader (gzip-wrapped when they start with its magic) and
// checks that nothing was written beside the extraction folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "importers/GzipInflate.h"
#include "importers/TarReader.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_tar_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const auto box = ScratchFolder() / "box";
    const auto folder = box / "in";
    std::error_code ignored;
    fs::remove_all(box, ignored);
    fs::create_directories(folder);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tavrok::importers::ExtractionLimits limits{1 << 20, 64, 1 << 16, 100};
    tavrok::importers::MemorySource raw(bytes);
    const tavrok::importers::InflationLimits inflation{limits.maximumBytes, limits.ratioFreeBytes,
                                                       limits.maximumRatio};
    tavrok::importers::GzipSource inflated(raw, inflation);
    tavrok::importers::ByteSource& tar = tavrok::importers::IsGzip(bytes)
                                             ? static_cast<tavrok::importers::ByteSource&>(inflated)
                                             : raw;
    tavrok::importers::ExtractedFiles extracted;
    (void)tavrok::importers::ExtractTarStream(tar, folder, limits, extracted);
    for (const auto& entry : fs::directory_iterator(box)) {
        if (entry.path() != folder) {
            __builtin_trap();
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_symlink()) {
            __builtin_trap();
        }
    }
    return 0;
}

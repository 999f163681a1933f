// Names a file after the input's first line (letters, digits, dots and underscores kept) and
// writes the rest into it, optionally with a ".hdr" beside it when the name's first byte is odd;
// then every importer's identify looks at it. Identification must never fail or crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "importers/Registry.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz_registry_XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

std::string SafeName(std::string_view line) {
    std::string name;
    for (const char c : line.substr(0, 40)) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '_';
        if (kept) {
            name += c;
        }
    }
    return name.empty() || name == "." || name == ".." ? std::string("unnamed") : name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto lineEnd = input.find('\n');
    const auto name = SafeName(input.substr(0, lineEnd));
    const auto contents =
        lineEnd == std::string_view::npos ? std::string_view{} : input.substr(lineEnd + 1);
    const auto file = ScratchFolder() / name;
    std::ofstream(file, std::ios::binary)
        .write(contents.data(), static_cast<std::streamsize>(contents.size()));
    auto header = file;
    header.replace_extension(".hdr");
    if (!input.empty() && (data[0] & 1) != 0 && header != file) {
        std::ofstream(header, std::ios::binary) << "file_title = fuzz\n";
    }
    const auto probe = tavrok::importers::ProbeFile(file);
    for (const auto& importer : tavrok::importers::Importers()) {
        (void)importer.identify(probe);
    }
    (void)tavrok::importers::identifyFiles({file});
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
    std::filesystem::create_directory(ScratchFolder(), ignored);
    return 0;
}

// Loads fuzzed files the way `tavrok-cli info` and `render` do: the importer is chosen from the
// files' names, the import runs through the shell, and a loaded terrain is drawn as a small
// overhead map. The first byte picks the kind of file (and whether two files are merged, or the
// parts travel inside a gzip-compressed tar); the rest is split at "@@" into the parts:
//   matrix: NAME.hdr, NAME.bin      bil: N45W122.hdr, N45W122.bil    dem, tif, hgt: one file
//   gz: a.dem.gz                    tgz: members "NAME\nCONTENTS" of a.tar.gz
// With the merge bit set, the parts after the first file's make a second file of the same kind.
#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "shell/AppState.h"
#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"
#include "support/ScriptedUi.h"

namespace {

namespace fs = std::filesystem;

struct Kind {
    std::string_view name;
    int partsPerFile;
    std::array<std::string_view, 2> firstNames;   // one per part of the first file
    std::array<std::string_view, 2> secondNames;  // the same for the second file of a merge
};

constexpr std::array kinds{
    Kind{"matrix", 2, {"a.hdr", "a.bin"}, {"b.hdr", "b.bin"}},
    Kind{"bil", 2, {"N45W122.hdr", "N45W122.bil"}, {"N45W121.hdr", "N45W121.bil"}},
    Kind{"dem", 1, {"a.dem"}, {"b.dem"}},
    Kind{"tif", 1, {"a.tif"}, {"b.tif"}},
    Kind{"hgt", 1, {"N45W122.hgt"}, {"N45W121.hgt"}},
    Kind{"gz", 1, {"a.dem"}, {"b.dem"}},
    Kind{"tgz", 0, {}, {}},
};

const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzz_load_XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    return folder;
}

std::vector<std::string_view> splitParts(std::string_view input) {
    std::vector<std::string_view> parts;
    for (auto at = input.find("@@"); at != std::string_view::npos; at = input.find("@@")) {
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + 2);
    }
    parts.push_back(input);
    return parts;
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string gzipped(std::string_view bytes) {
    z_stream stream{};
    deflateInit2(&stream, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// One ustar member: the name as given (an attack on the unpacker is part of the game).
void appendTarMember(std::string& tar, std::string_view name, std::string_view contents) {
    std::array<char, 512> header{};
    std::memcpy(header.data(), name.data(), std::min<std::size_t>(name.size(), 99));
    std::snprintf(header.data() + 100, 8, "%07o", 0644);
    std::snprintf(header.data() + 124, 12, "%011zo", contents.size());
    std::memcpy(header.data() + 148, "        ", 8);
    header[156] = '0';
    std::memcpy(header.data() + 257, "ustar", 6);
    unsigned checksum = 0;
    for (const char c : header) {
        checksum += static_cast<unsigned char>(c);
    }
    std::snprintf(header.data() + 148, 8, "%06o", checksum);
    tar.append(header.data(), header.size());
    tar.append(contents);
    tar.append((512 - contents.size() % 512) % 512, '\0');
}

std::vector<fs::path> writeTarGz(const std::vector<std::string_view>& parts) {
    std::string tar;
    for (const auto part : parts) {
        const auto lineEnd = part.find('\n');
        const auto name = part.substr(0, lineEnd);
        appendTarMember(tar, name.empty() ? "member" : name,
                        lineEnd == std::string_view::npos ? "" : part.substr(lineEnd + 1));
    }
    tar.append(1024, '\0');
    const auto archive = scratchFolder() / "a.tar.gz";
    writeBytes(archive, gzipped(tar));
    return {archive};
}

std::vector<fs::path> writeFiles(const Kind& kind, const std::vector<std::string_view>& parts,
                                 bool merge) {
    if (kind.partsPerFile == 0) {
        return writeTarGz(parts);
    }
    std::vector<fs::path> files;
    const int fileCount = merge ? 2 : 1;
    for (int file = 0; file < fileCount; ++file) {
        const auto& names = file == 0 ? kind.firstNames : kind.secondNames;
        for (int part = 0; part < kind.partsPerFile; ++part) {
            const auto index = static_cast<std::size_t>(file * kind.partsPerFile + part);
            const auto bytes = index < parts.size() ? parts[index] : std::string_view{};
            auto path = scratchFolder() / names[static_cast<std::size_t>(part)];
            if (kind.name == "gz") {
                path += ".gz";
                writeBytes(path, gzipped(bytes));
            } else {
                writeBytes(path, bytes);
            }
            files.push_back(path);
        }
    }
    return files;
}

// The files a user would name: the data files, not the headers beside them.
std::vector<fs::path> namedFiles(const Kind& kind, const std::vector<fs::path>& written) {
    if (kind.partsPerFile < 2) {
        return written;
    }
    std::vector<fs::path> named;
    for (std::size_t index = 1; index < written.size(); index += 2) {
        named.push_back(written[index]);
    }
    return named;
}

void loadAndDraw(const std::vector<fs::path>& files) {
    tavrok::shell::AppState state;
    state.shell.tempDir = scratchFolder() / "run";
    fs::create_directories(state.shell.tempDir);
    state.overhead.batch = true;
    state.overhead.latLonGrid = false;
    state.map.clientWidth = 96;
    state.map.clientHeight = 64;
    tavrok::support::ScriptedUi ui;
    const auto request = tavrok::shell::loadRequestForFiles(files);
    if (tavrok::shell::runImport(state, ui, request) == tavrok::shell::CommandStatus::Done) {
        (void)tavrok::shell::refreshViews(state, ui);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto& kind = kinds[data[0] % kinds.size()];
    const bool merge = (data[0] & 0x80) != 0;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto written = writeFiles(kind, splitParts(input), merge);
    loadAndDraw(namedFiles(kind, written));
    std::error_code ignored;
    fs::remove_all(scratchFolder(), ignored);
    fs::create_directory(scratchFolder(), ignored);
    return 0;
}

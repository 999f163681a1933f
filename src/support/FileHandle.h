#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace tavrok::support {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open C file that is closed when the handle goes. A writer that must know whether the
// data reached the disk calls closeChecked() instead of letting the handle go.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Binary mode; null when the file cannot be opened. Reading never blocks on a FIFO or a
// device: only regular files are opened for reading.
FileHandle openForReading(const std::filesystem::path& path);
FileHandle openForWriting(const std::filesystem::path& path);

// Closes the file and reports whether every buffered byte was written.
bool closeChecked(FileHandle& file);

// Size in bytes; empty when the file cannot be examined.
std::optional<std::uint64_t> fileSizeOf(const std::filesystem::path& path);

}  // namespace tavrok::support

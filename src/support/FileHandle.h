#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "support/Result.h"

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

// The file and the system's reason, as the user reads it: "/data/a.hgt: Permission denied".
std::string systemCause(const std::filesystem::path& path, int errorNumber);
// Why openForReading fails for this file, in the form above ("...: Is a directory" for a
// folder, "...: not a regular file" for a FIFO or a device); empty when it opens now.
std::string readProblem(const std::filesystem::path& path);

// The error for a file that cannot be read, its cause filled in from readProblem.
Error unreadable(ErrorCode code, const std::filesystem::path& path);

// Size in bytes; empty when the file cannot be examined.
std::optional<std::uint64_t> fileSizeOf(const std::filesystem::path& path);

}  // namespace tavrok::support

#include "support/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavrok::support {

FileHandle openForReading(const std::filesystem::path& path) {
    // O_NONBLOCK keeps open() from waiting for a writer on a FIFO; anything that is not a
    // regular file is refused before a byte is read.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    FileHandle file(::fdopen(descriptor, "rb"));
    if (!file) {
        ::close(descriptor);
    }
    return file;
}

std::string systemCause(const std::filesystem::path& path, int errorNumber) {
    return path.string() + ": " + std::strerror(errorNumber);
}

std::string readProblem(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return systemCause(path, errno);
    }
    struct stat status {};
    const bool examined = ::fstat(descriptor, &status) == 0;
    const int examineError = errno;
    ::close(descriptor);
    if (!examined) {
        return systemCause(path, examineError);
    }
    if (S_ISDIR(status.st_mode)) {
        return systemCause(path, EISDIR);
    }
    return S_ISREG(status.st_mode) ? std::string() : path.string() + ": not a regular file";
}

Error unreadable(ErrorCode code, const std::filesystem::path& path) {
    return Error{code, path.string(), readProblem(path)};
}

FileHandle openForWriting(const std::filesystem::path& path) {
    return FileHandle(std::fopen(path.c_str(), "wb"));
}

bool closeChecked(FileHandle& file) {
    if (!file) {
        return false;
    }
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    return std::fclose(file.release()) == 0 && flushed;
}

std::optional<std::uint64_t> fileSizeOf(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    return size;
}

}  // namespace tavrok::support

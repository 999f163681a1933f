#pragma once
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/FileHandle.h"
#include "support/Result.h"

namespace tavrok::importers {

// Bytes handed out a piece at a time, so that an archive of any size passes through a small
// buffer on its way to the disk.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Fills up to size bytes of buffer and says how many it filled; 0 only at the end.
    virtual support::Result<std::size_t> read(char* buffer, std::size_t size) = 0;
};

// Bytes already in memory.
class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    support::Result<std::size_t> read(char* buffer, std::size_t size) override {
        const auto count = std::min(size, m_bytes.size());
        std::copy_n(m_bytes.data(), count, buffer);
        m_bytes.remove_prefix(count);
        return count;
    }

  private:
    std::string_view m_bytes;
};

// A regular file read from its start. Errors: CannotOpenFile when it cannot be opened (or is
// not a regular file), FileError when reading fails.
class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::filesystem::path& path)
        : m_path(path), m_file(support::openForReading(path)) {}
    bool opened() const { return m_file != nullptr; }
    support::Result<std::size_t> read(char* buffer, std::size_t size) override {
        if (!m_file) {
            return support::Error{support::ErrorCode::CannotOpenFile, m_path.string()};
        }
        const auto count = std::fread(buffer, 1, size, m_file.get());
        if (count == 0 && std::ferror(m_file.get())) {
            return support::Error{support::ErrorCode::FileError,
                                  "reading " + m_path.string() + ": " + std::strerror(errno)};
        }
        return count;
    }

  private:
    std::filesystem::path m_path;
    support::FileHandle m_file;
};

// Bytes read back in front of the rest of a source: a header that was looked at first.
class RewoundSource final : public ByteSource {
  public:
    RewoundSource(std::string head, ByteSource& rest) : m_head(std::move(head)), m_rest(rest) {}
    support::Result<std::size_t> read(char* buffer, std::size_t size) override {
        if (m_used == m_head.size()) {
            return m_rest.read(buffer, size);
        }
        const auto count = std::min(size, m_head.size() - m_used);
        std::copy_n(m_head.data() + m_used, count, buffer);
        m_used += count;
        return count;
    }

  private:
    std::string m_head;
    std::size_t m_used = 0;
    ByteSource& m_rest;
};

// Reads until size bytes arrived or the source ended; the count tells which.
inline support::Result<std::size_t> ReadFully(ByteSource& source, char* buffer, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        auto count = source.read(buffer + filled, size - filled);
        if (!count) {
            return count.error();
        }
        if (*count == 0) {
            break;
        }
        filled += *count;
    }
    return filled;
}

}  // namespace tavrok::importers

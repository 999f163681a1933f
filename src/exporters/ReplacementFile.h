#pragma once
#include <cstdio>
#include <filesystem>

#include "support/FileHandle.h"
#include "support/Result.h"

namespace tavrok::exporters {

// A file written under a fresh hidden name beside its target and renamed onto the target only
// once it is complete, so that a failed save leaves no partial file and an existing file is
// replaced only by a whole one. The temporary is removed unless the commit succeeded.
class ReplacementFile {
  public:
    // Creates the empty temporary in the target's folder (permissions as the umask allows).
    // Fails with `openFailure` when the folder takes no new file.
    static support::Result<ReplacementFile> create(const std::filesystem::path& target,
                                                   support::ErrorCode openFailure);

    ReplacementFile(ReplacementFile&& other) noexcept;
    ReplacementFile& operator=(ReplacementFile&& other) noexcept;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    const std::filesystem::path& target() const { return m_target; }
    // The temporary, open for binary writing; null after closeStream().
    std::FILE* stream() const { return m_stream.get(); }
    // For writers whose library opens the temporary by name: closes our stream, keeps the file.
    void closeStream() { m_stream.reset(); }

    // Flushes and closes the stream, checking that every byte reached the file. Fails with
    // CannotWriteFile, removing the temporary. A writer of several files finishes them all
    // before it commits any.
    support::Status finish();
    // Finishes the stream (when still open) and renames the temporary onto the
    // target. Fails with CannotWriteFile when a byte did not reach the file or the rename
    // failed; the temporary is then removed and the target untouched.
    support::Status commit();

  private:
    ReplacementFile(std::filesystem::path target, std::filesystem::path temporary,
                    support::FileHandle stream);
    void discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;  // empty once committed or discarded
    support::FileHandle m_stream;
};

// Writes the whole block to the stream; false when the disk refused any of it.
inline bool writeAll(std::FILE* stream, const void* data, std::size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, stream) == bytes;
}

}  // namespace tavrok::exporters

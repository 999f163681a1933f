#include "exporters/ReplacementFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

namespace tavrok::exporters {

namespace {

using support::Error;
using support::ErrorCode;

// Names differ between processes (the id) and between saves of one process (the counter).
std::filesystem::path temporaryNameFor(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                      std::to_string(counter++) + "-" + std::to_string(attempt) + ".part";
    return target.parent_path() / name;
}

}  // namespace

ReplacementFile::ReplacementFile(std::filesystem::path target, std::filesystem::path temporary,
                                 support::FileHandle stream)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_stream(std::move(stream)) {}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_temporary(std::exchange(other.m_temporary, {})),
      m_stream(std::move(other.m_stream)) {}

ReplacementFile& ReplacementFile::operator=(ReplacementFile&& other) noexcept {
    if (this != &other) {
        discard();
        m_target = std::move(other.m_target);
        m_temporary = std::exchange(other.m_temporary, {});
        m_stream = std::move(other.m_stream);
    }
    return *this;
}

ReplacementFile::~ReplacementFile() {
    discard();
}

support::Result<ReplacementFile> ReplacementFile::create(const std::filesystem::path& target,
                                                         ErrorCode openFailure) {
    const auto folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    const auto absoluteTarget = folder / target.filename();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        auto temporary = temporaryNameFor(absoluteTarget, attempt);
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return Error{openFailure, target.string() + ": " + std::strerror(errno)};
        }
        support::FileHandle stream(::fdopen(descriptor, "wb"));
        if (!stream) {
            ::close(descriptor);
            std::filesystem::remove(temporary);
            return Error{openFailure, target.string()};
        }
        return ReplacementFile(absoluteTarget, std::move(temporary), std::move(stream));
    }
    return Error{openFailure, target.string() + ": no free temporary name"};
}

support::Status ReplacementFile::finish() {
    if (m_stream && !support::closeChecked(m_stream)) {
        const std::string reason = std::strerror(errno);
        discard();
        return Error{ErrorCode::CannotWriteFile, m_target.string() + ": " + reason};
    }
    return support::success();
}

support::Status ReplacementFile::commit() {
    if (auto finished = finish(); !finished) {
        return finished;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        discard();
        return Error{ErrorCode::CannotWriteFile, m_target.string() + ": " + reason};
    }
    m_temporary.clear();
    return support::success();
}

void ReplacementFile::discard() {
    m_stream.reset();
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
        m_temporary.clear();
    }
}

}  // namespace tavrok::exporters

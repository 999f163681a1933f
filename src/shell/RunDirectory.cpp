#include "shell/RunDirectory.h"

#include <stdlib.h>

#include <string>
#include <utility>

namespace tavrok::shell {

std::optional<RunDirectory> RunDirectory::createIn(const std::filesystem::path& base) {
    std::string pattern = (base / "tavrok-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    return RunDirectory(std::filesystem::path(pattern));
}

RunDirectory::RunDirectory(RunDirectory&& other) noexcept
    : m_path(std::exchange(other.m_path, {})) {}

RunDirectory& RunDirectory::operator=(RunDirectory&& other) noexcept {
    if (this != &other) {
        remove();
        m_path = std::exchange(other.m_path, {});
    }
    return *this;
}

RunDirectory::~RunDirectory() {
    remove();
}

// remove_all deletes links themselves, never what they point to.
void RunDirectory::remove() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
        m_path.clear();
    }
}

}  // namespace tavrok::shell

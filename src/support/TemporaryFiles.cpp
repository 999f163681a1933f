#include "support/TemporaryFiles.h"

#include <algorithm>

namespace tavrok::support {

void TemporaryFiles::remove(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
}

void TemporaryFiles::removeAll() {
    for (const auto& path : m_paths) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    m_paths.clear();
}

}  // namespace tavrok::support

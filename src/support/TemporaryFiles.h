#pragma once
#include <filesystem>
#include <vector>

namespace tavrok::support {

// Files a load or export creates on the way. They are deleted by removeAll(), or when the
// set is destroyed, so every early return cleans up; release() keeps one for the caller.
class TemporaryFiles {
  public:
    TemporaryFiles() = default;
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;
    TemporaryFiles(TemporaryFiles&& other) noexcept : m_paths(std::move(other.m_paths)) {
        other.m_paths.clear();
    }
    ~TemporaryFiles() { removeAll(); }

    void add(std::filesystem::path path) { m_paths.push_back(std::move(path)); }
    // Deletes one file now and stops tracking it.
    void remove(const std::filesystem::path& path);
    void removeAll();
    const std::vector<std::filesystem::path>& paths() const { return m_paths; }

  private:
    std::vector<std::filesystem::path> m_paths;
};

}  // namespace tavrok::support

#pragma once
#include <filesystem>
#include <optional>

namespace tavrok::shell {

// A folder private to one run of the program: a fresh, unguessable name made with mkdtemp
// (mode 0700) under a writable temporary directory, removed with everything in it when the
// object goes. Two programs running at once never share unpacked archives or intermediate
// grids, and nobody else can plant files or links in it. The run holds an exclusive lock on
// the folder while it lives, so a folder whose lock can be taken was left by a run that died.
class RunDirectory {
  public:
    // Under `base`; empty when the folder cannot be made there.
    static std::optional<RunDirectory> createIn(const std::filesystem::path& base);

    // Removes the run folders under `base` that a crashed run left: only real folders (never
    // links) with our name pattern, owned by this user, older than `minimumAge` seconds and
    // locked by no living run. Returns how many were removed.
    static int removeAbandonedIn(const std::filesystem::path& base, long minimumAge = 60);

    RunDirectory(RunDirectory&& other) noexcept;
    RunDirectory& operator=(RunDirectory&& other) noexcept;
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    ~RunDirectory();

    const std::filesystem::path& path() const { return m_path; }

  private:
    RunDirectory(std::filesystem::path path, int lock) : m_path(std::move(path)), m_lock(lock) {}
    void remove();

    std::filesystem::path m_path;
    int m_lock = -1;
};

}  // namespace tavrok::shell

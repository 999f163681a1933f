#pragma once
#include <filesystem>
#include <optional>

namespace tavrok::shell {

// A folder private to one run of the program: a fresh, unguessable name made with mkdtemp
// (mode 0700) under a writable temporary directory, removed with everything in it when the
// object goes. Two programs running at once never share unpacked archives or intermediate
// grids, and nobody else can plant files or links in it.
class RunDirectory {
  public:
    // Under `base`; empty when the folder cannot be made there.
    static std::optional<RunDirectory> createIn(const std::filesystem::path& base);

    RunDirectory(RunDirectory&& other) noexcept;
    RunDirectory& operator=(RunDirectory&& other) noexcept;
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    ~RunDirectory();

    const std::filesystem::path& path() const { return m_path; }

  private:
    explicit RunDirectory(std::filesystem::path path) : m_path(std::move(path)) {}
    void remove();

    std::filesystem::path m_path;
};

}  // namespace tavrok::shell

#include "shell/RunDirectory.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <utility>

namespace tavrok::shell {

namespace {

constexpr std::string_view namePrefix = "tavrok-";
constexpr std::size_t uniquePartLength = 6;  // the XXXXXX mkdtemp replaces

// The folder itself, opened without following a link, so that flock can hold it.
int openFolder(const std::filesystem::path& folder) {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool hasRunFolderName(const std::filesystem::path& folder) {
    const auto name = folder.filename().string();
    return name.size() == namePrefix.size() + uniquePartLength && name.starts_with(namePrefix);
}

// A real folder of this user's, unchanged for at least `minimumAge` seconds; lstat, so a link
// with our name is never taken for a folder.
bool isOldFolderOfOurs(const std::filesystem::path& folder, long minimumAge) {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return false;
    }
    return std::time(nullptr) - status.st_ctime >= minimumAge;
}

bool removeIfAbandoned(const std::filesystem::path& folder) {
    const int descriptor = openFolder(folder);
    if (descriptor < 0) {
        return false;
    }
    const bool abandoned = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    std::error_code error;
    if (abandoned) {
        std::filesystem::remove_all(folder, error);
    }
    ::close(descriptor);
    return abandoned && !error;
}

}  // namespace

std::optional<RunDirectory> RunDirectory::createIn(const std::filesystem::path& base) {
    std::string pattern = (base / namePrefix).string() + std::string(uniquePartLength, 'X');
    if (::mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    const int lock = openFolder(pattern);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        if (lock >= 0) {
            ::close(lock);
        }
        ::rmdir(pattern.c_str());
        return std::nullopt;
    }
    return RunDirectory(std::filesystem::path(pattern), lock);
}

int RunDirectory::removeAbandonedIn(const std::filesystem::path& base, long minimumAge) {
    std::error_code error;
    std::filesystem::directory_iterator entries(base, error);
    if (error) {
        return 0;
    }
    int removed = 0;
    for (const auto& entry : entries) {
        const auto& folder = entry.path();
        if (hasRunFolderName(folder) && isOldFolderOfOurs(folder, minimumAge) &&
            removeIfAbandoned(folder)) {
            ++removed;
        }
    }
    return removed;
}

RunDirectory::RunDirectory(RunDirectory&& other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_lock(std::exchange(other.m_lock, -1)) {}

RunDirectory& RunDirectory::operator=(RunDirectory&& other) noexcept {
    if (this != &other) {
        remove();
        m_path = std::exchange(other.m_path, {});
        m_lock = std::exchange(other.m_lock, -1);
    }
    return *this;
}

RunDirectory::~RunDirectory() {
    remove();
}

// remove_all deletes links themselves, never what they point to. The lock goes last, so no
// other run takes the folder for abandoned while it is being emptied.
void RunDirectory::remove() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
        m_path.clear();
    }
    if (m_lock >= 0) {
        ::close(m_lock);
        m_lock = -1;
    }
}

}  // namespace tavrok::shell

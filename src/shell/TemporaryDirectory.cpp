#include "shell/TemporaryDirectory.h"

#include <stdlib.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "support/FileHandle.h"
#include "support/Text.h"

namespace tavrok::shell {

int ProbeWritableDirectory(const std::filesystem::path& folder) {
    // A fresh name created exclusively: a file of the user's (a "test.txt", say) is never
    // opened, let alone overwritten and deleted.
    std::string probe = (folder / "tavrok-probe-XXXXXX").string();
    const int descriptor = ::mkstemp(probe.data());
    if (descriptor < 0) {
        return -1;
    }
    constexpr std::string_view contents = "test file";
    const bool written = ::write(descriptor, contents.data(), contents.size()) ==
                         static_cast<ssize_t>(contents.size());
    const bool closed = ::close(descriptor) == 0;
    ::unlink(probe.c_str());
    return written && closed ? 0 : -1;
}

namespace {

std::string normalisedForComparison(const std::filesystem::path& folder) {
    std::string text = folder.lexically_normal().string();
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) {
        text.pop_back();
    }
    return support::lowerCase(text);
}

bool isProtectedFolder(const std::filesystem::path& folder) {
    static constexpr std::array protectedFolders{
        std::string_view("c:"),          std::string_view("c:\\program files"),
        std::string_view("c:\\windows"), std::string_view("c:\\winnt"),
        std::string_view("/"),           std::string_view("/usr"),
        std::string_view("/bin"),        std::string_view("/etc"),
        std::string_view("/home"),       std::string_view("/tmp"),
    };
    const std::string candidate = normalisedForComparison(folder);
    if (candidate.empty() || candidate == "c:\\") {
        return true;
    }
    for (const auto folderName : protectedFolders) {
        if (candidate == folderName) {
            return true;
        }
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' && candidate == normalisedForComparison(home);
}

}  // namespace

int ClearDirectory(const std::filesystem::path& folder) {
    if (isProtectedFolder(folder)) {
        return 0;
    }
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return 0;
    }
    for (const auto& entry : entries) {
        std::error_code ignored;
        if (!entry.is_directory(ignored)) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
    return 1;
}

std::optional<std::filesystem::path> chooseTemporaryDirectory() {
    std::vector<std::filesystem::path> candidates;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0') {
        candidates.emplace_back(tmpdir);
    }
    candidates.emplace_back("/tmp");
    for (const auto& candidate : candidates) {
        if (!candidate.empty() && ProbeWritableDirectory(candidate) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<RunDirectory> makeRunDirectory() {
    const auto base = chooseTemporaryDirectory();
    if (!base) {
        return std::nullopt;
    }
    RunDirectory::removeAbandonedIn(*base);
    return RunDirectory::createIn(*base);
}

std::filesystem::path temporaryWorkDirectory(const AppState& state) {
    static const auto processFolder = makeRunDirectory();
    auto base = state.shell.tempDir;
    if (base.empty() && processFolder) {
        base = processFolder->path();
    }
    if (base.empty()) {
        return {};
    }
    const auto folder = base / "tavrok_temp";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace tavrok::shell

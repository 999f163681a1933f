#include "TestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace tavrok::test {

void TemporaryFolderTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    m_folder = std::filesystem::temp_directory_path() /
               ("tavrok_test_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                std::to_string(random()));
    std::filesystem::create_directories(m_folder);
}

void TemporaryFolderTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::filesystem::path TemporaryFolderTest::writeFile(std::string_view name,
                                                     std::string_view contents) const {
    return writeBinary(name, contents.data(), contents.size());
}

std::filesystem::path TemporaryFolderTest::writeBinary(std::string_view name, const void* data,
                                                       std::size_t size) const {
    const auto file = m_folder / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

std::vector<std::string> TemporaryFolderTest::listFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_folder)) {
        names.push_back(std::filesystem::relative(entry.path(), m_folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string runCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    std::array<char, 4096> buffer{};
    std::size_t count = 0;
    while ((count = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) {
        output.append(buffer.data(), count);
    }
    const int status = pclose(pipe.release());
    EXPECT_EQ(status, 0) << "command failed: " << command;
    return output;
}

bool haveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::filesystem::path sharedData(std::string_view relative) {
    return std::filesystem::path(sharedTestData) / relative;
}

void putSample(const std::filesystem::path& file, std::uintmax_t fileBytes, std::uint64_t index,
               std::int16_t value, bool bigEndian) {
    if (!std::filesystem::exists(file)) {
        std::ofstream(file, std::ios::binary).close();
        std::filesystem::resize_file(file, fileBytes);
    }
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(index * 2));
    const auto word = static_cast<std::uint16_t>(value);
    out.put(static_cast<char>(bigEndian ? word >> 8 : word & 0xff));
    out.put(static_cast<char>(bigEndian ? word & 0xff : word >> 8));
    EXPECT_TRUE(out.good()) << file;
}

}  // namespace tavrok::test

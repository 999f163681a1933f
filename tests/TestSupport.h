#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "TestPaths.h"

namespace tavrok::test {

// A fresh private folder per test, removed afterwards; tests never share files.
class TemporaryFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path path(std::string_view name) const { return m_folder / name; }
    const std::filesystem::path& folder() const { return m_folder; }
    // Writes bytes or text to a file in the folder and returns its path.
    std::filesystem::path writeFile(std::string_view name, std::string_view contents) const;
    std::filesystem::path writeBinary(std::string_view name, const void* data,
                                      std::size_t size) const;
    // Names of the files the folder holds now, sorted.
    std::vector<std::string> listFolder() const;

  private:
    std::filesystem::path m_folder;
};

// Runs a shell command and returns its standard output; fails the test on a non-zero exit.
std::string runCommand(const std::string& command);
// True when a program is on PATH (the GDAL and PROJ oracles may be absent on a bare machine).
bool haveProgram(const std::string& name);
std::filesystem::path sharedData(std::string_view relative);
// Writes one 16-bit sample (index counted in samples) into a tile file, first creating it
// sparse, all zero, of fileBytes bytes when it does not exist.
void putSample(const std::filesystem::path& file, std::uintmax_t fileBytes, std::uint64_t index,
               std::int16_t value, bool bigEndian);

}  // namespace tavrok::test

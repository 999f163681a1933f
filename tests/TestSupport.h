#pragma once
#include <gtest/gtest.h>
#include <sys/resource.h>

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

// The whole contents of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);
// Runs a shell command and returns its standard output; fails the test on a non-zero exit.
std::string runCommand(const std::string& command);
// True when a program is on PATH (the GDAL and PROJ oracles may be absent on a bare machine).
bool haveProgram(const std::string& name);
std::filesystem::path sharedData(std::string_view relative);
// Writes one 16-bit sample (index counted in samples) into a tile file, first creating it
// sparse, all zero, of fileBytes bytes when it does not exist.
void putSample(const std::filesystem::path& file, std::uintmax_t fileBytes, std::uint64_t index,
               std::int16_t value, bool bigEndian);

// What GDAL makes of a raster: its size, geotransform (outer corner of the first pixel and the
// pixel size, negative in y when rows run north to south), the EPSG code of its coordinate
// system (0 when it names none) and that system as WKT, the first band's type and no-data
// value, and every first-band sample as a float, rows as GDAL orders them. The samples pass
// through a raw file at scratch.
struct GdalView {
    int columns = 0;
    int rows = 0;
    double originX = 0, originY = 0;
    double pixelX = 0, pixelY = 0;
    int epsg = 0;
    std::string wkt;
    std::string type;
    bool hasNoData = false;
    double noData = 0;
    std::vector<float> samples;

    float at(int column, int row) const {
        return samples[static_cast<std::size_t>(row) * columns + column];
    }
};
GdalView ReadWithGdal(const std::filesystem::path& raster, const std::filesystem::path& scratch);

// While it lives, writes beyond `bytes` fail with EFBIG as on a full disk (SIGXFSZ ignored).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
};

}  // namespace tavrok::test

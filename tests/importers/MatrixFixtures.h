#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tavrok::test {

// The settings of a matrix header as our own writer lays them out; tests change single values.
struct MatrixHeaderText {
    std::string title = "Test Matrix";
    std::string format = "float32";
    std::string dataType = "height";
    std::string projection = "UTM Zone 13 N";
    std::string ellipsoid = "NAD27";
    int rows = 3;
    int columns = 4;
    std::string left = "500000";
    std::string right = "500090";
    std::string upper = "4400060";
    std::string lower = "4400000";
    std::string missingFlag = "-9999";
    std::string unit = "meters";

    std::string text() const;
};

// A private folder with helpers that write matrix pairs (".bin" data and ".hdr" header) and a
// separate folder for the importer's temporary files.
class MatrixFolderTest : public TemporaryFolderTest {
  protected:
    void SetUp() override;

    std::filesystem::path writeFloatMatrix(const std::string& name, const MatrixHeaderText& header,
                                           const std::vector<float>& samples) const;
    std::filesystem::path writeInt16Matrix(const std::string& name, const MatrixHeaderText& header,
                                           const std::vector<std::int16_t>& samples) const;
    const std::filesystem::path& temporaries() const { return m_temporaries; }
    // Names of the files left in the temporaries folder.
    std::vector<std::string> leftoverTemporaries() const;

  private:
    std::filesystem::path m_temporaries;
};

}  // namespace tavrok::test

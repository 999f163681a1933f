#include "MatrixFixtures.h"

#include <iomanip>
#include <sstream>

namespace tavrok::test {

namespace {

void writeSetting(std::ostringstream& out, const std::string& key, const std::string& value) {
    out << std::left << std::setw(23) << key << "= " << value << "\r\n";
}

}  // namespace

std::string MatrixHeaderText::text() const {
    std::ostringstream out;
    writeSetting(out, "file_title", title);
    writeSetting(out, "data_format", format);
    writeSetting(out, "data_type", dataType);
    writeSetting(out, "map_projection", projection);
    writeSetting(out, "ellipsoid", ellipsoid);
    writeSetting(out, "left_map_x", left);
    writeSetting(out, "lower_map_y", lower);
    writeSetting(out, "right_map_x", right);
    writeSetting(out, "upper_map_y", upper);
    writeSetting(out, "number_of_rows", std::to_string(rows));
    writeSetting(out, "number_of_columns", std::to_string(columns));
    writeSetting(out, "elev_m_unit", unit);
    writeSetting(out, "elev_m_missing_flag", missingFlag);
    return out.str();
}

void MatrixFolderTest::SetUp() {
    TemporaryFolderTest::SetUp();
    m_temporaries = path("temporaries");
    std::filesystem::create_directories(m_temporaries);
}

std::filesystem::path MatrixFolderTest::writeFloatMatrix(const std::string& name,
                                                         const MatrixHeaderText& header,
                                                         const std::vector<float>& samples) const {
    writeFile(name + ".hdr", header.text());
    return writeBinary(name + ".bin", samples.data(), samples.size() * sizeof(float));
}

std::filesystem::path MatrixFolderTest::writeInt16Matrix(
    const std::string& name, const MatrixHeaderText& header,
    const std::vector<std::int16_t>& samples) const {
    writeFile(name + ".hdr", header.text());
    return writeBinary(name + ".bin", samples.data(), samples.size() * sizeof(std::int16_t));
}

std::vector<std::string> MatrixFolderTest::leftoverTemporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_temporaries)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

}  // namespace tavrok::test

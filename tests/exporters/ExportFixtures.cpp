#include "ExportFixtures.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include "shell/Dispatch.h"
#include "shell/TerrainLoading.h"

namespace tavrok::test {

namespace {

// "key = value" lines of a ".hdr", read without our own parser.
std::map<std::string, std::string> headerSettings(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::map<std::string, std::string> settings;
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        auto trim = [](std::string text) {
            text.erase(text.find_last_not_of(" \r") + 1);
            text.erase(0, text.find_first_not_of(' '));
            return text;
        };
        settings[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
    }
    return settings;
}

}  // namespace

std::filesystem::path WriteMatrixVrt(const std::filesystem::path& dataFile) {
    auto headerFile = dataFile;
    auto settings = headerSettings(headerFile.replace_extension(".hdr"));
    const int rows = std::stoi(settings["number_of_rows"]);
    const int columns = std::stoi(settings["number_of_columns"]);
    const double left = std::stod(settings["left_map_x"]);
    const double right = std::stod(settings["right_map_x"]);
    const double lower = std::stod(settings["lower_map_y"]);
    const double upper = std::stod(settings["upper_map_y"]);
    const double stepX = (right - left) / (columns - 1);
    const double stepY = (upper - lower) / (rows - 1);
    const bool int16 = settings["data_format"] == "int16";
    const int sampleBytes = int16 ? 2 : 4;
    const long lineBytes = static_cast<long>(columns) * sampleBytes;
    std::ostringstream vrt;
    vrt.precision(17);
    vrt << "<VRTDataset rasterXSize=\"" << columns << "\" rasterYSize=\"" << rows << "\">\n"
        << "  <GeoTransform>" << left - stepX / 2 << "," << stepX << ",0," << upper + stepY / 2
        << ",0," << -stepY << "</GeoTransform>\n"
        << "  <VRTRasterBand dataType=\"" << (int16 ? "Int16" : "Float32")
        << "\" band=\"1\" subClass=\"VRTRawRasterBand\">\n"
        << "    <SourceFilename relativeToVRT=\"1\">" << dataFile.filename().string()
        << "</SourceFilename>\n"
        // Stored south first: GDAL starts at the last stored row and steps back.
        << "    <ImageOffset>" << lineBytes * (rows - 1) << "</ImageOffset>\n"
        << "    <PixelOffset>" << sampleBytes << "</PixelOffset>\n"
        << "    <LineOffset>" << -lineBytes << "</LineOffset>\n"
        << "    <ByteOrder>LSB</ByteOrder>\n"
        << "    <NoDataValue>" << settings["elev_m_missing_flag"] << "</NoDataValue>\n"
        << "  </VRTRasterBand>\n</VRTDataset>\n";
    auto vrtFile = dataFile;
    vrtFile.replace_extension(".vrt");
    std::ofstream(vrtFile) << vrt.str();
    return vrtFile;
}

void ExportFolderTest::SetUp() {
    TemporaryFolderTest::SetUp();
    state.shell.tempDir = folder() / "work";
    std::filesystem::create_directories(state.shell.tempDir);
}

bool ExportFolderTest::load(const std::filesystem::path& file) {
    const auto status = shell::runImport(state, ui, shell::loadRequestForFiles({file}));
    EXPECT_EQ(status, shell::CommandStatus::Done) << file << " " << ui.messageTexts().size();
    return status == shell::CommandStatus::Done;
}

void ExportFolderTest::install(terrain::TerrainModel grid, terrain::TerrainHeader header) {
    state.document.replace(std::move(grid), std::move(header), {});
}

support::Status ExportFolderTest::save(std::string_view key, const std::filesystem::path& file,
                                       importers::MatrixEncoding encoding) {
    exporters::ExportRequest request;
    request.file = file;
    request.temporaryDirectory = state.shell.tempDir;
    request.matrixEncoding = encoding;
    return exporters::exporterFor(key)->save(terrain(), request, {});
}

terrain::Terrain SmallTerrain(int rows, int columns, const std::vector<float>& elevations) {
    terrain::Terrain made;
    made.grid = terrain::TerrainModel::create(rows, columns).value();
    double minimum = std::numeric_limits<double>::max();
    double maximum = std::numeric_limits<double>::lowest();
    for (const float value : elevations) {
        if (!std::isnan(value)) {
            minimum = std::min<double>(minimum, value);
            maximum = std::max<double>(maximum, value);
        }
    }
    auto cells = made.grid.cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i] = std::isnan(elevations[i]) ? terrain::missingCell
                                             : static_cast<float>(elevations[i] - minimum);
    }
    auto& header = made.header;
    header.rows = rows;
    header.columns = columns;
    header.projection = terrain::ProjectionKind::UTM;
    header.ellipsoid = geodesy::EllipsoidId::Wgs84;
    header.ellipsoidCode = 3;
    header.utmZone = 13;
    header.zoneText = "13N";
    header.westBound = 500000;
    header.southBound = 4400000;
    header.eastBound = 500000 + 30.0 * (columns - 1);
    header.northBound = 4400000 + 30.0 * (rows - 1);
    header.spacingX = header.spacingY = 30;
    header.minElevation = minimum;
    header.maxElevation = maximum;
    header.title = "Small";
    made.loaded = true;
    return made;
}

}  // namespace tavrok::test

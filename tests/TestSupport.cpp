#include "TestSupport.h"

#include <nlohmann/json.hpp>

#include <array>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
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

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
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

namespace {

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// The code of the outermost object of a WKT: an ID["EPSG",n] that closes the whole text.
int outermostEpsg(const std::string& wkt) {
    const auto at = wkt.rfind("ID[\"EPSG\",");
    if (at == std::string::npos) {
        return 0;
    }
    const auto end = wkt.find(']', at);
    const auto rest = wkt.find_first_not_of("] \n", end);
    return rest == std::string::npos && wkt.size() - end == 2 ? std::atoi(wkt.c_str() + at + 10)
                                                              : 0;
}

}  // namespace

GdalView ReadWithGdal(const std::filesystem::path& raster, const std::filesystem::path& scratch) {
    GdalView view;
    const auto info = nlohmann::json::parse(
        runCommand("GTIFF_SRS_SOURCE=EPSG gdalinfo -json " + quoted(raster) + " 2>/dev/null"));
    view.columns = info["size"][0];
    view.rows = info["size"][1];
    if (info.contains("geoTransform")) {
        const auto& transform = info["geoTransform"];
        view.originX = transform[0];
        view.pixelX = transform[1];
        view.originY = transform[3];
        view.pixelY = transform[5];
    }
    if (info.contains("coordinateSystem")) {
        view.wkt = info["coordinateSystem"].value("wkt", "");
        view.epsg = outermostEpsg(view.wkt);
    }
    const auto& band = info["bands"][0];
    view.type = band["type"];
    if (band.contains("noDataValue") && band["noDataValue"].is_number()) {
        view.hasNoData = true;
        view.noData = band["noDataValue"];
    }
    runCommand("gdal_translate -q -b 1 -of ENVI -ot Float32 " + quoted(raster) + " " +
               quoted(scratch));
    view.samples = std::vector<float>(static_cast<std::size_t>(view.columns) * view.rows);
    std::ifstream in(scratch, std::ios::binary);
    in.read(reinterpret_cast<char*>(view.samples.data()),
            static_cast<std::streamsize>(view.samples.size() * sizeof(float)));
    EXPECT_TRUE(in.good()) << raster;
    return view;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &m_saved), 0);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = m_saved;
    small.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_previousHandler);
}

}  // namespace tavrok::test

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "importers/CloudImporter.h"

namespace tavrok::importers {
namespace {

// A real airborne cloud gridded here and by gdal_grid's moving average over the same points,
// cells and reach: the two surfaces agree closely where both have a value.
class CloudGdalGridTest : public test::TemporaryFolderTest {};

TEST_F(CloudGdalGridTest, ARealCloudAgreesWithGdalGridsMovingAverage) {
    if (!test::haveProgram("gdal_grid")) {
        GTEST_SKIP() << "gdal_grid is not installed";
    }
    const double spacing = 2.0;
    const auto file = test::sharedData("las/pdal_sample_c_thin.las");
    auto loaded = LoadLasClouds(
        {file}, std::nullopt,
        [spacing](CloudSurvey& survey, bool) {
            survey.spacing = spacing;
            return true;
        },
        nullptr, nullptr);
    ASSERT_TRUE(loaded) << loaded.error().cause;
    const auto& header = loaded->header;

    auto record = ReadLasHeader(file);
    ASSERT_TRUE(record);
    std::ofstream csv(path("points.csv"));
    csv << "x,y,z\n";
    csv.precision(12);
    std::size_t count = 0;
    ASSERT_TRUE(ForEachLasSection(*record, [&](std::span<const CloudPoint> points, std::uint64_t) {
        for (const auto& point : points) {
            csv << point.x << ',' << point.y << ',' << point.z << '\n';
        }
        count += points.size();
        return true;
    }));
    csv.close();
    // The radius holds about 20 points at the cloud's density; it reaches that many cells.
    const double width = (header.columns - 1) * spacing;
    const double height = (header.rows - 1) * spacing;
    const double reach = std::sqrt(20.0 / (count / (width * height) * 3.14159)) * spacing;
    std::ofstream(path("points.vrt"))
        << "<OGRVRTDataSource><OGRVRTLayer name=\"points\"><SrcDataSource>"
        << path("points.csv").string()
        << "</SrcDataSource><GeometryType>wkbPoint</GeometryType>"
           "<GeometryField encoding=\"PointFromColumns\" x=\"x\" y=\"y\" z=\"z\"/>"
           "</OGRVRTLayer></OGRVRTDataSource>\n";
    std::ostringstream command;
    command.precision(12);
    command << "gdal_grid -q -zfield z -l points -a average:radius1=" << reach
            << ":radius2=" << reach << ":min_points=1:nodata=-9999 -txe "
            << header.originX - spacing / 2 << ' ' << header.maxX + spacing / 2 << " -tye "
            << header.originY - spacing / 2 << ' ' << header.maxY + spacing / 2 << " -outsize "
            << header.columns << ' ' << header.rows << " -ot Float64 " << path("points.vrt") << ' '
            << path("peer.tif") << " && gdal_translate -q -of XYZ " << path("peer.tif")
            << " /vsistdout/";
    std::istringstream cells(test::runCommand(command.str()));
    std::vector<double> differences;
    double x = 0, y = 0, value = 0;
    while (cells >> x >> y >> value) {
        const int column = static_cast<int>(std::lround((x - header.originX) / spacing));
        const int row = static_cast<int>(std::lround((y - header.originY) / spacing));
        ASSERT_TRUE(column >= 0 && column < header.columns && row >= 0 && row < header.rows);
        const float ours = loaded->grid.at(column, row);
        if (value != -9999 && !terrain::isMissing(ours)) {
            differences.push_back(std::abs(ours + header.minElevation - value));
        }
    }
    ASSERT_GT(differences.size(), static_cast<std::size_t>(header.rows * header.columns / 2));
    std::nth_element(differences.begin(), differences.begin() + differences.size() / 2,
                     differences.end());
    const double median = differences[differences.size() / 2];
    std::printf("median difference from gdal_grid -a average: %.3f m over %zu cells\n", median,
                differences.size());
    // The ground spans 29 m; distance weights pull a cell toward its nearest points where the
    // moving average does not.
    EXPECT_LT(median, 0.3);
}

}  // namespace
}  // namespace tavrok::importers

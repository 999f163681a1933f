#include "exporters/Registry.h"

#include <algorithm>
#include <array>

#include "exporters/FileFormatDialog.h"
#include "exporters/GeoTiffExporter.h"
#include "exporters/MatrixExporter.h"
#include "exporters/UsgsDemExporter.h"
#include "support/Text.h"

namespace tavrok::exporters {

namespace {

// The menu commands that save each format.
constexpr int saveUsgsDemCommand = 40097;
constexpr int saveTerrainMatrixCommand = 40103;
constexpr int saveGeoTiffDemCommand = 40108;

constexpr std::array<std::string_view, 1> usgsExtensions{".dem"};
constexpr std::array<std::string_view, 2> matrixExtensions{".bin", ".txt"};
constexpr std::array<std::string_view, 2> geoTiffExtensions{".tif", ".tiff"};

support::Status anyTerrain(const terrain::TerrainHeader&) {
    return support::success();
}

const std::array exporters{
    ExporterRecord{"usgs", saveUsgsDemCommand, usgsExtensions, refuseUsgsDem, true, SaveUsgsDem},
    ExporterRecord{"geotiff", saveGeoTiffDemCommand, geoTiffExtensions, refuseGeoTiff, true,
                   SaveGeoTiffDem},
    ExporterRecord{"matrix", saveTerrainMatrixCommand, matrixExtensions, anyTerrain, false,
                   SaveTerrainMatrix},
};

}  // namespace

std::string_view matrixExtension(importers::MatrixEncoding encoding) {
    return encoding == importers::MatrixEncoding::Ascii ? ".txt" : ".bin";
}

std::span<const ExporterRecord> Exporters() {
    return exporters;
}

const ExporterRecord* exporterFor(std::string_view key) {
    const auto found =
        std::find_if(exporters.begin(), exporters.end(),
                     [key](const ExporterRecord& record) { return record.key == key; });
    return found == exporters.end() ? nullptr : &*found;
}

const ExporterRecord* exporterForExtension(std::string_view extension) {
    const std::string lower = support::lowerCase(extension);
    const auto found = std::find_if(exporters.begin(), exporters.end(), [&](const auto& record) {
        return std::find(record.extensions.begin(), record.extensions.end(), lower) !=
               record.extensions.end();
    });
    return found == exporters.end() ? nullptr : &*found;
}

}  // namespace tavrok::exporters

#include "exporters/GeoTiffExporter.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "exporters/ExportedValues.h"
#include "exporters/ReplacementFile.h"
#include "importers/TiffFile.h"
#include "support/NumberText.h"

#include <geotiff/geovalues.h>
#include "terrain/UtmZoneDialog.h"

namespace tavrok::exporters {

namespace {

using geodesy::EllipsoidId;
using support::Error;
using support::ErrorCode;
using terrain::ProjectionKind;
using terrain::TerrainHeader;

constexpr int progressRows = 32;
constexpr short userDefined = 32767;

int geographicEpsgCode(EllipsoidId ellipsoid) {
    switch (ellipsoid) {
        case EllipsoidId::Clarke1866:
            return 4267;
        case EllipsoidId::Grs1980:
            return 4269;
        case EllipsoidId::Wgs72:
            return 4322;
        case EllipsoidId::Wgs84:
            return 4326;
        default:
            return 0;
    }
}

int utmEpsgCode(const TerrainHeader& header) {
    const int zone = header.utmZone;
    const bool north = header.hemisphere != 'S';
    switch (header.ellipsoid) {
        case EllipsoidId::Clarke1866:
            return north && zone >= 1 && zone <= 22 ? 26700 + zone : 0;
        case EllipsoidId::Grs1980:
            return north && zone >= 1 && zone <= 23 ? 26900 + zone : 0;
        case EllipsoidId::Wgs72:
            return (north ? 32200 : 32300) + zone;
        case EllipsoidId::Wgs84:
            return (north ? 32600 : 32700) + zone;
        default:
            return 0;
    }
}

struct TiffPlacement {
    std::array<double, 6> tiePoint{};
    std::array<double, 3> pixelScale{};
};

TiffPlacement placementOf(const TerrainHeader& header) {
    double west = header.westBound;
    double north = header.northBound;
    double stepX = header.spacingX;
    double stepY = header.spacingY;
    if (header.projection != ProjectionKind::UTM) {
        const auto corners = geographicCorners(header);
        west = corners.west;
        north = corners.north;
        stepX = (corners.east - corners.west) / (header.columns - 1);
        stepY = (corners.north - corners.south) / (header.rows - 1);
    }
    // Corners are sample centres; the tie point is the outer corner of the first pixel.
    return {{0, 0, 0, west - stepX / 2, north + stepY / 2, 0}, {stepX, stepY, 0}};
}

bool setKey(GTIF* keys, geokey_t key, int value) {
    return GTIFKeySet(keys, key, TYPE_SHORT, 1, static_cast<short>(value)) == 1;
}

// A geographic system the registry has no code for: the ellipsoid's own axes, Greenwich and
// degrees.
bool setOwnGeographicSystem(GTIF* keys, EllipsoidId ellipsoid) {
    const auto& record = geodesy::ellipsoidFor(ellipsoid);
    return setKey(keys, GeographicTypeGeoKey, userDefined) &&
           setKey(keys, GeogGeodeticDatumGeoKey, userDefined) &&
           setKey(keys, GeogEllipsoidGeoKey, userDefined) &&
           GTIFKeySet(keys, GeogSemiMajorAxisGeoKey, TYPE_DOUBLE, 1, record.semiMajorAxis) == 1 &&
           GTIFKeySet(keys, GeogSemiMinorAxisGeoKey, TYPE_DOUBLE, 1, record.semiMinorAxis()) == 1 &&
           setKey(keys, GeogPrimeMeridianGeoKey, 8901) &&
           setKey(keys, GeogAngularUnitsGeoKey, 9102);
}

bool setGeographicSystem(GTIF* keys, EllipsoidId ellipsoid) {
    const int code = geographicEpsgCode(ellipsoid);
    return code != 0 ? setKey(keys, GeographicTypeGeoKey, code)
                     : setOwnGeographicSystem(keys, ellipsoid);
}

bool setCoordinateKeys(GTIF* keys, const TerrainHeader& header) {
    const bool utm = header.projection == ProjectionKind::UTM;
    if (!setKey(keys, GTModelTypeGeoKey, utm ? ModelTypeProjected : ModelTypeGeographic) ||
        !setKey(keys, GTRasterTypeGeoKey, RasterPixelIsArea)) {
        return false;
    }
    if (!utm) {
        return setGeographicSystem(keys, header.ellipsoid);
    }
    if (const int code = utmEpsgCode(header); code != 0) {
        return setKey(keys, ProjectedCSTypeGeoKey, code);
    }
    // The zone's transverse Mercator by its conversion code, on the terrain's own datum.
    const int conversion = (header.hemisphere == 'S' ? 16100 : 16000) + header.utmZone;
    return setKey(keys, ProjectedCSTypeGeoKey, userDefined) &&
           setKey(keys, ProjectionGeoKey, conversion) &&
           setKey(keys, ProjLinearUnitsGeoKey, 9001) && setGeographicSystem(keys, header.ellipsoid);
}

bool setBaselineTags(TIFF* tiff, const TerrainHeader& header, float noData) {
    const std::string noDataText = support::shortestText(noData);
    const auto placement = placementOf(header);
    return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(header.columns)) &&
           TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(header.rows)) &&
           TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
           TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) &&
           TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 32) &&
           TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP) &&
           TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
           TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1) &&
           TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
           TIFFSetField(tiff, TIFFTAG_GEOTIEPOINTS, 6, placement.tiePoint.data()) &&
           TIFFSetField(tiff, TIFFTAG_GEOPIXELSCALE, 3, placement.pixelScale.data()) &&
           TIFFSetField(tiff, importers::gdalNoDataTag, noDataText.c_str());
}

support::Status writeRows(TIFF* tiff, const terrain::Terrain& terrain, float noData,
                          const support::ProgressCallback& progress) {
    const auto& grid = terrain.grid;
    const double minElevation = terrain.header.minElevation;
    std::vector<float> line(static_cast<std::size_t>(grid.columns()));
    // Image row 0 is the northern edge; the grid's row 0 is the southern one.
    for (int imageRow = 0; imageRow < grid.rows(); ++imageRow) {
        const auto cells = grid.row(grid.rows() - 1 - imageRow);
        for (std::size_t column = 0; column < line.size(); ++column) {
            line[column] = missingCell(cells[column])
                               ? noData
                               : absoluteElevation(cells[column], minElevation);
        }
        if (TIFFWriteScanline(tiff, line.data(), static_cast<std::uint32_t>(imageRow), 0) != 1) {
            return Error{ErrorCode::CannotWriteFile, "scanline " + std::to_string(imageRow)};
        }
        if (imageRow % progressRows == progressRows - 1 &&
            !support::reportProgress(progress, imageRow + 1, grid.rows())) {
            return Error{ErrorCode::OperationCancelled, "GeoTIFF save"};
        }
    }
    return support::success();
}

support::Status writeTiff(const std::filesystem::path& path, const terrain::Terrain& terrain,
                          const support::ProgressCallback& progress) {
    const auto& header = terrain.header;
    const float noData = geoTiffNoDataValue(header);
    importers::TiffHandle tiff = importers::OpenTiff(path, "w");
    if (!tiff) {
        return Error{ErrorCode::CannotOpenFile, path.string()};
    }
    {
        importers::GtifHandle keys(GTIFNew(tiff.get()));
        if (!keys || !setBaselineTags(tiff.get(), header, noData) ||
            !setCoordinateKeys(keys.get(), header) || GTIFWriteKeys(keys.get()) != 1) {
            return Error{ErrorCode::CannotWriteFile, "GeoTIFF tags"};
        }
    }
    if (auto written = writeRows(tiff.get(), terrain, noData, progress); !written) {
        return written;
    }
    if (TIFFFlush(tiff.get()) != 1) {
        return Error{ErrorCode::CannotWriteFile, "GeoTIFF directory"};
    }
    return support::success();
}

}  // namespace

support::Status refuseGeoTiff(const TerrainHeader& header) {
    if (header.planet == terrain::Planet::Mars && header.gridKind == terrain::gridKindSinusoidal) {
        return Error{ErrorCode::GeoTiffOfMola, {}};
    }
    if (header.gridKind == terrain::gridKindMarsPolar) {
        return Error{ErrorCode::GeoTiffOfMarsPolar, {}};
    }
    if (header.projection == ProjectionKind::Sinusoidal) {
        return Error{ErrorCode::GeoTiffOfSinusoidalProjection, {}};
    }
    return support::success();
}

int geoTiffEpsgCode(const TerrainHeader& header) {
    switch (header.projection) {
        case ProjectionKind::UTM:
            return utmEpsgCode(header);
        case ProjectionKind::LatLon:
            return geographicEpsgCode(header.ellipsoid);
        default:
            return 0;
    }
}

float geoTiffNoDataValue(const TerrainHeader& header) {
    const double flag = header.missingFlag;
    const bool holdable = flag >= header.minElevation && flag <= header.maxElevation;
    return holdable ? std::numeric_limits<float>::lowest() : static_cast<float>(flag);
}

support::Status SaveGeoTiffDem(const terrain::Terrain& terrain, const ExportRequest& request,
                               const support::ProgressCallback& progress) {
    if (auto refused = refuseGeoTiff(terrain.header); !refused) {
        return refused;
    }
    if (terrain::needsUtmZone(terrain.header)) {
        return Error{ErrorCode::IncorrectZone, "the terrain has no UTM zone"};
    }
    auto file = ReplacementFile::create(request.file, ErrorCode::CannotOpenFile);
    if (!file) {
        return file.error();
    }
    // libtiff opens the temporary by name and writes it through its own descriptor.
    file->closeStream();
    if (auto written = writeTiff(file->temporaryPath(), terrain, progress); !written) {
        return written;
    }
    return file->commit();
}

}  // namespace tavrok::exporters

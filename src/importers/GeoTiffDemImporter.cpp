#include "importers/GeoTiffDemImporter.h"

#include <geotiff/geo_normalize.h>
#include <geotiff/geotiff.h>
#include <geotiff/geovalues.h>
#include <geotiff/xtiffio.h>
#include <tiffio.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "importers/MatrixSamples.h"
#include "importers/TiffFile.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr float missingSample = -9999.0f;
constexpr std::uint64_t maxTileSamples = 1ull << 24;

// Deletes a file when it goes out of scope unless released.
class FileRemover {
  public:
    explicit FileRemover(std::filesystem::path path) : m_path(std::move(path)) {}
    ~FileRemover() {
        if (!m_path.empty()) {
            std::error_code ignored;
            std::filesystem::remove(m_path, ignored);
        }
    }
    FileRemover(const FileRemover&) = delete;
    FileRemover& operator=(const FileRemover&) = delete;
    void release() { m_path.clear(); }

  private:
    std::filesystem::path m_path;
};

struct RasterLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t sampleFormat = SAMPLEFORMAT_INT;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    std::optional<double> noData;
    bool noDataIsNan = false;

    std::size_t bytes() const { return bitsPerSample / 8; }
    // Samples between one pixel's first band and the next pixel's in a decoded buffer.
    std::size_t stride() const { return planar == PLANARCONFIG_CONTIG ? samplesPerPixel : 1; }
};

template <typename T>
T tagOr(TIFF* tiff, ttag_t tag, T fallback) {
    T value{};
    return TIFFGetField(tiff, tag, &value) == 1 ? value : fallback;
}

support::Result<RasterLayout> readLayout(TIFF* tiff) {
    RasterLayout layout;
    layout.width = tagOr<std::uint32_t>(tiff, TIFFTAG_IMAGEWIDTH, 0);
    layout.height = tagOr<std::uint32_t>(tiff, TIFFTAG_IMAGELENGTH, 0);
    layout.bitsPerSample = tagOr<std::uint16_t>(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    layout.sampleFormat = tagOr<std::uint16_t>(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
    layout.samplesPerPixel = tagOr<std::uint16_t>(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    layout.planar = tagOr<std::uint16_t>(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    layout.orientation = tagOr<std::uint16_t>(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (TIFFIsTiled(tiff)) {
        layout.tileWidth = tagOr<std::uint32_t>(tiff, TIFFTAG_TILEWIDTH, 0);
        layout.tileLength = tagOr<std::uint32_t>(tiff, TIFFTAG_TILELENGTH, 0);
    }
    char* noData = nullptr;
    if (TIFFGetField(tiff, gdalNoDataTag, &noData) == 1 && noData != nullptr) {
        char* end = nullptr;
        const double value = std::strtod(noData, &end);
        if (end != noData) {
            layout.noData = value;
            layout.noDataIsNan = std::isnan(value);
        }
    }
    if (layout.bitsPerSample != 16 && layout.bitsPerSample != 32) {
        return Error{ErrorCode::NotAGeoTiffDem, "bits per sample"};
    }
    if (layout.bitsPerSample == 32 && layout.sampleFormat != SAMPLEFORMAT_IEEEFP) {
        return Error{ErrorCode::NotAGeoTiffDem, "32-bit integers"};
    }
    if (layout.bitsPerSample == 16 && layout.sampleFormat == SAMPLEFORMAT_IEEEFP) {
        return Error{ErrorCode::NotAGeoTiffDem, "16-bit floats"};
    }
    if ((layout.tileWidth == 0) != (layout.tileLength == 0)) {
        return Error{ErrorCode::UnsupportedTiffFormat, "one tile dimension"};
    }
    const auto samples = static_cast<std::uint64_t>(layout.width) * layout.height;
    if (layout.width == 0 || layout.height == 0 || samples > geoTiffMaxSamples) {
        return Error{ErrorCode::NotEnoughMemory, "raster size " + std::to_string(samples)};
    }
    const auto tileSamples =
        static_cast<std::uint64_t>(layout.tileWidth) * layout.tileLength * layout.stride();
    if (tileSamples > maxTileSamples) {
        return Error{ErrorCode::NotEnoughMemory, "tile size " + std::to_string(tileSamples)};
    }
    return layout;
}

// Copies `count` first-band samples to `target` (float or int16), replacing NoData by -9999.
template <typename Sample>
void copyFirstBand(const Sample* source, std::size_t stride, std::size_t count,
                   const RasterLayout& layout, Sample* target) {
    // The NoData text as a sample of this type; none when it cannot be one.
    std::optional<Sample> noData;
    if (layout.noData && !layout.noDataIsNan &&
        *layout.noData >= static_cast<double>(std::numeric_limits<Sample>::lowest()) &&
        *layout.noData <= static_cast<double>(std::numeric_limits<Sample>::max())) {
        noData = static_cast<Sample>(*layout.noData);
    }
    for (std::size_t i = 0; i < count; ++i) {
        Sample value = source[i * stride];
        const bool missing = layout.noDataIsNan ? std::isnan(static_cast<double>(value))
                                                : noData && value == *noData;
        target[i] = missing ? static_cast<Sample>(missingSample) : value;
    }
}

void copySamples(const unsigned char* source, std::size_t count, const RasterLayout& layout,
                 unsigned char* target) {
    if (layout.bitsPerSample == 16) {
        copyFirstBand(reinterpret_cast<const std::int16_t*>(source), layout.stride(), count, layout,
                      reinterpret_cast<std::int16_t*>(target));
    } else {
        copyFirstBand(reinterpret_cast<const float*>(source), layout.stride(), count, layout,
                      reinterpret_cast<float*>(target));
    }
}

// Writes rows to the grid file little-endian.
bool writeRows(std::FILE* file, std::vector<unsigned char>& rows, const RasterLayout& layout) {
    if (littleEndianNeedsSwap) {
        if (layout.bitsPerSample == 16) {
            ReverseBytes({reinterpret_cast<std::uint16_t*>(rows.data()), rows.size() / 2});
        } else {
            ReverseBytes({reinterpret_cast<std::uint32_t*>(rows.data()), rows.size() / 4});
        }
    }
    return std::fwrite(rows.data(), 1, rows.size(), file) == rows.size();
}

support::Status copyStrips(TIFF* tiff, const RasterLayout& layout, std::FILE* out) {
    const tmsize_t lineSize = TIFFScanlineSize(tiff);
    const std::size_t needed =
        static_cast<std::size_t>(layout.width) * layout.stride() * layout.bytes();
    if (lineSize <= 0 || static_cast<std::size_t>(lineSize) < needed) {
        return Error{ErrorCode::FileError, "scanline size"};
    }
    std::vector<unsigned char> line(static_cast<std::size_t>(lineSize));
    std::vector<unsigned char> row(static_cast<std::size_t>(layout.width) * layout.bytes());
    for (std::uint32_t r = 0; r < layout.height; ++r) {
        if (TIFFReadScanline(tiff, line.data(), r, 0) < 0) {
            return Error{ErrorCode::FileError, "scanline " + std::to_string(r)};
        }
        copySamples(line.data(), layout.width, layout, row.data());
        if (!writeRows(out, row, layout)) {
            return Error{ErrorCode::FileError, "writing the grid"};
        }
    }
    return support::success();
}

// Reads one row of tiles at a time into a band of tileLength rows and writes the image part
// of it: padding right of and below the image is dropped.
support::Status copyTiles(TIFF* tiff, const RasterLayout& layout, std::FILE* out) {
    const tmsize_t tileSize = TIFFTileSize(tiff);
    const std::size_t needed = static_cast<std::size_t>(layout.tileWidth) * layout.tileLength *
                               layout.stride() * layout.bytes();
    if (tileSize <= 0 || static_cast<std::size_t>(tileSize) < needed) {
        return Error{ErrorCode::FileError, "tile size"};
    }
    std::vector<unsigned char> tile(static_cast<std::size_t>(tileSize));
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * layout.bytes();
    std::vector<unsigned char> band;
    for (std::uint32_t y = 0; y < layout.height; y += layout.tileLength) {
        const std::uint32_t bandRows = std::min(layout.tileLength, layout.height - y);
        band.assign(rowBytes * bandRows, 0);
        for (std::uint32_t x = 0; x < layout.width; x += layout.tileWidth) {
            if (TIFFReadTile(tiff, tile.data(), x, y, 0, 0) < 0) {
                return Error{ErrorCode::FileError,
                             "tile at " + std::to_string(x) + "," + std::to_string(y)};
            }
            const std::uint32_t tileColumns = std::min(layout.tileWidth, layout.width - x);
            for (std::uint32_t r = 0; r < bandRows; ++r) {
                const unsigned char* source = tile.data() + static_cast<std::size_t>(r) *
                                                                layout.tileWidth * layout.stride() *
                                                                layout.bytes();
                copySamples(
                    source, tileColumns, layout,
                    band.data() + r * rowBytes + static_cast<std::size_t>(x) * layout.bytes());
            }
        }
        if (!writeRows(out, band, layout)) {
            return Error{ErrorCode::FileError, "writing the grid"};
        }
        if (y > layout.height - layout.tileLength) {
            break;  // guards the addition against wrapping on the last band
        }
    }
    return support::success();
}

// Corner positions in pixel/line space, with their table names.
struct CornerPoint {
    const char* name;
    double x;
    double y;
};

// Appends "(<longitude>,<latitude>)" in degrees, minutes and seconds. Appending piece by
// piece, without temporaries joined by +, also keeps GCC 12 at -O3 from a false -Wrestrict.
void appendDegrees(std::string& table, const char* before, double longitude, double latitude,
                   const char* after) {
    table += before;
    table += GTIFDecToDMS(longitude, "Long", 2);
    table += ',';
    table += GTIFDecToDMS(latitude, "Lat", 2);
    table += after;
}

std::string cornerTable(GTIF* gtif, GTIFDefn* defn, const RasterLayout& layout, bool projected) {
    const double w = layout.width;
    const double h = layout.height;
    const CornerPoint points[] = {{"Upper Left", 0, 0},
                                  {"Lower Left", 0, h},
                                  {"Upper Right", w, 0},
                                  {"Lower Right", w, h},
                                  {"Center", w / 2, h / 2}};
    std::string table = "\nCorner Coordinates:\n";
    char line[256];
    for (const auto& point : points) {
        std::snprintf(line, sizeof line, "%-13s ", point.name);
        table += line;
        double x = point.x;
        double y = point.y;
        if (!GTIFImageToPCS(gtif, &x, &y)) {
            table += " ... unable to transform points between pixel/line and PCS space\n";
            continue;
        }
        if (projected) {
            std::snprintf(line, sizeof line, "(%11.3f,%11.3f)", x, y);
            table += line;
            double longitude = x;
            double latitude = y;
            if (defn->Model == ModelTypeProjected &&
                GTIFProj4ToLatLong(defn, 1, &longitude, &latitude)) {
                appendDegrees(table, "  (", longitude, latitude, ")");
            }
            table += "\n";
        } else {
            appendDegrees(table, "(", x, y, ")\n");
        }
    }
    return table;
}

// Ellipsoid and hemisphere of the UTM families, from the projected system's code.
struct UtmFamily {
    int hundreds;
    const char* datum;
    char hemisphere;
};
constexpr UtmFamily utmFamilies[] = {
    {267, "NAD27", 'N'}, {320, "NAD27", 'N'}, {269, "NAD83", 'N'}, {321, "NAD83", 'N'},
    {322, "WGS72", 'N'}, {324, "WGS72", 'N'}, {323, "WGS72", 'S'}, {325, "WGS72", 'S'},
    {326, "WGS84", 'N'}, {327, "WGS84", 'S'},
};

std::string readListing(const std::filesystem::path& path) {
    const auto file = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!file || !size) {
        return {};
    }
    auto text = ReadRest(file.get(), *size);
    return text ? std::move(text).value() : std::string{};
}

}  // namespace

support::Result<GeoTiffDemGrid> ConvertGeoTiffDem(const std::filesystem::path& tiffPath,
                                                  const std::filesystem::path& temporaryDirectory,
                                                  const RawMatrixDescription& previous) {
    {
        const auto probe = support::openForReading(tiffPath);
        char start[8] = {};
        if (!probe || std::fread(start, 1, sizeof start, probe.get()) < 2 ||
            !((start[0] == 'I' && start[1] == 'I') || (start[0] == 'M' && start[1] == 'M'))) {
            return probe ? Error{ErrorCode::GeoTiffFileError, tiffPath.string()}
                         : support::unreadable(ErrorCode::GeoTiffFileError, tiffPath);
        }
    }
    const TiffHandle tiff = OpenTiff(tiffPath, "r");
    if (!tiff) {
        return Error{ErrorCode::GeoTiffFileError, "libtiff cannot open " + tiffPath.string()};
    }
    const GeoKeys gtif(tiff.get());
    const GtifDefinitionHandle defn(GTIFAllocDefn());
    if (!gtif || !defn) {
        return Error{ErrorCode::FileError, "no GeoTIFF keys"};
    }
    const bool haveDefinition = GTIFGetDefn(gtif.get(), defn.get()) != 0;

    // The definition listing, kept as text for the user and removed from disk at once.
    const auto listingPath = temporaryDirectory / "GTIFDef.txt";
    std::string listing;
    {
        FileRemover removeListing(listingPath);
        FileHandle listingFile = support::openForWriting(listingPath);
        if (!listingFile) {
            return Error{ErrorCode::FileError, "cannot create listing",
                         support::systemCause(listingPath, errno)};
        }
        if (haveDefinition) {
            GTIFPrintDefnEx(gtif.get(), defn.get(), listingFile.get());
        }
        listingFile.reset();
        listing = readListing(listingPath);
    }
    auto layout = readLayout(tiff.get());
    if (!layout) {
        return layout.error();
    }
    short modelType = 0;
    GTIFKeyGet(gtif.get(), GTModelTypeGeoKey, &modelType, 0, 1);
    const bool projected = modelType == ModelTypeProjected;
    listing += cornerTable(gtif.get(), defn.get(), *layout, projected);
    if (modelType != ModelTypeProjected && modelType != ModelTypeGeographic && modelType != 0) {
        return Error{ErrorCode::FileError, "model type " + std::to_string(modelType)};
    }

    // With pixel-is-point the georeference names pixel centres, so the outer edges lie half a
    // pixel further out, as GDAL reads such rasters.
    short rasterType = RasterPixelIsArea;
    GTIFKeyGet(gtif.get(), GTRasterTypeGeoKey, &rasterType, 0, 1);
    const double shift = rasterType == RasterPixelIsPoint ? -0.5 : 0.0;
    double ulx = shift, uly = shift;
    double lrx = layout->width + shift, lry = layout->height + shift;
    if (!GTIFImageToPCS(gtif.get(), &ulx, &uly) || !GTIFImageToPCS(gtif.get(), &lrx, &lry)) {
        return Error{ErrorCode::FileError, "no pixel to model transformation"};
    }
    RawMatrixDescription description = previous;
    description.encoding =
        layout->bitsPerSample == 32 ? RawSampleEncoding::Float32 : RawSampleEncoding::Int16;
    description.byteOrder = RawByteOrder::LittleEndian;
    description.offsetBytes = 0;
    description.missingValue = -9999;
    description.columns = static_cast<int>(layout->width);
    description.rows = static_cast<int>(layout->height);
    description.columnOrder = RawColumnOrder::WestToEast;
    // A south-up georeference (y growing down the image) stores the southern row first, as
    // does the bottom-up Orientation; both together cancel.
    const bool southUpTransform = lry > uly;
    const bool bottomUpOrientation = layout->orientation == ORIENTATION_BOTLEFT;
    description.rowOrder = southUpTransform != bottomUpOrientation ? RawRowOrder::SouthToNorth
                                                                   : RawRowOrder::NorthToSouth;
    const double top = std::max(uly, lry);
    const double bottom = std::min(uly, lry);
    const double xSpacing = (lrx - ulx) / layout->width;
    const double ySpacing = (top - bottom) / layout->height;
    if (projected) {
        int datum = 0;
        int zone = 0;
        const int mapSystem = GTIFPCSToMapSys(defn->PCS, &datum, &zone);
        if (mapSystem != MapSys_UTM_North && mapSystem != MapSys_UTM_South) {
            return Error{ErrorCode::FileError, "not UTM: " + std::to_string(defn->PCS),
                         tiffPath.string() + ": its projection is not UTM"};
        }
        char hemisphere = mapSystem == MapSys_UTM_South ? 'S' : 'N';
        for (const auto& family : utmFamilies) {
            if (defn->PCS / 100 == family.hundreds) {
                description.ellipsoidText = family.datum;
                hemisphere = family.hemisphere;
            }
        }
        description.coordinateSystem = terrain::ProjectionKind::UTM;
        description.zoneText = std::to_string(zone) + hemisphere;
        description.horizontalUnit = RawHorizontalUnit::Meters;
        description.west = ulx + xSpacing / 2;
        description.east = description.west + (layout->width - 1) * xSpacing;
        description.south = bottom + ySpacing / 2;
        description.north = description.south + (layout->height - 1) * ySpacing;
    } else {
        description.coordinateSystem = terrain::ProjectionKind::LatLon;
        description.horizontalUnit = RawHorizontalUnit::Degrees;
        description.north = top - ySpacing / 2;
        description.south = bottom + ySpacing / 2;
        description.west = ulx + xSpacing / 2;
        description.east = lrx - xSpacing / 2;
    }
    if (auto accepted = description.accept(); !accepted) {
        return accepted.error();
    }

    const auto gridPath = temporaryDirectory / "GTIF.bin";
    FileRemover removeGrid(gridPath);
    FileHandle grid = support::openForWriting(gridPath);
    if (!grid) {
        return Error{ErrorCode::FileError, "cannot create grid",
                     support::systemCause(gridPath, errno)};
    }
    auto copied = layout->tileWidth != 0 ? copyTiles(tiff.get(), *layout, grid.get())
                                         : copyStrips(tiff.get(), *layout, grid.get());
    if (!copied) {
        return copied.error();
    }
    if (std::fclose(grid.release()) != 0) {
        return Error{ErrorCode::FileError, "closing the grid"};
    }
    removeGrid.release();
    return GeoTiffDemGrid{gridPath, std::move(description), std::move(listing)};
}

}  // namespace tavrok::importers

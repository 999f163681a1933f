#pragma once
#include <filesystem>
#include <string>

#include "importers/RawMatrixDescription.h"
#include "support/Result.h"

namespace tavrok::importers {

// A GeoTIFF elevation raster turned into a headerless grid that the raw matrix builder reads.
struct GeoTiffDemGrid {
    std::filesystem::path gridFile;    // "GTIF.bin" in the temporary directory; the caller owns it
    RawMatrixDescription description;  // accepted: size, sample type, row order, corners
    // The GeoTIFF definition as libgeotiff prints it, followed by the corner table.
    std::string listing;
};

// Largest raster accepted, in samples (width × height); larger claims are refused before
// anything is allocated.
inline constexpr unsigned long long geoTiffMaxSamples = 1ull << 29;

// Reads a single-band 16-bit signed or 32-bit float GeoTIFF (strips or tiles, any compression
// libtiff decodes, either byte order) and writes its first band to "GTIF.bin" in
// temporaryDirectory, little-endian, rows in file order. Samples equal to the GDAL_NODATA tag's
// value are written as -9999 so that the builder treats them as missing. `previous` supplies
// the ellipsoid kept for projected systems outside the WGS 72/84, NAD27/83 UTM families.
// Projected rasters must be UTM; corners are the centres of the corner pixels.
// Errors: GeoTiffFileError (no "II"/"MM" start, or libtiff cannot open it), NotAGeoTiffDem (not
// 16 or 32 bits per sample, or 32-bit integers), UnsupportedTiffFormat (only one tile
// dimension), NotEnoughMemory (more than geoTiffMaxSamples, or tiles too big), FileError
// (grid file cannot be written, undecodable data, no usable georeference).
// No temporary file is left behind on failure.
support::Result<GeoTiffDemGrid> ConvertGeoTiffDem(const std::filesystem::path& tiffPath,
                                                  const std::filesystem::path& temporaryDirectory,
                                                  const RawMatrixDescription& previous);

}  // namespace tavrok::importers

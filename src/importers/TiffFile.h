#pragma once
#include <geotiff/geo_normalize.h>
#include <geotiff/geotiff.h>
#include <geotiff/xtiffio.h>
#include <tiffio.h>

#include <filesystem>
#include <memory>

namespace tavrok::importers {

// The GDAL_NODATA tag: ASCII text of the value that marks missing samples.
inline constexpr ttag_t gdalNoDataTag = 42113;

struct TiffCloser {
    void operator()(TIFF* tiff) const { XTIFFClose(tiff); }
};
struct GtifCloser {
    void operator()(GTIF* gtif) const { GTIFFree(gtif); }
};
struct GtifDefinitionCloser {
    void operator()(GTIFDefn* definition) const { GTIFFreeDefn(definition); }
};

using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;
using GtifHandle = std::unique_ptr<GTIF, GtifCloser>;
using GtifDefinitionHandle = std::unique_ptr<GTIFDefn, GtifDefinitionCloser>;

// A GeoTIFF's keys with a PROJ context of their own that logs nothing: libgeotiff asks PROJ
// about every unit and datum code, and PROJ would print its complaints about unknown ones
// ("unit of measure not found") to standard error. Null when the keys cannot be read.
class GeoKeys {
  public:
    explicit GeoKeys(TIFF* tiff);
    ~GeoKeys();
    GeoKeys(const GeoKeys&) = delete;
    GeoKeys& operator=(const GeoKeys&) = delete;

    GTIF* get() const { return m_gtif.get(); }
    explicit operator bool() const { return m_gtif != nullptr; }

  private:
    void* m_projContext = nullptr;  // destroyed after the keys that use it
    GtifHandle m_gtif;
};

// libtiff keeps its error and warning handlers and tag extenders process-wide. This is the one
// place that sets them, once and safely from any thread: libtiff stays silent (a refused file
// says why through our own messages) and knows the GDAL_NODATA tag.
void PrepareLibtiff();

// Opens a TIFF with the GeoTIFF tags for reading ("r") or writing ("w"); null on failure.
TiffHandle OpenTiff(const std::filesystem::path& path, const char* mode);

}  // namespace tavrok::importers

#include "importers/TiffFile.h"

#include <proj.h>

#include <mutex>

namespace tavrok::importers {

namespace {

// Written once under the call_once below, read only by libtiff's calls afterwards.
TIFFExtendProc previousExtender = nullptr;

void registerNoDataTag(TIFF* tiff) {
    static const TIFFFieldInfo fields[] = {
        {gdalNoDataTag, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
         const_cast<char*>("GDALNoDataValue")},
    };
    TIFFMergeFieldInfo(tiff, fields, 1);
    if (previousExtender != nullptr) {
        previousExtender(tiff);
    }
}

// libgeotiff prints its complaints about damaged keys to standard error; the importer reports
// what matters in its own words.
void quietGeoKeyMessage(GTIF*, int, const char*, ...) {}

}  // namespace

void PrepareLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        previousExtender = TIFFSetTagExtender(registerNoDataTag);
    });
}

GeoKeys::GeoKeys(TIFF* tiff) {
    auto* context = proj_context_create();
    if (context != nullptr) {
        proj_log_level(context, PJ_LOG_NONE);
    }
    m_projContext = context;
    m_gtif.reset(GTIFNewEx(tiff, quietGeoKeyMessage, nullptr));
    if (m_gtif && context != nullptr) {
        GTIFAttachPROJContext(m_gtif.get(), context);
    }
}

GeoKeys::~GeoKeys() {
    m_gtif.reset();
    if (m_projContext != nullptr) {
        proj_context_destroy(static_cast<PJ_CONTEXT*>(m_projContext));
    }
}

TiffHandle OpenTiff(const std::filesystem::path& path, const char* mode) {
    PrepareLibtiff();
    return TiffHandle(XTIFFOpen(path.c_str(), mode));
}

}  // namespace tavrok::importers

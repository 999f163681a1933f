#pragma once
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "importers/MatrixHeader.h"
#include "support/Result.h"

namespace tavrok::importers {

struct SdtsPoint {
    double x = 0;  // UTM metres
    double y = 0;
};

// What the reader collects from the modules of one SDTS raster profile transfer.
struct SdtsTransfer {
    static constexpr float missingCell = -9999.0f;

    std::string prefix;           // the four characters every module name starts with: "8821"
    int rows = 0;                 // LDEF NROW
    int columns = 0;              // LDEF NCOL
    std::string referenceSystem;  // XREF RSNM, "UTM"
    int zone = 0;                 // XREF ZONE
    int datumCode = 0;   // XREF HDAT: 1 NAD27 ("NAS"), 2 WGS72, 3 WGS84, 4 NAD83 ("NAX"); 0 unknown
    std::string title;   // IDEN TITL
    long scale = 0;      // IDEN SCAL
    std::string dataId;  // IDEN DAID
    std::string date;    // IDEN DCDT
    std::vector<SdtsPoint> domainCorners;  // SPDM DMSA, at most four, in file order
    std::array<double, 4> domainValues{};  // DDOM DVAL of records 1 to 4: void, fill, min, max
    SdtsPoint origin;                      // RSDF SADR through IREF: the north-west cell, metres
    double scaleX = 1;                     // IREF SFAX, SFAY, XORG, YORG
    double scaleY = 1;
    double offsetX = 0;
    double offsetY = 0;
    double spacingX = 0;  // IREF XHRS, YHRS: metres between columns and rows
    double spacingY = 0;
    bool feet = false;          // DDSH UNIT "FEET"; "METERS" otherwise
    bool float32Cells = false;  // DDSH FMT "BFP32"
    // rows × columns cells in file order (the northern row first); values below -1000 and
    // cells the module does not hold are missingCell.
    std::vector<float> cells;
};

// Where the matrix pair of a transfer lies: the grid of 32-bit floats and its ".hdr".
struct SdtsMatrixPair {
    std::filesystem::path grid;
    std::filesystem::path header;
};

// Corners written to the matrix header, whole metres: the origin when it lies on the grid's
// spacing, otherwise the domain corners raised to the next multiple of the spacing.
struct SdtsCorners {
    long left = 0;
    long lower = 0;
    long right = 0;
    long upper = 0;
};

// Reads the transfer that a module belongs to (any of its ".DDF" files; names are matched
// without regard to case). Errors: CannotOpenDemCellFile when the cell module is missing;
// ErrorReadingSdts when one of DDSH, IDEN, DDOM, IREF, XREF, RSDF, SPDM, LDEF is missing or
// damaged, when the elevation unit is neither "FEET" nor "METERS", when the size or spacing is
// unusable, when the zone or the corners do not lie on the globe, or when no cell is read.
support::Result<SdtsTransfer> ReadSdtsTransfer(const std::filesystem::path& modulePath);

SdtsCorners SdtsHeaderCorners(const SdtsTransfer& transfer);

// The settings of the transfer's matrix header: float32 samples, UTM with the transfer's zone
// (north) and datum, the header corners; fallbackTitle stands in for an empty title.
MatrixHeader SdtsMatrixHeader(const SdtsTransfer& transfer, const std::string& fallbackTitle);

// Writes the transfer as "<name>.bin" (rows from south to north, 32-bit little-endian floats)
// and "<name>.hdr" in outputFolder. Fails with CannotOpenFile.
support::Result<SdtsMatrixPair> WriteSdtsMatrix(const SdtsTransfer& transfer,
                                                const std::filesystem::path& outputFolder,
                                                const std::string& name);

// The module files of a folder (".DDF", case ignored) grouped by transfer: one path per
// distinct four-character prefix, in sorted order.
std::vector<std::filesystem::path> SdtsTransfersIn(const std::filesystem::path& folder);

}  // namespace tavrok::importers

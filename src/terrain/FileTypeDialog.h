#pragma once
#include <array>
#include <string_view>

#include "support/DialogModel.h"

namespace tavrok::terrain {

// One radio button of "Select DEM File Type".
struct FileTypeChoice {
    int id;  // radio id, stored as the last file type
    std::string_view caption;
    std::string_view note;  // shown beside the button
};

inline constexpr int fileTypeSrtm = 1298;
inline constexpr int fileTypeUsgsDem = 1299;
inline constexpr int fileTypeMatrix = 1301;
inline constexpr int fileTypeMarsMola = 1302;
inline constexpr int fileTypeLidar = 1303;
inline constexpr int fileTypeGtopo30 = 1304;
inline constexpr int fileTypeGeoTiff = 1305;
inline constexpr int fileTypeGlobe = 1306;
inline constexpr int fileTypeXyz = 1307;
inline constexpr int fileTypeMarsPolar = 1308;

// In the dialog's order.
inline constexpr std::array fileTypeChoices{
    FileTypeChoice{fileTypeSrtm, "SRTM Data", "(hgt, bil)"},
    FileTypeChoice{fileTypeUsgsDem, "USGS DEM", "(dem, tar.gz, tgz, gz)"},
    FileTypeChoice{fileTypeMatrix, "Terrain Matrix", "(bin, txt)"},
    FileTypeChoice{fileTypeMarsMola, "Mars MOLA", "(megt.img)"},
    FileTypeChoice{fileTypeLidar, "LIDAR Point Cloud", "(las)"},
    FileTypeChoice{fileTypeGtopo30, "GTOPO30 Tile", "(selected from map)"},
    FileTypeChoice{fileTypeGeoTiff, "GeoTiff DEM", "(tif)"},
    FileTypeChoice{fileTypeGlobe, "GLOBE Tile", "(selected from map)"},
    FileTypeChoice{fileTypeXyz, "XYZ Point Cloud", "(bin, txt)"},
    FileTypeChoice{fileTypeMarsPolar, "Mars Polar MOLA", "(megt.img)"},
};

// "Select DEM File Type": one choice among the radio buttons; starts at the last one used.
class FileTypeDialog : public support::DialogModel {
  public:
    explicit FileTypeDialog(int lastFileType);

    std::string_view dialogId() const override { return "IDD_FILETYPE"; }
    std::string_view title() const override { return "Select DEM File Type"; }
    support::Status accept() override { return support::success(); }

    // A click on a radio button; ids that belong to no button (1300 among them) are ignored.
    void choose(int id);
    int choice() const { return m_choice; }

  private:
    int m_choice;
};

}  // namespace tavrok::terrain

#pragma once
#include "support/Ui.h"

// Every file prompt of the program: title bar text, filter ("Name|*.a; *.b|...||"), the
// remembered-directory family, multi-selection and open or save.
namespace tavrok::shell::prompts {

using support::DirectoryFamily;
using support::FilePrompt;

inline const FilePrompt openUsgsDem{"Open USGS ASCII or SDTS DEM File",
                                    "USGS DEM (*.dem, *.gz, *.tgz)|*.dem; *.gz; *tgz||",
                                    DirectoryFamily::Terrain, true, false};
inline const FilePrompt openSrtm{"Open SRTM Height Data File",
                                 "SRTM Data (*.hgt, *.bil)|*.hgt; *bil||", DirectoryFamily::Terrain,
                                 true, false};
inline const FilePrompt openLas{"Load LAS Cloud File", "LIDAR Data (*.las)|*.las||",
                                DirectoryFamily::Terrain, true, false};
inline const FilePrompt openXyz{
    "Load XYZ Points", "XYZ Points (*.txt, *.bin, *.dat)|*.txt; *.bin; *.dat|All Files|*.*||",
    DirectoryFamily::Terrain, false, false};
inline const FilePrompt openGeoTiff{"Open GeoTiff DEM File", "GeoTiff DEM (*.tif)|*.tif||",
                                    DirectoryFamily::Terrain, false, false};
inline const FilePrompt openMatrix{"Open Matrix File",
                                   "Geo Matrix (*.bin)|*.bin|All Files (*.*)|*.*||",
                                   DirectoryFamily::Terrain, true, false};
inline const FilePrompt openWaypoints{"Open Waypoints",
                                      "Waypoint Files (*.txt, *.igc)|*.txt; *.igc|All Files|*.*||",
                                      DirectoryFamily::Waypoints, false, false};
inline const FilePrompt saveWaypoints{"Save Waypoint List", "Waypoint List (*.txt)|*.txt||",
                                      DirectoryFamily::Waypoints, false, true};
inline const FilePrompt openMapOverlay{
    "Open Map Overlay",
    "Graphics Files|*.bmp;*.gif;*.jpg;*.pcx;*.ppm;*.ras;*.rgb;*.tga;*.tif;*.xpm|All Files|*.*||",
    DirectoryFamily::MapOverlays, false, false};
inline const FilePrompt saveUsgsDem{"Save USGS ASCII DEM", "USGS DEM File (*.dem)|*.dem||",
                                    DirectoryFamily::Terrain, false, true};
inline const FilePrompt saveGeoTiffDem{"Save GeoTiff DEM", "GeoTiff File (*.tif)|*.tif||",
                                       DirectoryFamily::Terrain, false, true};
inline const FilePrompt saveCroppedMap{"Save Cropped Map for Future Use",
                                       "Bitmap Files (*.bmp)|*.bmp||", DirectoryFamily::Images,
                                       false, true};
inline const FilePrompt saveImageFiles{"Save Image Files", "Bitmap Files (*.bmp)|*.bmp||",
                                       DirectoryFamily::Images, false, true};
inline const FilePrompt saveGeoTiffOverlay{"Save GeoTiff Overlay", "GeoTiff (*.tif)|*.tif||",
                                           DirectoryFamily::Images, false, true};
inline const FilePrompt saveBitmapOverlay{"Save Bitmap Overlay", "Bitmap (*.bmp)|*.bmp||",
                                          DirectoryFamily::Images, false, true};
inline const FilePrompt saveTrimmedOverlay{"Save Trimmed GeoTiff Overlay For Future Use",
                                           "GeoTiff (*.tif)|*.tif||", DirectoryFamily::Images,
                                           false, true};
inline const FilePrompt saveVrml{"Save VRML World", "VRML Files (*.wrl)|*.wrl||",
                                 DirectoryFamily::Vrml, false, true};
inline const FilePrompt saveTerragen{"Save Terragin Terrain", "Terragin Terrain (*.ter)|*.ter||",
                                     DirectoryFamily::Terragen, false, true};
inline const FilePrompt saveColorScale{"Save Color Scale", "Color Scale (*.dat)|*.dat||",
                                       DirectoryFamily::ColorScales, false, true};
inline const FilePrompt loadColorScale{"Load Color Scale", "Color Scale (*.dat)|*.dat||",
                                       DirectoryFamily::ColorScales, false, false};
inline const FilePrompt saveFlyby{"Save Tavrok Flyby File",
                                  "AVI Files (*.avi)|*.avi|MPEG Files (*.mpg)|*.mpg||",
                                  DirectoryFamily::Flyby, false, true};
inline const FilePrompt saveMatrixBinary{"Save Geo Matrix",
                                         "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||",
                                         DirectoryFamily::Terrain, false, true};
inline const FilePrompt saveMatrixText{"Save Geo Matrix",
                                       "Text (*.txt)|*.txt|All Files (*.*)|*.*||",
                                       DirectoryFamily::Terrain, false, true};

}  // namespace tavrok::shell::prompts

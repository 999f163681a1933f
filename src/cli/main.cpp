#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/EditOptions.h"
#include "cli/RawOptions.h"
#include "cli/Subcommands.h"

namespace {

using tavrok::cli::Arguments;

constexpr const char* overview = R"(Usage: tavrok-cli COMMAND [OPTIONS]

Tavrok terrain tools for batch use. Commands:
  info FILE...        load a terrain (several files are merged) and describe it
  elevation FILE...   print the elevation at a grid position or a geographic position
  geo2utm             convert "LATITUDE LONGITUDE" lines to UTM
  utm2geo             convert "EASTING NORTHING ZONE" lines to latitude and longitude
  render FILE...      load a terrain and write its shaded overhead map as PNG or BMP
  export FILE...      load a terrain and save it as a terrain matrix, USGS DEM or GeoTIFF
  scene FILE...       load a terrain and write a lit 3D scene of it as PNG or BMP

Run "tavrok-cli COMMAND --help" for the options of a command. A failure prints the
program's message on standard error and exits with status 1 (2 for a usage mistake).
)";

constexpr const char* loadOptions = R"(
The importer follows from the file name: a data file with a ".hdr" header beside it is a
terrain matrix; ".dem", ".gz", ".tgz" USGS DEM; ".ddf" SDTS; ".hgt", ".bil" SRTM; ".tif"
GeoTIFF; ".las" LIDAR; anything else is a headerless grid described by the options below.
  --type TYPE         matrix, raw, usgs, sdts, srtm, geotiff, las, xyz, globe, gtopo30, mola
                      or mola-polar
GLOBE and GTOPO30 areas (--type globe|gtopo30; no FILE needed):
  --centre LAT,LON    centre of the square area in whole degrees (0,0)
  --area-width DEG    width of the area, 12 to 36 degrees; odd widths act as one less (24)
  --projection P      latlon or sinusoidal (sinusoidal)
  --tile-dir DIR      the folder holding the tiles (or their ".tgz"/".tar.gz" archives)
Mars MOLA (--type mola: MEG tiles; --type mola-polar: polar images), with --tile-dir:
  --centre LAT,LON    MEG area centre, longitude 0 to 360 (0,180)
  --mola-set SET      064 (60-degree area) or 128 (30-degree area) (128)
  --pole P            north or south (north)
  --resolution N      128, 256 or 512 samples per degree (128)
  --window X,Y,W      the square on the 338 x 338 polar map, in map pixels (169,169,60)
)";

constexpr const char* infoHelp =
    R"(Usage: tavrok-cli info FILE... [--json] [--type TYPE] [GRID OPTIONS]

Loads the terrain, makes the edits asked for below, and prints its DEM specification lines,
then rows, columns, projection, zone, ellipsoid, bounds, spacing, minimum and maximum
elevation and the count of missing cells.
  --json              print one JSON object with the header fields instead
  --utm-zone ZONE     the UTM zone (such as 13N) an X/Y matrix is declared in by --to-utm
)";

constexpr const char* elevationHelp =
    R"(Usage: tavrok-cli elevation FILE... (--at COLUMN,ROW | --geo LAT,LON) [--type TYPE] [GRID OPTIONS]

Prints the elevation at fractional grid indices (column 0 west, row 0 south) or at a
latitude and longitude in decimal degrees, interpolated from the four nearest cells.
Positions outside the grid give the terrain's minimum elevation.
)";

constexpr const char* geoToUtmHelp =
    R"(Usage: tavrok-cli geo2utm [--ellipsoid NAME|ID] [--zone N] < POINTS

Reads "LATITUDE LONGITUDE" lines (decimal degrees) and writes "EASTING NORTHING ZONE"
(metres with 3 decimals, zone text such as 13N). A point that cannot be converted prints
"error FLAGS" with the error bits in decimal, and the run goes on.
  --ellipsoid NAME|ID  an ellipsoid name ("Clarke 1866", "GRS 1980", "WGS-84" ...), a datum
                       (NAD27, NAD83, WGS72, WGS84) or a table number 1 to 23; default WGS-84
  --zone N             express every point in zone N (it must be within one zone of the
                       point's own zone)
)";

constexpr const char* utmToGeoHelp =
    R"(Usage: tavrok-cli utm2geo [--ellipsoid NAME|ID] [--zone N] < POINTS

Reads "EASTING NORTHING ZONE" lines (metres, zone text such as 13N or 56S) and writes
"LATITUDE LONGITUDE" in decimal degrees with 9 decimals. A point that cannot be converted
prints "error FLAGS", and the run goes on.
  --ellipsoid NAME|ID  as for geo2utm; default WGS-84
  --zone N             accepted for symmetry with geo2utm
)";

constexpr const char* renderHelp =
    R"(Usage: tavrok-cli render FILE... -o OUT.png|OUT.bmp [OPTIONS] [--type TYPE] [GRID OPTIONS]

Loads the terrain and writes the overhead map exactly as the main window shows it: shaded
relief coloured by elevation, with the latitude/longitude grid and its labels. Without --zoom
or --width the map has the size the program chooses for a 1024 x 768 window.
  -o, --output FILE     the image; ".png" or ".bmp" (24-bit, rows padded to 4 bytes)
  --zoom Z              image pixels per grid cell (above 0, at most 64)
  --width PIXELS        the image width; the zoom follows
  --sun-azimuth DEG     direction of the light, degrees clockwise from north (240)
  --sun-elevation DEG   height of the light above the horizon (80)
  --shade-depth PCT     strength of the shading, 0 (off) to 100 (100)
  --grid on|off         the latitude/longitude grid (on)
  --coordinates MODE    grid labels: dms (degrees and minutes), decimal, utm (decimal) (utm)
  --colors FILE.dat     an 88-byte colour scale file: its colours and elevation range
  --terrain-type TYPE   mountain (no ocean), island or lowlands (ocean at or below sea level);
                        default by terrain: mountain for UTM grids, lowlands for geographic ones
  --sea-level METRES    the sea level for island and lowlands (0)
  --verbose             print progress on standard error
)";

constexpr const char* exportHelp =
    R"(Usage: tavrok-cli export FILE... -o OUT.bin|OUT.txt|OUT.dem|OUT.tif [--format int16|float32]
                        [--crop W,S,E,N] [--patch C0,R0,C1,R1] [--to-utm DATUM]
                        [--allow-sinusoidal] [--change-ellipsoid DATUM] [--utm-zone ZONE]
                        [--type TYPE] [GRID OPTIONS]

Loads the terrain, makes the edits asked for (below), and saves it in the format the output's extension names, as the File menu's
"Save Terrain Matrix", "Save USGS ASCII DEM" and "Save GeoTiff DEM" do:
  .bin  terrain matrix, binary samples, with its ".hdr" header beside it
  .txt  terrain matrix, samples as text, with its ".hdr" header beside it
  .dem  USGS ASCII DEM (not for depth data, Sinusoidal grids, Mars polar terrain or UTM
        south of the equator)
  .tif  GeoTIFF DEM, 32-bit floats, missing cells marked by its no-data value (not for
        Sinusoidal grids or Mars MOLA terrain)
The file is written under a temporary name beside OUT and renamed when complete: a failure
leaves no file, and an existing OUT is replaced only by a whole one.
  -o, --output FILE   the file to write
  --format F          int16 or float32 samples of a .bin matrix (float32); int16 is refused
                      when an elevation lies outside -32768..32767
  --utm-zone ZONE     the UTM zone (1 to 60 and N or S, such as 13N) for a terrain that has
                      none (an X/Y matrix), which .dem and .tif need; the terrain is then
                      taken as UTM metres on WGS84 in that zone
  --verbose           print progress on standard error
)";

constexpr const char* sceneHelp =
    R"(Usage: tavrok-cli scene FILE... -o OUT.png|OUT.bmp [OPTIONS] [--type TYPE] [GRID OPTIONS]

Loads the terrain, builds the overhead map as "render" does, and draws the 3D scene the
"F2  3D Scene" window shows for the same settings: a new scene with the marker where the
program first puts it (the middle of the map, a quarter of its height up from the bottom,
facing north), unless the options below move it.
  -o, --output FILE        the image; ".png" or ".bmp"
  --size WxH               480x360, 640x480, 800x600 or 1024x768, or any size up to
                           4096x4096 for benchmarks (640x480)
  --mode MODE              color, red-blue (anaglyph) or side-by-side (two 480x360 eyes,
                           960x360) (color)
  --position P             foreground (the block seen from outside) or background (the
                           observer at the near edge) (foreground)
  --observer COL,ROW       the observer in grid cells: column from the west, row from the south
  --observer-geo LAT,LON   the observer at a latitude and longitude
  --heading DEG            the way the observer faces, counter-clockwise from north (0)
  --area-factor F          the scene square is 128 x F overhead-map pixels wide (1)
  --altitude METRES        the observer above the ground, background only (the highest
                           step the dialog offers a new scene)
  --mesh min|max           at most 512 or 2048 vertices a side (min)
  --terrain-type TYPE      mountain, lowlands (flat sea) or island (a sea plane); default by
                           terrain, as for render
  --sea-level METRES       the sea level for lowlands and island (0)
  --vertical-mag PERCENT   vertical magnification (100)
  --azimuth DEG            light azimuth (240)
  --elevation DEG          light elevation (60)
  --zoom N                 camera distance steps, foreground (16)
  --tilt DEG               tilt (32 foreground, 0 background)
  --turn N                 turn in steps of 2 degrees, foreground (0)
  --shift X,Y              shift steps, foreground (0,0)
  --frames N               draw N frames and print the time per frame, split into mesh
                           building and drawing
  --verbose                print progress on standard error
Without a display the scene is drawn by Mesa's software renderer through EGL; with a GPU
that EGL offers, on the GPU. "OpenGL Conflict" (exit status 1) means no OpenGL context or
framebuffer could be made.
)";

struct Subcommand {
    const char* name;
    int (*run)(const Arguments&);
    const char* help;
    bool loadsTerrain;
    std::set<std::string> options;
};

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> list{
        {"info",
         tavrok::cli::runInfo,
         infoHelp,
         true,
         {"json", "type", "crop", "patch", "to-utm", "allow-sinusoidal", "change-ellipsoid",
          "utm-zone"}},
        {"elevation", tavrok::cli::runElevation, elevationHelp, true, {"at", "geo", "type"}},
        {"geo2utm", tavrok::cli::runGeoToUtm, geoToUtmHelp, false, {"ellipsoid", "zone"}},
        {"utm2geo", tavrok::cli::runUtmToGeo, utmToGeoHelp, false, {"ellipsoid", "zone"}},
        {"render",
         tavrok::cli::runRender,
         renderHelp,
         true,
         {"output", "zoom", "width", "sun-azimuth", "sun-elevation", "shade-depth", "grid",
          "coordinates", "colors", "terrain-type", "sea-level", "type", "verbose"}},
        {"scene",
         tavrok::cli::runScene,
         sceneHelp,
         true,
         {"output", "size", "mode", "position", "observer", "observer-geo", "heading",
          "area-factor", "altitude", "mesh", "terrain-type", "sea-level", "vertical-mag",
          "azimuth", "elevation", "zoom", "tilt", "turn", "shift", "frames", "type", "verbose"}},
        {"export",
         tavrok::cli::runExport,
         exportHelp,
         true,
         {"output", "format", "utm-zone", "type", "verbose", "crop", "patch", "to-utm",
          "allow-sinusoidal", "change-ellipsoid"}},
    };
    return list;
}

void printHelp(const Subcommand& subcommand) {
    std::fputs(subcommand.help, stdout);
    if (subcommand.options.contains("crop")) {
        std::fputs(tavrok::cli::editOptionsHelp(), stdout);
    }
    if (subcommand.loadsTerrain) {
        std::fputs(loadOptions, stdout);
        std::fputs(tavrok::cli::rawOptionsHelp(), stdout);
    }
}

int runSubcommand(const Subcommand& subcommand, const std::vector<std::string>& words) {
    auto known = subcommand.options;
    if (subcommand.loadsTerrain) {
        known.merge(tavrok::cli::rawOptionNames());
    }
    known.insert("help");
    std::string error;
    const auto arguments =
        Arguments::parse(words, {"help", "json", "depth", "verbose", "allow-sinusoidal"}, error);
    if (!arguments) {
        std::cerr << "tavrok-cli: " << error << '\n';
        return 2;
    }
    if (arguments->has("help")) {
        printHelp(subcommand);
        return 0;
    }
    if (const auto unknown = arguments->unknown(known); !unknown.empty()) {
        std::cerr << "tavrok-cli " << subcommand.name << ": unknown option --" << unknown.front()
                  << " (see --help)\n";
        return 2;
    }
    return subcommand.run(*arguments);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(overview, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> words(argv + 2, argv + argc);
    // "-o FILE" is the usual short form of "--output FILE".
    std::replace(words.begin(), words.end(), std::string("-o"), std::string("--output"));
    for (const auto& subcommand : subcommands()) {
        if (std::strcmp(argv[1], subcommand.name) == 0) {
            return runSubcommand(subcommand, words);
        }
    }
    std::cerr << "tavrok-cli: unknown command \"" << argv[1] << "\" (see --help)\n";
    return 2;
}

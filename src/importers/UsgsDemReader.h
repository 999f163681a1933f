#pragma once
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/Progress.h"
#include "support/Result.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// A corner of a DEM's quadrangle: metres (UTM) or arc-seconds (geographic).
struct DemCorner {
    double x = 0;
    double y = 0;
};

// What reading one USGS ASCII DEM yields. The grid holds metres, row 0 south and column 0 the
// first (westernmost) profile; void cells hold voidElevation.
struct UsgsDemRecord {
    static constexpr float voidElevation = -32767.0f;

    // Where the grid waits while other DEMs are read; empty while it is held in `grid`.
    std::filesystem::path temporaryGridPath;
    terrain::TerrainModel grid;

    std::string title;  // the file's name text, cut at the first odd character
    int datumCode = 0;  // 1 NAD27, 2 WGS72, 3 WGS84, 4 NAD83; others are read as WGS84
    int zone = 0;       // UTM zone of ground unit 2
    int rows = 0;
    int columns = 0;
    // Extremes of the corners truncated toward zero: metres (UTM) or arc-seconds.
    int smallestX = 0;
    int smallestY = 0;
    int largestX = 0;
    int largestY = 0;
    // North-west, north-east, south-east, south-west, from the corner extremes.
    std::array<DemCorner, 4> corners{};
    // Degrees: the extremes of the converted corners (UTM) or the corners / 3600.
    double lowerLatitude = 0;
    double upperLatitude = 0;
    double leftLongitude = 0;
    double rightLongitude = 0;
    int groundUnit = 0;             // 2 metres (UTM), 3 arc-seconds
    int elevationUnit = 0;          // 1 feet, 2 metres
    double resolutionX = 0;         // metres or arc-seconds between profiles
    double resolutionY = 0;         // between elevations of a profile
    float horizontalFactor = 1.0f;  // metres per x unit (arc-seconds: at the centre latitude)
    float verticalFactor = 1.0f;    // the grid is in metres already
};

// Parses a whole USGS ASCII DEM held in memory: the A record fields at their fixed offsets
// (exponents may be written with "D"), the first profile at byte 864, 1024 or the first line
// feed, then the profiles. Profiles cut short leave the rest of the grid void. Errors:
// NotADemFile when no profile start fits or the A record is unreadable; GroundUnitFeetRefused
// for ground unit 1 (state-plane feet) and NotADemFile for other codes than 2 and 3;
// IncompatibleFileFormat for a profile that starts below the south edge or above the north
// edge, or for a size the file cannot hold; IncorrectZone for a UTM zone outside 1 to 60 and
// UnusableUtmCoordinates when a UTM corner cannot be converted; NotEnoughMemory;
// OperationCancelled when progress returns false.
support::Result<UsgsDemRecord> ReadUsgsDem(std::string_view text,
                                           const support::ProgressCallback& progress);

// Reads the file whole and parses it as above; CannotOpenFile when it cannot be read.
support::Result<UsgsDemRecord> ReadUsgsDem(const std::filesystem::path& path,
                                           const support::ProgressCallback& progress);

}  // namespace tavrok::importers

#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "importers/CloudGridding.h"
#include "importers/LasReader.h"
#include "importers/LoadedTerrain.h"
#include "support/Progress.h"
#include "support/Result.h"

namespace tavrok::importers {

// The UTM zone a LAS file's projected coordinate system names: WGS 84 (326zz north, 327zz
// south), NAD83 (269zz) and NAD27 (267zz). Any other code: none, and the grid is X/Y.
struct CloudZone {
    int zone = 0;
    char hemisphere = 'N';
    geodesy::EllipsoidId ellipsoid = geodesy::EllipsoidId::Wgs84;
    int ellipsoidCode = 3;
};
std::optional<CloudZone> zoneOfProjectedSystem(int code);

// Stage texts ("  Reading Cloud Section 1 of 3  "); may be empty.
using CloudAnnouncer = std::function<void(std::string_view)>;

// The headers of the files, in order. The first file with points sets the format and the
// projection keys every later file with points must share (InconsistentLasParameters).
// Fails with the first file's CannotOpenLasFile or CannotReadLasFile.
support::Result<std::vector<LasFileRecord>> ReadLasFiles(
    const std::vector<std::filesystem::path>& files);

// The union of the extents of the files that have points; NoLasPointsInArea when none has.
support::Result<CloudArea> extentOfLasFiles(const std::vector<LasFileRecord>& records);

// The survey pass over the files that overlap the area: counts, ground counts and the
// elevation histogram of the points inside it. Stop ends it with OperationCancelled.
support::Result<CloudSurvey> SurveyLasFiles(const std::vector<LasFileRecord>& records,
                                            const CloudArea& area,
                                            const support::ProgressCallback& progress,
                                            const CloudAnnouncer& announce);

// The gridding pass at the survey's spacing and filter, over the area moved out to multiples
// of the spacing; the header carries the zone of the first file's keys. Fails with
// TooFewPointsToGrid when no elevation range holds enough points, and OperationCancelled.
support::Result<LoadedTerrain> GridLasFiles(const std::vector<LasFileRecord>& records,
                                            const CloudSurvey& survey,
                                            const support::ProgressCallback& progress,
                                            const CloudAnnouncer& announce);

// Lets the user see the survey and choose the spacing (and, for LAS, the returns) in the
// survey itself; false when the user cancels. lidar: the LAS dialog rather than the XYZ one.
using CloudGridChooser = std::function<bool(CloudSurvey& survey, bool lidar)>;

// Survey, choice and gridding of LAS files over area (their whole extent when empty). Without
// a chooser the proposed spacing and all returns are used.
support::Result<LoadedTerrain> LoadLasClouds(const std::vector<std::filesystem::path>& files,
                                             const std::optional<CloudArea>& area,
                                             const CloudGridChooser& choose,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce);

// XYZ points: gridded over their own extent (not moved to multiples of the spacing) as an X/Y
// terrain, at the survey's spacing, with every point a return.
support::Result<LoadedTerrain> GridXyzPoints(std::span<const CloudPoint> points,
                                             const CloudSurvey& survey,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce);

// Reading (ReadXyzPoints), survey, choice and gridding of an XYZ file. An empty file fails
// silently.
support::Result<LoadedTerrain> LoadXyzPoints(const std::filesystem::path& file,
                                             const CloudGridChooser& choose,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce);

}  // namespace tavrok::importers

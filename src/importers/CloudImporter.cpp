#include "importers/CloudImporter.h"

#include <algorithm>
#include <cmath>

#include "geodesy/Utm.h"
#include "importers/XyzPoints.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

struct ZoneFamily {
    int first;
    int last;
    int base;
    char hemisphere;
    geodesy::EllipsoidId ellipsoid;
    int ellipsoidCode;
};

constexpr ZoneFamily zoneFamilies[] = {
    {32601, 32660, 32600, 'N', geodesy::EllipsoidId::Wgs84, 3},
    {32701, 32760, 32700, 'S', geodesy::EllipsoidId::Wgs84, 3},
    {26903, 26923, 26900, 'N', geodesy::EllipsoidId::Grs1980, 4},
    {26703, 26722, 26700, 'N', geodesy::EllipsoidId::Clarke1866, 1},
};

bool sameKind(const LasFileRecord& first, const LasFileRecord& later) {
    return first.pointFormat == later.pointFormat && first.keys == later.keys;
}

std::string sectionText(std::size_t fileIndex, std::size_t files, std::uint64_t section,
                        std::uint64_t sections, const char* severalFilesVerb) {
    if (files > 1) {
        return support::formatText("  %s Cloud File %zu of %zu  ", severalFilesVerb, fileIndex + 1,
                                   files);
    }
    return support::formatText("  Reading Cloud Section %llu of %llu  ",
                               static_cast<unsigned long long>(section + 1),
                               static_cast<unsigned long long>(sections));
}

CloudArea extentOf(const LasFileRecord& record) {
    return CloudArea{record.minX, record.maxX, record.minY, record.maxY};
}

// Runs take over every point section of the files that overlap the area, with the stage texts
// and the Stop check between sections.
support::Status walkSections(const std::vector<LasFileRecord>& records, const CloudArea& area,
                             const support::ProgressCallback& progress,
                             const CloudAnnouncer& announce, const char* severalFilesVerb,
                             const std::function<void(std::span<const CloudPoint>)>& take) {
    for (std::size_t index = 0; index < records.size(); ++index) {
        const auto& record = records[index];
        if (record.pointCount == 0 || !area.overlaps(extentOf(record))) {
            continue;
        }
        const auto sections = lasSectionCount(record);
        auto walked = ForEachLasSection(record, [&](std::span<const CloudPoint> points,
                                                    std::uint64_t section) {
            if (announce) {
                announce(sectionText(index, records.size(), section, sections, severalFilesVerb));
            }
            if (!support::reportProgress(progress, static_cast<long>(section),
                                         static_cast<long>(sections))) {
                return false;
            }
            take(points);
            return true;
        });
        if (!walked) {
            return walked.error();
        }
    }
    return support::reportProgress(progress, 1, 1)
               ? support::success()
               : support::Status(Error{ErrorCode::OperationCancelled, "stopped"});
}

void placeOnEarth(terrain::TerrainHeader& header, const CloudGridGeometry& geometry,
                  const std::optional<CloudZone>& zone) {
    if (!zone) {
        header.projection = terrain::ProjectionKind::XY;
        header.gridKind = terrain::gridKindMatrix;
        return;
    }
    header.projection = terrain::ProjectionKind::UTM;
    header.gridKind = terrain::gridKindDem;
    header.ellipsoid = zone->ellipsoid;
    header.ellipsoidCode = zone->ellipsoidCode;
    header.utmZone = zone->zone;
    header.hemisphere = zone->hemisphere;
    header.zoneText = std::to_string(zone->zone) + zone->hemisphere;
    geodesy::UtmConverter converter;
    converter.setUtmParameters(zone->ellipsoid, 0);
    double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
    for (const double x : {geometry.left, geometry.right}) {
        for (const double y : {geometry.lower, geometry.upper}) {
            const auto corner = converter.utmToLatLon(header.zoneText, x, y);
            west = std::min(west, corner.longitudeDegrees);
            east = std::max(east, corner.longitudeDegrees);
            south = std::min(south, corner.latitudeDegrees);
            north = std::max(north, corner.latitudeDegrees);
        }
    }
    header.westLon = static_cast<float>(west);
    header.eastLon = static_cast<float>(east);
    header.southLat = static_cast<float>(south);
    header.northLat = static_cast<float>(north);
}

LoadedTerrain cloudTerrain(terrain::TerrainModel grid, const CloudGridGeometry& geometry,
                           const ElevationLimits& limits, const std::optional<CloudZone>& zone) {
    LoadedTerrain loaded{std::move(grid), {}, {}};
    auto& header = loaded.header;
    header.rows = geometry.rows;
    header.columns = geometry.columns;
    header.coordinateType = terrain::coordinateTypeUtm;
    placeOnEarth(header, geometry, zone);
    header.westBound = std::trunc(geometry.left);
    header.eastBound = std::trunc(geometry.right);
    header.southBound = std::trunc(geometry.lower);
    header.northBound = std::trunc(geometry.upper);
    header.originX = geometry.left;
    header.originY = geometry.lower;
    header.maxX = geometry.left + (geometry.columns - 1) * geometry.spacing;
    header.maxY = geometry.lower + (geometry.rows - 1) * geometry.spacing;
    header.spacingX = header.spacingY = static_cast<float>(geometry.spacing);
    header.minElevation = limits.lowest;
    header.maxElevation = limits.highest;
    return loaded;
}

Error tooFewPoints() {
    return Error{ErrorCode::TooFewPointsToGrid, "no elevation range",
                 "fewer than two one-metre elevation bins hold 10 points or more"};
}

// The elevation limits of the survey and an empty accumulator over the grid.
struct GriddingRun {
    ElevationLimits limits;
    CloudAccumulator accumulator;
};

support::Result<GriddingRun> startGridding(const CloudSurvey& survey,
                                           const CloudGridGeometry& geometry) {
    const auto limits = elevationLimits(survey.histogram);
    if (!limits) {
        return tooFewPoints();
    }
    auto accumulator = CloudAccumulator::create(geometry, survey, *limits);
    if (!accumulator) {
        return accumulator.error();
    }
    return GriddingRun{*limits, std::move(accumulator.value())};
}

}  // namespace

std::optional<CloudZone> zoneOfProjectedSystem(int code) {
    for (const auto& family : zoneFamilies) {
        if (code >= family.first && code <= family.last) {
            return CloudZone{code - family.base, family.hemisphere, family.ellipsoid,
                             family.ellipsoidCode};
        }
    }
    return std::nullopt;
}

support::Result<std::vector<LasFileRecord>> ReadLasFiles(
    const std::vector<std::filesystem::path>& files) {
    std::vector<LasFileRecord> records;
    const LasFileRecord* reference = nullptr;
    for (const auto& file : files) {
        auto record = ReadLasHeader(file);
        if (!record) {
            return record.error();
        }
        records.push_back(std::move(record.value()));
    }
    for (const auto& record : records) {
        if (record.pointCount == 0) {
            continue;
        }
        if (reference == nullptr) {
            reference = &record;
        } else if (!sameKind(*reference, record)) {
            return Error{ErrorCode::InconsistentLasParameters, "keys differ",
                         reference->path.filename().string() + " and " +
                             record.path.filename().string() +
                             " differ in point format or coordinate system"};
        }
    }
    return records;
}

support::Result<CloudArea> extentOfLasFiles(const std::vector<LasFileRecord>& records) {
    std::optional<CloudArea> area;
    for (const auto& record : records) {
        if (record.pointCount == 0) {
            continue;
        }
        const CloudArea extent = extentOf(record);
        if (!area) {
            area = extent;
            continue;
        }
        area->minX = std::min(area->minX, extent.minX);
        area->maxX = std::max(area->maxX, extent.maxX);
        area->minY = std::min(area->minY, extent.minY);
        area->maxY = std::max(area->maxY, extent.maxY);
    }
    if (!area) {
        return Error{ErrorCode::NoLasPointsInArea, "no file has points"};
    }
    return *area;
}

support::Result<CloudSurvey> SurveyLasFiles(const std::vector<LasFileRecord>& records,
                                            const CloudArea& area,
                                            const support::ProgressCallback& progress,
                                            const CloudAnnouncer& announce) {
    CloudSurvey survey;
    survey.area = area;
    auto walked =
        walkSections(records, area, progress, announce, "Reading",
                     [&survey](std::span<const CloudPoint> points) { survey.add(points); });
    if (!walked) {
        return walked.error();
    }
    if (survey.points == 0) {
        return Error{ErrorCode::NoLasPointsInArea, "no point inside the area"};
    }
    return survey;
}

support::Result<LoadedTerrain> GridLasFiles(const std::vector<LasFileRecord>& records,
                                            const CloudSurvey& survey,
                                            const support::ProgressCallback& progress,
                                            const CloudAnnouncer& announce) {
    const auto geometry = snappedGeometry(survey.area, survey.spacing);
    auto run = startGridding(survey, geometry);
    if (!run) {
        return run.error();
    }
    auto* accumulator = &run->accumulator;
    const auto* limits = &run->limits;
    auto walked = walkSections(
        records, survey.area, progress, announce, "Sorting",
        [&accumulator](std::span<const CloudPoint> points) { accumulator->add(points); });
    if (!walked) {
        return walked.error();
    }
    auto grid = accumulator->finish();
    if (!grid) {
        return grid.error();
    }
    const auto firstWithPoints = std::find_if(
        records.begin(), records.end(), [](const auto& record) { return record.pointCount > 0; });
    const int projectedSystem =
        firstWithPoints == records.end() ? 0 : firstWithPoints->keys.projectedSystem;
    return cloudTerrain(std::move(grid.value()), geometry, *limits,
                        zoneOfProjectedSystem(projectedSystem));
}

support::Result<LoadedTerrain> LoadLasClouds(const std::vector<std::filesystem::path>& files,
                                             const std::optional<CloudArea>& area,
                                             const CloudGridChooser& choose,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce) {
    auto records = ReadLasFiles(files);
    if (!records) {
        return records.error();
    }
    auto extent = area ? support::Result<CloudArea>(*area) : extentOfLasFiles(*records);
    if (!extent) {
        return extent.error();
    }
    auto survey = SurveyLasFiles(*records, *extent, progress, announce);
    if (!survey) {
        return survey.error();
    }
    survey->spacing = proposedSpacing(cloudDensity(*survey, ReturnFilter::AllReturns));
    if (choose && !choose(*survey, true)) {
        return Error{ErrorCode::SilentFailure, "cancelled"};
    }
    return GridLasFiles(*records, *survey, progress, announce);
}

}  // namespace tavrok::importers

namespace tavrok::importers {

support::Result<LoadedTerrain> GridXyzPoints(std::span<const CloudPoint> points,
                                             const CloudSurvey& survey,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce) {
    const auto geometry = exactGeometry(survey.area, survey.spacing);
    auto run = startGridding(survey, geometry);
    if (!run) {
        return run.error();
    }
    auto* accumulator = &run->accumulator;
    const auto* limits = &run->limits;
    if (announce) {
        announce("  Sorting Cloud Points  ");
    }
    const std::size_t section = lasSectionRecords;
    for (std::size_t at = 0; at < points.size(); at += section) {
        if (!support::reportProgress(progress, static_cast<long>(at),
                                     static_cast<long>(points.size()))) {
            return Error{ErrorCode::OperationCancelled, "stopped"};
        }
        accumulator->add(points.subspan(at, std::min(section, points.size() - at)));
    }
    auto grid = accumulator->finish();
    if (!grid) {
        return grid.error();
    }
    return cloudTerrain(std::move(grid.value()), geometry, *limits, std::nullopt);
}

support::Result<LoadedTerrain> LoadXyzPoints(const std::filesystem::path& file,
                                             const CloudGridChooser& choose,
                                             const support::ProgressCallback& progress,
                                             const CloudAnnouncer& announce) {
    if (announce) {
        announce("  Reading Point File  ");
    }
    auto points = ReadXyzPoints(file);
    if (!points) {
        return points.error();
    }
    if (points->empty()) {
        return Error{ErrorCode::SilentFailure, "no points",
                     file.filename().string() + ": no points"};
    }
    CloudSurvey survey;
    survey.area = {points->front().x, points->front().x, points->front().y, points->front().y};
    for (const auto& point : *points) {
        survey.area.minX = std::min(survey.area.minX, point.x);
        survey.area.maxX = std::max(survey.area.maxX, point.x);
        survey.area.minY = std::min(survey.area.minY, point.y);
        survey.area.maxY = std::max(survey.area.maxY, point.y);
    }
    survey.add(std::span<const CloudPoint>(*points));
    survey.spacing = proposedSpacing(cloudDensity(survey, ReturnFilter::AllReturns));
    if (choose && !choose(survey, false)) {
        return Error{ErrorCode::SilentFailure, "cancelled"};
    }
    return GridXyzPoints(*points, survey, progress, announce);
}

}  // namespace tavrok::importers

#include "importers/Registry.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "importers/ArchiveLoad.h"
#include "importers/CloudImporter.h"
#include "importers/GeoTiffDemImporter.h"
#include "importers/LoadedTerrainCheck.h"
#include "importers/MatrixImporter.h"
#include "importers/RawMatrixBuilder.h"
#include "importers/SrtmImporter.h"
#include "support/FileHandle.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

namespace fs = std::filesystem;
using support::Error;
using support::ErrorCode;

// The "Select DEM File Type" radio ids and the command numbers that load each format.
constexpr int fileTypeSrtm = 1298;
constexpr int fileTypeUsgsDem = 1299;
constexpr int fileTypeMatrix = 1301;
constexpr int fileTypeMarsMola = 1302;
constexpr int fileTypeLidar = 1303;
constexpr int fileTypeGtopo30 = 1304;
constexpr int fileTypeGeoTiff = 1305;
constexpr int fileTypeGlobe = 1306;
constexpr int fileTypeXyz = 1307;
constexpr int fileTypeMarsPolar = 1308;

constexpr int commandLoadUsgsDem = 1;
constexpr int commandBuildRawMatrix = 32;
constexpr int commandLoadGlobeTiles = 40;
constexpr int commandLoadMatrixFiles = 41;
constexpr int commandLoadGtopo30Tiles = 42;
constexpr int commandLoadMarsMola = 43;
constexpr int commandLoadSrtmFiles = 45;
constexpr int commandLoadLasCloud = 46;
constexpr int commandLoadXyzPoints = 47;
constexpr int commandLoadMarsPolarMola = 48;

constexpr std::array<std::string_view, 0> noExtensions{};
constexpr std::array<std::string_view, 1> matrixExtensions{".hdr"};
constexpr std::array<std::string_view, 5> usgsExtensions{".dem", ".tar.gz", ".tgz", ".gz", ".tar"};
constexpr std::array<std::string_view, 1> sdtsExtensions{".ddf"};
constexpr std::array<std::string_view, 2> srtmExtensions{".hgt", ".bil"};
constexpr std::array<std::string_view, 2> geoTiffExtensions{".tif", ".tiff"};
constexpr std::array<std::string_view, 1> lasExtensions{".las"};
constexpr std::array<std::string_view, 1> molaExtensions{".img"};

bool claimsExtension(std::span<const std::string_view> extensions, const ImportProbe& probe) {
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view extension) {
        return extension == probe.lastExtension || extension == probe.fullExtension;
    });
}

bool identifyUsgs(const ImportProbe& probe) {
    return claimsExtension(usgsExtensions, probe);
}
bool identifySdts(const ImportProbe& probe) {
    return claimsExtension(sdtsExtensions, probe);
}
bool identifySrtm(const ImportProbe& probe) {
    return claimsExtension(srtmExtensions, probe);
}
bool identifyGeoTiff(const ImportProbe& probe) {
    return claimsExtension(geoTiffExtensions, probe);
}
bool identifyLas(const ImportProbe& probe) {
    return claimsExtension(lasExtensions, probe);
}
// The tile sets are chosen on a map, never by a file's name.
bool identifyNothing(const ImportProbe&) {
    return false;
}
// A header chosen by itself, or a data file with its ".hdr" beside it.
bool identifyMatrix(const ImportProbe& probe) {
    return probe.lastExtension == ".hdr" || probe.headerBeside;
}
bool identifyAnything(const ImportProbe&) {
    return true;
}

// The terrain and its source record, for importers that load from the files given.
ImportOutcome sourced(support::Result<LoadedTerrain> loaded, std::string title,
                      std::string_view format, const ImportRequest& request) {
    if (loaded) {
        loaded->source.title = std::move(title);
        loaded->source.format = std::string(format);
        loaded->source.files = request.files;
    }
    return {std::move(loaded)};
}

std::string nameOf(const fs::path& file) {
    return file.filename().string();
}

Error cannotCombine(const fs::path& first, const fs::path& second, std::string_view reason) {
    return Error{ErrorCode::CannotCombineFiles, "selection",
                 nameOf(first) + " and " + nameOf(second) + std::string(reason)};
}

ImportOutcome loadMatrix(const ImportRequest& request, const support::ProgressCallback& progress) {
    auto files = MatrixFilesFromSelection(request.files);
    if (!files) {
        return {files.error()};
    }
    auto outcome = LoadMatrixFiles(*files, request.temporaryDirectory, progress);
    if (outcome.fallback) {
        return outcome;
    }
    const std::string title = files->size() == 1 ? nameOf(files->front()) : "Merged Matrices";
    ImportRequest loaded = request;
    loaded.files = *files;
    return sourced(std::move(outcome.terrain), title, "matrix", loaded);
}

ImportOutcome loadRaw(const ImportRequest& request, const support::ProgressCallback& progress) {
    if (request.files.empty()) {
        return {Error{ErrorCode::SilentFailure, "no file chosen"}};
    }
    const auto& file = request.files.front();
    auto loaded = BuildRawMatrix(file, request.rawDescription, request.temporaryInput, progress);
    // A temporary input stands for the file the user chose, whose name the window shows.
    auto outcome = sourced(std::move(loaded), request.title.empty() ? nameOf(file) : request.title,
                           "raw", request);
    if (outcome.terrain) {
        outcome.terrain->source.listing = request.listing;
    }
    return outcome;
}

// The UTM zone a GeoTIFF lies in ("11N"), "latitude and longitude", or empty when it cannot be
// read (its own load says why).
std::string zoneOfGeoTiff(const fs::path& file, const ImportRequest& request) {
    auto converted = ConvertGeoTiffDem(file, request.temporaryDirectory, request.rawDescription);
    if (!converted) {
        return {};
    }
    std::error_code ignored;
    fs::remove(converted->gridFile, ignored);
    const auto& description = converted->description;
    return description.coordinateSystem == terrain::ProjectionKind::UTM
               ? description.zoneText
               : std::string("latitude and longitude");
}

// A GeoTIFF DEM is loaded by itself; a second one is refused with the reason that matters most.
Error geoTiffsNotCombined(const ImportRequest& request) {
    const auto& first = request.files[0];
    const auto& second = request.files[1];
    const auto firstZone = zoneOfGeoTiff(first, request);
    const auto secondZone = zoneOfGeoTiff(second, request);
    if (firstZone.empty() || secondZone.empty() || firstZone == secondZone) {
        return cannotCombine(first, second, ": a GeoTIFF DEM is loaded by itself");
    }
    const bool bothUtm = std::isdigit(static_cast<unsigned char>(firstZone.front())) &&
                         std::isdigit(static_cast<unsigned char>(secondZone.front()));
    return cannotCombine(
        first, second,
        (bothUtm ? ": they lie in different UTM zones (" : ": they use different coordinates (") +
            firstZone + " and " + secondZone + ")");
}

ImportOutcome loadGeoTiff(const ImportRequest& request, const support::ProgressCallback&) {
    if (request.files.empty()) {
        return {Error{ErrorCode::SilentFailure, "no file chosen"}};
    }
    if (request.files.size() > 1) {
        return {geoTiffsNotCombined(request)};
    }
    const auto& file = request.files.front();
    auto converted = ConvertGeoTiffDem(file, request.temporaryDirectory, request.rawDescription);
    if (!converted) {
        return {converted.error()};
    }
    RawMatrixFallback fallback{converted->gridFile, std::move(converted->description), true,
                               nameOf(file), std::move(converted->listing)};
    return {Error{ErrorCode::SilentFailure, "handed to the raw matrix builder"},
            std::move(fallback)};
}

// Plain DEMs beside archives have their own message; beside anything else the kinds are named.
Error mixedDemsAndArchives(const std::vector<fs::path>& files) {
    if (auto combined = checkSelection(files); !combined) {
        return combined.error();
    }
    return Error{ErrorCode::CannotMixAsciiAndArchiveDems, ""};
}

ImportOutcome loadUsgs(const ImportRequest& request, const support::ProgressCallback& progress) {
    switch (ClassifyUsgsSelection(request.files, false)) {
        case UsgsSelection::Empty:
            return {Error{ErrorCode::SilentFailure, "no file chosen"}};
        case UsgsSelection::MixedDemsAndArchives:
            return {mixedDemsAndArchives(request.files)};
        case UsgsSelection::SdtsModules:
            return LoadSdtsModules(request.files, request, progress);
        case UsgsSelection::GeoTiff:
            return loadGeoTiff(request, progress);
        case UsgsSelection::GlobeTile:
            return {Error{ErrorCode::SilentFailure, "a GLOBE tile"}, std::nullopt, "globe"};
        case UsgsSelection::Gtopo30Tile:
            return {Error{ErrorCode::SilentFailure, "a GTOPO30 tile"}, std::nullopt, "gtopo30"};
        case UsgsSelection::AsciiDems:
            return LoadAsciiDems(request.files, request, progress);
        case UsgsSelection::Archives:
            return LoadDemArchives(request.files, request, progress);
    }
    return {Error{ErrorCode::SilentFailure, "unreachable"}};
}

ImportOutcome loadSdts(const ImportRequest& request, const support::ProgressCallback& progress) {
    if (ClassifyUsgsSelection(request.files, true) == UsgsSelection::MixedDemsAndArchives) {
        return {mixedDemsAndArchives(request.files)};
    }
    if (request.files.empty()) {
        return {Error{ErrorCode::SilentFailure, "no file chosen"}};
    }
    return LoadSdtsModules(request.files, request, progress);
}

ImportOutcome loadSrtm(const ImportRequest& request, const support::ProgressCallback& progress) {
    auto outcome = LoadSrtmFiles(request.files, progress);
    if (outcome.fallback || request.files.empty()) {
        return outcome;
    }
    return sourced(std::move(outcome.terrain), nameOf(request.files.front()), "srtm", request);
}

ImportOutcome loadGlobalTiles(GlobalDataSet set, const ImportRequest& request,
                              const support::ProgressCallback& progress) {
    const auto area =
        ComputeGlobalArea(request.centreLatitude, request.centreLongitude, request.widthDegrees);
    std::vector<fs::path> located;
    const TileLocator remember = [&](const GlobalTile& tile) {
        auto found = request.locateTile ? request.locateTile(tile) : std::nullopt;
        if (found) {
            located.push_back(*found);
        }
        return found;
    };
    auto loaded = LoadGlobalArea(set, area, request.projection, remember, progress);
    if (!loaded) {
        return {loaded.error()};
    }
    loaded->source.title = TilesForArea(set, area).size() == 1 && !located.empty()
                               ? nameOf(located.back())
                               : "Digital Elevation Model";
    loaded->source.format = set == GlobalDataSet::Globe ? "globe" : "gtopo30";
    loaded->source.files = located;
    return {std::move(loaded)};
}

ImportOutcome loadGlobe(const ImportRequest& request, const support::ProgressCallback& progress) {
    return loadGlobalTiles(GlobalDataSet::Globe, request, progress);
}

ImportOutcome loadGtopo30(const ImportRequest& request, const support::ProgressCallback& progress) {
    return loadGlobalTiles(GlobalDataSet::Gtopo30, request, progress);
}

ImportOutcome loadMola(const ImportRequest& request, const support::ProgressCallback& progress) {
    const MolaMegSet set = request.widthDegrees >= 60 ? MolaMegSet::Meg064 : MolaMegSet::Meg128;
    const auto area = ComputeMolaArea(set, request.centreLatitude, request.centreLongitude);
    auto loaded = LoadMolaMegArea(set, area, request.projection, request.tileFolder, progress);
    if (!loaded) {
        return {loaded.error()};
    }
    loaded->source.title = set == MolaMegSet::Meg064 ? "MOLA MEG 064" : "MOLA MEG 128";
    loaded->source.format = "mola";
    loaded->source.files = {request.tileFolder};
    return {std::move(loaded)};
}

int polarResolutionIndex(int samplesPerDegree) {
    return samplesPerDegree == 512 ? 2 : samplesPerDegree == 256 ? 1 : 0;
}

ImportOutcome loadMolaPolar(const ImportRequest& request,
                            const support::ProgressCallback& progress) {
    const std::string name = MolaPolarFileName(request.pole, request.polarSamplesPerDegree);
    const auto image = request.tileFolder / name;
    auto loaded =
        LoadMolaPolarWindow(image, request.polarSamplesPerDegree, request.polarWindow, progress);
    if (!loaded) {
        return {loaded.error()};
    }
    auto& source = loaded->source;
    source.title = name;
    source.format = "mola-polar";
    source.files = {image};
    source.marsPolarWindow = terrain::MarsPolarWindow{
        polarResolutionIndex(request.polarSamplesPerDegree),
        static_cast<double>(request.polarWindow.firstColumn),
        static_cast<double>(request.polarWindow.firstRow), request.pole == MolaPole::South};
    return {std::move(loaded)};
}

ImportOutcome loadLas(const ImportRequest& request, const support::ProgressCallback& progress) {
    if (request.files.empty()) {
        return {Error{ErrorCode::SilentFailure, "no file chosen"}};
    }
    auto loaded = LoadLasClouds(request.files, request.cloudArea, request.chooseCloudGrid, progress,
                                request.announce);
    const std::string title =
        request.files.size() == 1 ? nameOf(request.files.front()) : "LAS Point Clouds";
    return sourced(std::move(loaded), title, "las", request);
}

ImportOutcome loadXyz(const ImportRequest& request, const support::ProgressCallback& progress) {
    if (request.files.empty()) {
        return {Error{ErrorCode::SilentFailure, "no file chosen"}};
    }
    if (request.files.size() > 1) {
        return {cannotCombine(request.files[0], request.files[1],
                              ": XYZ points are gridded one file at a time")};
    }
    auto loaded =
        LoadXyzPoints(request.files.front(), request.chooseCloudGrid, progress, request.announce);
    return sourced(std::move(loaded), nameOf(request.files.front()), "xyz", request);
}

using LoadFunction = ImportOutcome (*)(const ImportRequest&, const support::ProgressCallback&);

// Every load ends here: a terrain that fails the shared checks is refused with their error,
// and no fallback is offered, since describing the file by hand would give the same terrain.
template <LoadFunction load>
ImportOutcome checked(const ImportRequest& request, const support::ProgressCallback& progress) {
    auto outcome = load(request, progress);
    if (outcome.terrain) {
        if (auto passed = CheckLoadedTerrain(outcome.terrain.value()); !passed) {
            return {passed.error()};
        }
    }
    return outcome;
}

// Probing order: formats known by their extension, then a data file with a header beside it,
// then the raw matrix builder. Records without a load are named but not built yet.
constexpr std::array importers{
    ImporterRecord{"srtm", fileTypeSrtm, commandLoadSrtmFiles, 0, srtmExtensions, identifySrtm,
                   checked<loadSrtm>},
    ImporterRecord{"usgs", fileTypeUsgsDem, commandLoadUsgsDem, 0, usgsExtensions, identifyUsgs,
                   checked<loadUsgs>},
    ImporterRecord{"sdts", fileTypeUsgsDem, commandLoadUsgsDem, 1, sdtsExtensions, identifySdts,
                   checked<loadSdts>},
    ImporterRecord{"geotiff", fileTypeGeoTiff, commandLoadUsgsDem, 0, geoTiffExtensions,
                   identifyGeoTiff, checked<loadGeoTiff>},
    ImporterRecord{"las", fileTypeLidar, commandLoadLasCloud, 0, lasExtensions, identifyLas,
                   checked<loadLas>},
    ImporterRecord{"xyz", fileTypeXyz, commandLoadXyzPoints, 0, noExtensions, identifyNothing,
                   checked<loadXyz>},
    ImporterRecord{"globe", fileTypeGlobe, commandLoadGlobeTiles, 0, noExtensions, identifyNothing,
                   checked<loadGlobe>},
    ImporterRecord{"gtopo30", fileTypeGtopo30, commandLoadGtopo30Tiles, 0, noExtensions,
                   identifyNothing, checked<loadGtopo30>},
    ImporterRecord{"mola", fileTypeMarsMola, commandLoadMarsMola, 0, molaExtensions,
                   identifyNothing, checked<loadMola>},
    ImporterRecord{"mola-polar", fileTypeMarsPolar, commandLoadMarsPolarMola, 0, molaExtensions,
                   identifyNothing, checked<loadMolaPolar>},
    ImporterRecord{"matrix", fileTypeMatrix, commandLoadMatrixFiles, 0, matrixExtensions,
                   identifyMatrix, checked<loadMatrix>},
    ImporterRecord{"raw", 0, commandBuildRawMatrix, 0, noExtensions, identifyAnything,
                   checked<loadRaw>},
};

constexpr std::size_t firstBytesRead = 64;

}  // namespace

ImportProbe ProbeFile(const fs::path& file) {
    ImportProbe probe;
    probe.file = file;
    const std::string name = file.filename().string();
    const auto dot = name.find('.');
    if (dot != std::string::npos && dot > 0) {
        probe.fullExtension = support::lowerCase(name.substr(dot));
    }
    probe.lastExtension = support::lowerExtension(file);
    if (probe.lastExtension != ".hdr") {
        std::error_code ignored;
        auto header = file;
        probe.headerBeside = fs::exists(header.replace_extension(".hdr"), ignored);
    }
    if (auto handle = support::openForReading(file)) {
        probe.firstBytes.resize(firstBytesRead);
        probe.firstBytes.resize(
            std::fread(probe.firstBytes.data(), 1, firstBytesRead, handle.get()));
    }
    return probe;
}

std::span<const ImporterRecord> Importers() {
    return importers;
}

const ImporterRecord* importerFor(std::string_view key) {
    const auto found =
        std::find_if(importers.begin(), importers.end(),
                     [key](const ImporterRecord& record) { return record.key == key; });
    return found == importers.end() ? nullptr : &*found;
}

const ImporterRecord* importerForFileType(int fileType) {
    // "sdts" shares the USGS radio button; the button means the USGS importer.
    const auto found =
        std::find_if(importers.begin(), importers.end(), [fileType](const ImporterRecord& record) {
            return record.fileType == fileType && fileType != 0 && record.key != "sdts";
        });
    return found == importers.end() ? nullptr : &*found;
}

namespace {

const ImporterRecord& identifyProbe(const ImportProbe& probe) {
    return *std::find_if(importers.begin(), importers.end(),
                         [&probe](const ImporterRecord& record) { return record.identify(probe); });
}

// What the user calls the files an importer takes, for naming them in a refusal.
std::string kindOf(const ImporterRecord& importer, const ImportProbe& probe) {
    const std::string_view key = importer.key;
    if (key == "usgs") {
        return probe.lastExtension == ".dem" ? "USGS DEM" : "DEM archive";
    }
    const std::pair<std::string_view, std::string_view> kinds[] = {
        {"srtm", "SRTM tile"},      {"sdts", "SDTS transfer"},    {"geotiff", "GeoTIFF DEM"},
        {"las", "LAS point cloud"}, {"matrix", "terrain matrix"}, {"raw", "headerless grid"}};
    for (const auto& [kindKey, kind] : kinds) {
        if (kindKey == key) {
            return std::string(kind);
        }
    }
    return std::string(key);
}

}  // namespace

const ImporterRecord& identifyFiles(const std::vector<fs::path>& files) {
    if (files.empty()) {
        return *importerFor("raw");
    }
    return identifyProbe(ProbeFile(files.front()));
}

support::Status checkSelection(const std::vector<fs::path>& files) {
    if (files.size() < 2) {
        return support::success();
    }
    const ImportProbe first = ProbeFile(files.front());
    const ImporterRecord& importer = identifyProbe(first);
    for (std::size_t index = 1; index < files.size(); ++index) {
        const ImportProbe later = ProbeFile(files[index]);
        const ImporterRecord& laterImporter = identifyProbe(later);
        if (&laterImporter != &importer) {
            return Error{ErrorCode::CannotCombineFiles, "kinds differ",
                         nameOf(files.front()) + " (" + kindOf(importer, first) +
                             ") cannot be combined with " + nameOf(files[index]) + " (" +
                             kindOf(laterImporter, later) + ")"};
        }
    }
    return support::success();
}

std::vector<std::string_view> importerKeys() {
    std::vector<std::string_view> keys;
    for (const auto& record : importers) {
        keys.push_back(record.key);
    }
    return keys;
}

}  // namespace tavrok::importers

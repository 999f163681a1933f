#include "importers/MatrixImporter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cmath>
#include <limits>
#include <new>

#include "geodesy/Utm.h"
#include "importers/GeographicScale.h"
#include "importers/MatrixHeader.h"
#include "importers/MatrixMerge.h"
#include "importers/MatrixSamples.h"
#include "importers/ParallelParts.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

// Elevations above this many metres cannot be terrain.
constexpr float highestUsableElevation = 100000.0f;
constexpr double metresPerFoot = 0.3048;
// Starting extremes of the minimum and maximum search.
constexpr float minimumStart = 1000000.0f;
constexpr float maximumStart = -1000000.0f;

Result<MatrixHeader> ReadHeaderBeside(const std::filesystem::path& dataPath) {
    auto headerPath = dataPath;
    headerPath.replace_extension(".hdr");
    auto file = OpenForReading(headerPath);
    const auto size = FileSizeOf(headerPath);
    if (!file || !size) {
        return Error{ErrorCode::SilentFailure, "no header " + headerPath.string()};
    }
    auto text = ReadRest(file.get(), *size);
    if (!text) {
        return text.error();
    }
    return ParseMatrixHeader(text.value());
}

// The geographic bounds of a UTM matrix: the extremes of its four converted corners.
support::Status DescribeUtmCorners(const MatrixHeader& header, MatrixFileRecord& record) {
    geodesy::UtmConverter converter;
    if (converter.setUtmParameters(header.ellipsoid, 0) != 0) {
        return Error{ErrorCode::SilentFailure, "ellipsoid"};
    }
    const auto zoneText = std::to_string(header.zone) + header.hemisphere;
    const double corners[4][2] = {{header.left, header.lower},
                                  {header.left, header.upper},
                                  {header.right, header.upper},
                                  {header.right, header.lower}};
    record.lowerLatitude = record.leftLongitude = std::numeric_limits<double>::max();
    record.upperLatitude = record.rightLongitude = std::numeric_limits<double>::lowest();
    for (const auto& corner : corners) {
        const auto point = converter.utmToLatLon(zoneText, corner[0], corner[1]);
        if (point.flags != 0) {
            return Error{ErrorCode::SilentFailure, "UTM corner cannot be converted"};
        }
        record.lowerLatitude = std::min(record.lowerLatitude, point.latitude);
        record.upperLatitude = std::max(record.upperLatitude, point.latitude);
        record.leftLongitude = std::min(record.leftLongitude, point.longitude);
        record.rightLongitude = std::max(record.rightLongitude, point.longitude);
    }
    return support::success();
}

void DescribeGeographic(const MatrixHeader& header, MatrixFileRecord& record) {
    const double centreLatitude = header.lower + (header.upper - header.lower) / 2;
    record.lowerLatitude = header.lower;
    record.upperLatitude = header.upper;
    record.leftLongitude = header.left;
    record.rightLongitude = header.right;
    record.latitudeSpacing = (header.upper - header.lower) / (header.rows - 1);
    record.longitudeSpacing = (header.right - header.left) / (header.columns - 1);
    record.spacingX = static_cast<float>(record.longitudeSpacing * arcSecondsPerDegree);
    record.spacingY = static_cast<float>(record.latitudeSpacing * arcSecondsPerDegree);
    double scale = MetresPerArcSecondOfLongitude(centreLatitude);
    // Cells that are not square in degrees shrink once more toward the poles; a sinusoidal
    // grid's columns are square at every latitude already.
    const double comparedLongitudeSpacing = header.projection == ProjectionKind::Sinusoidal
                                                ? record.latitudeSpacing
                                                : record.longitudeSpacing;
    if (static_cast<int>(static_cast<float>(record.latitudeSpacing) * 100000) !=
        static_cast<int>(static_cast<float>(comparedLongitudeSpacing) * 100000)) {
        scale *= std::cos(centreLatitude / scaleDegreesPerRadian);
    }
    record.metresPerUnitX = static_cast<float>(scale);
}

void DescribeProjected(const MatrixHeader& header, MatrixFileRecord& record) {
    record.left = static_cast<int>(header.left);
    record.right = static_cast<int>(header.right);
    record.upper = static_cast<int>(header.upper);
    record.lower = static_cast<int>(header.lower);
    record.spacingX = static_cast<float>((header.right - header.left) / (header.columns - 1));
    record.spacingY = static_cast<float>((header.upper - header.lower) / (header.rows - 1));
    record.metresPerUnitX = 1.0f;
}

Result<MatrixFileRecord> DescribeMatrix(const MatrixHeader& header) {
    MatrixFileRecord record;
    if (header.projection == ProjectionKind::UTM) {
        if (auto converted = DescribeUtmCorners(header, record); !converted) {
            return converted.error();
        }
    }
    if (auto valid = header.validate(); !valid) {
        return valid.error();
    }
    if (header.geographic()) {
        DescribeGeographic(header, record);
    } else {
        DescribeProjected(header, record);
    }
    record.title = header.title;
    record.projection = header.projection;
    record.dataType = header.dataType;
    if (header.projection == ProjectionKind::UTM) {
        record.zoneText = header.zoneText;
        record.hemisphere = header.hemisphere;
    }
    record.ellipsoid = header.ellipsoid;
    record.rows = header.rows;
    record.columns = header.columns;
    record.missingFlag = header.missingFlag;
    record.verticalUnitFactor = 1.0f;
    return record;
}

std::size_t BytesPerSample(MatrixEncoding encoding) {
    return encoding == MatrixEncoding::Int16 ? 2 : encoding == MatrixEncoding::Float32 ? 4 : 0;
}

support::Status CheckDataSize(const MatrixHeader& header, std::uint64_t fileSize) {
    const auto samples = static_cast<std::uint64_t>(header.rows) * header.columns;
    const auto bytesPerSample = BytesPerSample(header.encoding);
    const bool fits = bytesPerSample == 0
                          ? fileSize >= FewestAsciiBytes(samples)
                          : fileSize % bytesPerSample == 0 && fileSize / bytesPerSample == samples;
    if (!fits) {
        return Error{ErrorCode::ImproperRowsOrColumns, "data file size does not fit"};
    }
    return support::success();
}

struct ElevationRange {
    float minimum = minimumStart;
    float maximum = maximumStart;
};

// Marks missing samples (the file's flag, NaN, infinities) as NaN, turns feet into metres and
// finds the extremes of the rest. Samples are scanned right after they arrive, while they are
// still in the cache, and the scanner reports progress and hears a stop.
class SampleScanner {
  public:
    // total: the samples this scanner will see, counted as half of the work it reports.
    SampleScanner(const MatrixHeader& header, long total, support::ProgressCallback progress)
        : m_flag(static_cast<float>(header.missingFlag)),
          m_feet(header.elevationUnit == terrain::ElevationUnit::Feet),
          m_total(2 * total),
          m_progress(std::move(progress)) {}

    bool scan(std::span<float> samples) {
        markMissing(samples);
        if (m_feet) {
            for (float& sample : samples) {
                sample = static_cast<float>(sample * metresPerFoot);
            }
        }
        trackExtremes(samples);
        m_done += static_cast<long>(samples.size());
        return support::reportProgress(m_progress, m_done, m_total);
    }
    const ElevationRange& range() const { return m_range; }
    void expect(long samples) { m_total = 2 * samples; }
    // Takes in the extremes another scanner found.
    void include(const ElevationRange& other) {
        m_range.minimum = std::min(m_range.minimum, other.minimum);
        m_range.maximum = std::max(m_range.maximum, other.maximum);
    }

  private:
    void markMissing(std::span<float> samples) const {
        constexpr float largest = std::numeric_limits<float>::max();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (float& sample : samples) {
            sample = (sample == m_flag || !(std::fabs(sample) <= largest)) ? nan : sample;
        }
    }

    // Several independent running extremes let the compiler use vector instructions; a NaN
    // sample never wins a comparison and so leaves them alone.
    void trackExtremes(std::span<const float> samples) {
        constexpr std::size_t lanes = 16;
        std::array<float, lanes> low;
        std::array<float, lanes> high;
        low.fill(m_range.minimum);
        high.fill(m_range.maximum);
        std::size_t index = 0;
        for (; index + lanes <= samples.size(); index += lanes) {
            for (std::size_t lane = 0; lane < lanes; ++lane) {
                const float sample = samples[index + lane];
                low[lane] = sample < low[lane] ? sample : low[lane];
                high[lane] = sample > high[lane] ? sample : high[lane];
            }
        }
        for (; index < samples.size(); ++index) {
            low[0] = std::min(low[0], samples[index]);
            high[0] = std::max(high[0], samples[index]);
        }
        m_range.minimum = *std::min_element(low.begin(), low.end());
        m_range.maximum = *std::max_element(high.begin(), high.end());
    }

    float m_flag;
    bool m_feet;
    long m_total;
    long m_done = 0;
    support::ProgressCallback m_progress;
    ElevationRange m_range;
};

Error Stopped() {
    return Error{ErrorCode::OperationCancelled, "matrix reading"};
}

// Int16 rows; the legacy layout stores the northernmost row first.
support::Status ReadInt16Samples(std::FILE* file, const MatrixHeader& header,
                                 terrain::TerrainModel& grid, SampleScanner& scanner) {
    std::vector<std::int16_t> samples;
    try {
        samples.resize(grid.cells().size());
    } catch (const std::bad_alloc&) {
        return Error{ErrorCode::NotEnoughMemory, "int16 buffer"};
    }
    if (!ReadExactly(file, samples.data(), samples.size() * sizeof(std::int16_t))) {
        return Error{ErrorCode::FileError, "short int16 read"};
    }
    if constexpr (littleEndianNeedsSwap) {
        ReverseBytes(std::span(reinterpret_cast<std::uint16_t*>(samples.data()), samples.size()));
    }
    const auto columns = static_cast<std::size_t>(grid.columns());
    for (int fileRow = 0; fileRow < grid.rows(); ++fileRow) {
        const auto* source = samples.data() + fileRow * columns;
        auto target = grid.row(header.northFirst ? grid.rows() - 1 - fileRow : fileRow);
        std::copy(source, source + columns, target.begin());
        if (!scanner.scan(target)) {
            return Stopped();
        }
    }
    return support::success();
}

// Each core reads its share of the samples in pieces that stay in the cache until they are
// scanned.
support::Status ReadFloat32Samples(std::FILE* file, const MatrixHeader& header,
                                   terrain::TerrainModel& grid, SampleScanner& scanner) {
    constexpr std::size_t samplesPerPiece = 64 * 1024;
    const auto cells = grid.cells();
    std::vector<SampleScanner> scanners(PartsFor(cells.size()), SampleScanner(header, 0, {}));
    std::atomic<bool> shortRead = false;
    const bool finished =
        RunInParts(cells.size(), 1, [&](std::size_t part, std::size_t first, std::size_t last) {
            auto& partScanner = part == 0 ? scanner : scanners[part];
            if (part == 0) {
                partScanner.expect(static_cast<long>(last - first));
            }
            for (auto begin = first; begin < last; begin += samplesPerPiece) {
                const auto piece = cells.subspan(begin, std::min(samplesPerPiece, last - begin));
                if (!ReadAt(file, piece.data(), piece.size_bytes(), begin * sizeof(float))) {
                    shortRead = true;
                    return false;
                }
                if constexpr (littleEndianNeedsSwap) {
                    ReverseBytes(
                        std::span(reinterpret_cast<std::uint32_t*>(piece.data()), piece.size()));
                }
                if (!partScanner.scan(piece)) {
                    return false;
                }
            }
            return true;
        });
    if (shortRead) {
        return Error{ErrorCode::FileError, "short float32 read"};
    }
    if (!finished) {
        return Stopped();
    }
    for (const auto& helper : scanners) {
        scanner.include(helper.range());
    }
    return support::success();
}

support::Status ReadAsciiSamples(std::FILE* file, std::uint64_t fileSize,
                                 terrain::TerrainModel& grid, SampleScanner& scanner) {
    auto text = ReadRest(file, fileSize);
    if (!text) {
        return text.error();
    }
    auto cells = grid.cells();
    const auto stored = ParseDecimals(
        text.value(), cells.size(),
        [&](std::size_t index, double value) { cells[index] = static_cast<float>(value); });
    if (stored != cells.size()) {
        return Error{ErrorCode::ImproperRowsOrColumns, "too few numbers in the ASCII matrix"};
    }
    return scanner.scan(cells) ? support::success() : support::Status(Stopped());
}

struct ScannedGrid {
    terrain::TerrainModel grid;
    ElevationRange range;
};

Result<ScannedGrid> ReadSamples(const std::filesystem::path& dataPath, const MatrixHeader& header,
                                const support::ProgressCallback& progress) {
    auto file = OpenForReading(dataPath);
    const auto fileSize = FileSizeOf(dataPath);
    if (!file || !fileSize) {
        return Error{ErrorCode::CannotOpenFile, dataPath.string()};
    }
    if (auto fits = CheckDataSize(header, *fileSize); !fits) {
        return fits.error();
    }
    auto grid = terrain::TerrainModel::create(header.rows, header.columns);
    if (!grid) {
        return grid.error();
    }
    SampleScanner scanner(header, static_cast<long>(grid->cells().size()), progress);
    support::Status read = support::success();
    switch (header.encoding) {
        case MatrixEncoding::Int16:
            read = ReadInt16Samples(file.get(), header, grid.value(), scanner);
            break;
        case MatrixEncoding::Float32:
            read = ReadFloat32Samples(file.get(), header, grid.value(), scanner);
            break;
        case MatrixEncoding::Ascii:
            read = ReadAsciiSamples(file.get(), *fileSize, grid.value(), scanner);
            break;
    }
    if (!read) {
        return read.error();
    }
    return ScannedGrid{std::move(grid.value()), scanner.range()};
}

// Heights are stored above the minimum; depths below the maximum so that the deepest point
// becomes the lowest, and the range turns into negative elevations.
support::Status StoreRelativeToMinimum(terrain::TerrainModel& grid, terrain::DataType dataType,
                                       ElevationRange& range,
                                       const support::ProgressCallback& progress) {
    const bool depth = dataType == terrain::DataType::Depth;
    const float base = depth ? range.maximum : range.minimum;
    const float sign = depth ? -1.0f : 1.0f;
    const long cells = static_cast<long>(grid.cells().size());
    constexpr std::size_t rowsPerReport = 64;
    const auto rows = static_cast<std::size_t>(grid.rows());
    const bool finished = RunInParts(
        rows, static_cast<std::size_t>(grid.columns()),
        [&](std::size_t part, std::size_t first, std::size_t last) {
            for (auto row = first; row < last; ++row) {
                for (float& sample : grid.row(static_cast<int>(row))) {
                    const float relative = (sample - base) * sign;
                    sample = sample == sample ? relative : terrain::missingCell;  // NaN is missing
                }
                const auto done = row + 1 - first;
                if (part == 0 && (done % rowsPerReport == 0 || row + 1 == last) &&
                    !support::reportProgress(progress, cells + cells * done / (last - first),
                                             2 * cells)) {
                    return false;
                }
            }
            return true;
        });
    if (!finished) {
        return Error{ErrorCode::OperationCancelled, "matrix conversion"};
    }
    if (depth) {
        range = {-range.maximum, -range.minimum};
    }
    return support::success();
}

bool EndsWithFolded(const std::filesystem::path& path, std::string_view lowerExtension) {
    auto extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == lowerExtension;
}

bool IsSideFile(const std::filesystem::path& path) {
    return EndsWithFolded(path, ".hdr") || EndsWithFolded(path, ".dem");
}

// Failures of a single file that still leave the user a chance to describe it by hand.
bool HeaderWasUnusable(ErrorCode code) {
    return code != ErrorCode::CannotLoadMatrixFile && code != ErrorCode::CannotLoadTemporaryFiles &&
           code != ErrorCode::OperationCancelled;
}

ImportOutcome LoadSingleMatrix(const std::filesystem::path& path,
                               const support::ProgressCallback& progress) {
    auto record = ReadMatrixFile(path, progress);
    if (!record) {
        if (HeaderWasUnusable(record.error().code)) {
            return {record.error(), DescribeByHand(path)};
        }
        return {record.error()};
    }
    return {LoadedTerrain{std::move(record->grid), HeaderFromRecord(record.value())}};
}

}  // namespace

support::Result<MatrixFileRecord> ReadMatrixFile(const std::filesystem::path& dataPath,
                                                 const support::ProgressCallback& progress) {
    auto header = ReadHeaderBeside(dataPath);
    if (!header) {
        return header.error();
    }
    auto record = DescribeMatrix(header.value());
    if (!record) {
        return record.error();
    }
    auto scanned = ReadSamples(dataPath, header.value(), progress);
    if (!scanned) {
        return scanned.error();
    }
    auto& [grid, range] = scanned.value();
    auto stored = StoreRelativeToMinimum(grid, header->dataType, range, progress);
    if (!stored) {
        return stored.error();
    }
    if (!(range.minimum < range.maximum && range.maximum <= highestUsableElevation)) {
        return Error{ErrorCode::CannotLoadMatrixFile, "elevation range unusable"};
    }
    record->minElevation = range.minimum;
    record->maxElevation = range.maximum;
    record->grid = std::move(grid);
    return record;
}

terrain::TerrainHeader HeaderFromRecord(const MatrixDescription& record) {
    terrain::TerrainHeader header;
    header.rows = record.rows;
    header.columns = record.columns;
    header.projection = record.projection;
    header.dataType = record.dataType;
    header.ellipsoid = record.ellipsoid;
    header.ellipsoidCode = geodesy::datumCodeFor(record.ellipsoid);
    const bool geographic = record.projection == ProjectionKind::LatLon ||
                            record.projection == ProjectionKind::Sinusoidal;
    header.gridKind = record.projection == ProjectionKind::XY ? terrain::gridKindMatrix
                      : record.projection == ProjectionKind::Sinusoidal
                          ? terrain::gridKindSinusoidal
                          : terrain::gridKindDem;
    header.coordinateType =
        geographic ? terrain::coordinateTypeGeographic : terrain::coordinateTypeUtm;
    if (record.projection == ProjectionKind::UTM) {
        header.hemisphere = record.hemisphere;
        header.zoneText = record.zoneText;
        header.utmZone = std::atoi(record.zoneText.c_str());
    }
    if (geographic) {
        header.westBound = WholeArcSeconds(record.leftLongitude);
        header.eastBound = WholeArcSeconds(record.rightLongitude);
        header.southBound = WholeArcSeconds(record.lowerLatitude);
        header.northBound = WholeArcSeconds(record.upperLatitude);
    } else {
        header.westBound = record.left;
        header.eastBound = record.right;
        header.southBound = record.lower;
        header.northBound = record.upper;
    }
    header.westLon = static_cast<float>(record.leftLongitude);
    header.eastLon = static_cast<float>(record.rightLongitude);
    header.southLat = static_cast<float>(record.lowerLatitude);
    header.northLat = static_cast<float>(record.upperLatitude);
    header.originX = header.westBound;
    header.originY = header.southBound;
    header.maxX = header.eastBound;
    header.maxY = header.northBound;
    header.spacingX = record.spacingX;
    header.spacingY = record.spacingY;
    header.metresPerUnitX = record.metresPerUnitX;
    header.verticalUnitFactor = record.verticalUnitFactor;
    // Feet were turned into metres while reading.
    header.elevationUnit = terrain::ElevationUnit::Meters;
    header.minElevation = record.minElevation;
    header.maxElevation = record.maxElevation;
    header.missingFlag = record.missingFlag;
    header.title = record.title;
    if (record.projection == ProjectionKind::Sinusoidal) {
        header.degreesPerRow = static_cast<float>(record.latitudeSpacing);
        header.degreesPerColumn = static_cast<float>(record.longitudeSpacing);
        header.sinusoidalCentralMeridian =
            static_cast<float>((record.leftLongitude + record.rightLongitude) / 2);
    }
    return header;
}

ImportOutcome LoadMatrixFiles(const std::vector<std::filesystem::path>& paths,
                              const std::filesystem::path& temporaryDirectory,
                              const support::ProgressCallback& progress) {
    try {
        if (paths.empty()) {
            return {Error{ErrorCode::NoValidMatrixFiles, "empty list"}};
        }
        if (paths.size() == 1) {
            return LoadSingleMatrix(paths.front(), progress);
        }
        return {MergeMatrixFiles(paths, temporaryDirectory, progress)};
    } catch (const std::bad_alloc&) {
        return {Error{ErrorCode::NotEnoughMemory, "matrix load"}};
    } catch (const std::exception& failure) {
        return {Error{ErrorCode::FileError, failure.what()}};
    }
}

support::Result<std::vector<std::filesystem::path>> MatrixFilesFromSelection(
    const std::vector<std::filesystem::path>& selection) {
    if (selection.size() == 1 && IsSideFile(selection.front())) {
        return Error{ErrorCode::FileIsNotValidMatrix, selection.front().string()};
    }
    std::vector<std::filesystem::path> dataFiles;
    std::copy_if(selection.begin(), selection.end(), std::back_inserter(dataFiles),
                 [](const auto& path) { return !IsSideFile(path); });
    if (dataFiles.empty()) {
        return Error{ErrorCode::NoValidMatrixFiles, "no data files selected"};
    }
    return dataFiles;
}

}  // namespace tavrok::importers

#include "importers/MatrixImporter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cctype>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "geodesy/Utm.h"
#include "importers/GeographicScale.h"
#include "importers/LoadedTerrainCheck.h"
#include "importers/MatrixHeader.h"
#include "importers/MatrixMerge.h"
#include "importers/MatrixSamples.h"
#include "support/FileHandle.h"
#include "support/ParallelLoop.h"
#include "support/Text.h"
#include "support/Units.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;
using terrain::ProjectionKind;

using support::metresPerFoot;
// Starting extremes of the minimum and maximum search.
constexpr float minimumStart = 1000000.0f;
constexpr float maximumStart = -1000000.0f;

Result<MatrixHeader> ReadHeaderBeside(const std::filesystem::path& dataPath) {
    auto headerPath = dataPath;
    headerPath.replace_extension(".hdr");
    auto file = support::openForReading(headerPath);
    const auto size = support::fileSizeOf(headerPath);
    if (!file || !size) {
        return Error{ErrorCode::SilentFailure, "no header " + headerPath.string(),
                     support::readProblem(headerPath)};
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
        record.lowerLatitude = std::min(record.lowerLatitude, point.latitudeDegrees);
        record.upperLatitude = std::max(record.upperLatitude, point.latitudeDegrees);
        record.leftLongitude = std::min(record.leftLongitude, point.longitudeDegrees);
        record.rightLongitude = std::max(record.rightLongitude, point.longitudeDegrees);
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

// What the first pass learns about the samples: the extremes of the present ones (metres) and
// how many are missing. Each part of the grid summarises its own samples; the summaries are
// combined afterwards, and neither extremes nor counts depend on the order of combining.
struct SampleSummary {
    float minimum = minimumStart;
    float maximum = maximumStart;
    long missing = 0;

    void include(const SampleSummary& other) {
        minimum = std::min(minimum, other.minimum);
        maximum = std::max(maximum, other.maximum);
        missing += other.missing;
    }
};

// Samples are converted and scanned in blocks of this many independent lanes: the loops over
// a block have no branch and a fixed length, so the compiler turns them into vector
// instructions.
constexpr std::size_t lanes = 16;
constexpr std::uint32_t exponentBits = 0x7f800000u;  // all set: an infinity or a NaN
constexpr std::uint32_t quietNanBits =
    std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN());

// `chosen` where `condition` holds, `otherwise` elsewhere, without a branch.
float Select(bool condition, std::uint32_t chosen, float otherwise) {
    const std::uint32_t mask = 0u - static_cast<std::uint32_t>(condition);
    return std::bit_cast<float>((std::bit_cast<std::uint32_t>(otherwise) & ~mask) |
                                (chosen & mask));
}

// A missing sample (the file's flag, NaN, an infinity) becomes NaN and is counted; feet become
// metres.
template <bool feet>
float Convert(float sample, float flag, int& missing) {
    const auto bits = std::bit_cast<std::uint32_t>(sample);
    const bool absent = (sample == flag) | ((bits & exponentBits) == exponentBits);
    missing += absent ? 1 : 0;
    const float present = Select(absent, quietNanBits, sample);
    if constexpr (feet) {
        return static_cast<float>(present * metresPerFoot);
    }
    return present;
}

// Marks missing samples (the file's flag, NaN, infinities) as NaN, turns feet into metres and
// summarises the rest. Samples are scanned right after they arrive, while they are still in the
// cache.
class SampleScanner {
  public:
    explicit SampleScanner(const MatrixHeader& header)
        : m_flag(static_cast<float>(header.missingFlag)),
          m_feet(header.elevationUnit == terrain::ElevationUnit::Feet) {}

    void scan(std::span<float> samples) {
        // The per-lane counts of one block run stay far below their limit.
        constexpr std::size_t samplesPerRun = std::size_t{1} << 24;
        for (std::size_t first = 0; first < samples.size(); first += samplesPerRun) {
            const auto run =
                samples.subspan(first, std::min(samplesPerRun, samples.size() - first));
            m_feet ? scanLanes<true>(run) : scanLanes<false>(run);
        }
        m_scanned += static_cast<long>(samples.size());
    }
    const SampleSummary& summary() const { return m_summary; }
    long scanned() const { return m_scanned; }

  private:
    // A NaN never wins a comparison and so leaves the extremes alone.
    template <bool feet>
    void scanLanes(std::span<float> samples) {
        std::array<float, lanes> low;
        std::array<float, lanes> high;
        std::array<int, lanes> missing{};
        low.fill(m_summary.minimum);
        high.fill(m_summary.maximum);
        // A local copy: the samples written below could otherwise alias the member.
        const float flag = m_flag;
        const auto visit = [&](float& sample, std::size_t lane) {
            const float metres = Convert<feet>(sample, flag, missing[lane]);
            sample = metres;
            low[lane] = metres < low[lane] ? metres : low[lane];
            high[lane] = metres > high[lane] ? metres : high[lane];
        };
        std::size_t index = 0;
        for (; index + lanes <= samples.size(); index += lanes) {
            for (std::size_t lane = 0; lane < lanes; ++lane) {
                visit(samples[index + lane], lane);
            }
        }
        for (; index < samples.size(); ++index) {
            visit(samples[index], 0);
        }
        m_summary.minimum = *std::min_element(low.begin(), low.end());
        m_summary.maximum = *std::max_element(high.begin(), high.end());
        for (const int count : missing) {
            m_summary.missing += count;
        }
    }

    float m_flag;
    bool m_feet;
    long m_scanned = 0;
    SampleSummary m_summary;
};

Error Stopped() {
    return Error{ErrorCode::OperationCancelled, "matrix reading"};
}

// Below this many samples a second thread costs more than it saves.
constexpr std::size_t smallestSharedGrid = std::size_t{1} << 20;
// Samples read and scanned at a time: small enough to stay in the cache between the two.
constexpr long samplesPerPiece = 64 * 1024;

int ThreadsFor(const terrain::TerrainModel& grid) {
    return grid.cells().size() < smallestSharedGrid ? 1 : support::defaultThreadCount();
}

// The first pass over the binary samples: every part reads its share of the file's rows in
// pieces, converts them in the grid's memory and scans them. Each cell is written by exactly
// one thread, so the grid's fresh pages are also touched (and cleared by the kernel) on all of
// them. Part 0 reports the first half of the progress.
class BinaryReader {
  public:
    BinaryReader(std::FILE* file, const MatrixHeader& header, terrain::TerrainModel& grid,
                 const support::ProgressCallback& progress)
        : m_file(file),
          m_header(header),
          m_grid(grid),
          m_progress(progress),
          m_rowsPerPiece(std::max(1L, samplesPerPiece / grid.columns())) {}

    support::Result<SampleSummary> read() {
        const int threads = ThreadsFor(m_grid);
        std::vector<SampleScanner> scanners(static_cast<std::size_t>(threads),
                                            SampleScanner(m_header));
        std::vector<std::vector<std::int16_t>> buffers(static_cast<std::size_t>(threads));
        if (m_header.encoding == MatrixEncoding::Int16) {
            for (auto& buffer : buffers) {
                buffer.resize(static_cast<std::size_t>(m_rowsPerPiece * m_grid.columns()));
            }
        }
        const bool finished =
            support::parallelParts(0, m_grid.rows(), threads, [&](int part, long first, long last) {
                const auto index = static_cast<std::size_t>(part);
                return readRows(part, first, last, scanners[index], buffers[index]);
            });
        if (m_shortRead) {
            return Error{ErrorCode::FileError, "short matrix read"};
        }
        if (!finished) {
            return Stopped();
        }
        SampleSummary summary;
        for (const auto& scanner : scanners) {
            summary.include(scanner.summary());
        }
        return summary;
    }

  private:
    bool readRows(int part, long first, long last, SampleScanner& scanner,
                  std::vector<std::int16_t>& buffer) {
        const long total = 2 * (last - first) * m_grid.columns();
        for (long row = first; row < last; row += m_rowsPerPiece) {
            const long end = std::min(last, row + m_rowsPerPiece);
            const bool read = buffer.empty() ? readFloat32(row, end, scanner)
                                             : readInt16(row, end, scanner, buffer);
            if (!read) {
                m_shortRead = true;
                return false;
            }
            if (part == 0 && !support::reportProgress(m_progress, scanner.scanned(), total)) {
                return false;
            }
        }
        return true;
    }

    std::uint64_t offsetOf(long fileRow, std::size_t bytesPerSample) const {
        return static_cast<std::uint64_t>(fileRow) * static_cast<std::uint64_t>(m_grid.columns()) *
               bytesPerSample;
    }

    // Float32 rows are stored south first, as the grid holds them: they are read straight into
    // their cells.
    bool readFloat32(long first, long last, SampleScanner& scanner) {
        const auto columns = static_cast<std::size_t>(m_grid.columns());
        const auto piece = m_grid.cells().subspan(static_cast<std::size_t>(first) * columns,
                                                  static_cast<std::size_t>(last - first) * columns);
        if (!ReadAt(m_file, piece.data(), piece.size_bytes(), offsetOf(first, 4))) {
            return false;
        }
        if constexpr (littleEndianNeedsSwap) {
            ReverseBytes(std::span(reinterpret_cast<std::uint32_t*>(piece.data()), piece.size()));
        }
        scanner.scan(piece);
        return true;
    }

    // Int16 rows; the legacy layout stores the northernmost row first.
    bool readInt16(long first, long last, SampleScanner& scanner,
                   std::vector<std::int16_t>& buffer) {
        const auto columns = static_cast<std::size_t>(m_grid.columns());
        const auto samples =
            std::span(buffer).first(static_cast<std::size_t>(last - first) * columns);
        if (!ReadAt(m_file, samples.data(), samples.size_bytes(), offsetOf(first, 2))) {
            return false;
        }
        if constexpr (littleEndianNeedsSwap) {
            ReverseBytes(
                std::span(reinterpret_cast<std::uint16_t*>(samples.data()), samples.size()));
        }
        for (long fileRow = first; fileRow < last; ++fileRow) {
            const auto source =
                samples.subspan(static_cast<std::size_t>(fileRow - first) * columns, columns);
            const auto row = static_cast<int>(fileRow);
            auto target = m_grid.row(m_header.northFirst ? m_grid.rows() - 1 - row : row);
            std::copy(source.begin(), source.end(), target.begin());
            scanner.scan(target);
        }
        return true;
    }

    std::FILE* m_file;
    const MatrixHeader& m_header;
    terrain::TerrainModel& m_grid;
    const support::ProgressCallback& m_progress;
    long m_rowsPerPiece;
    std::atomic<bool> m_shortRead = false;
};

support::Result<SampleSummary> ReadAsciiSamples(std::FILE* file, std::uint64_t fileSize,
                                                const MatrixHeader& header,
                                                terrain::TerrainModel& grid,
                                                const support::ProgressCallback& progress) {
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
    SampleScanner scanner(header);
    scanner.scan(cells);
    const auto count = static_cast<long>(cells.size());
    if (!support::reportProgress(progress, count, 2 * count)) {
        return Stopped();
    }
    return scanner.summary();
}

struct ScannedGrid {
    terrain::TerrainModel grid;
    SampleSummary summary;
};

Result<ScannedGrid> ReadSamples(const std::filesystem::path& dataPath, const MatrixHeader& header,
                                const support::ProgressCallback& progress) {
    auto file = support::openForReading(dataPath);
    const auto fileSize = support::fileSizeOf(dataPath);
    if (!file || !fileSize) {
        return support::unreadable(ErrorCode::CannotOpenFile, dataPath);
    }
    if (auto fits = CheckDataSize(header, *fileSize); !fits) {
        return fits.error();
    }
    // Every cell is written by the first pass, so the grid is not cleared beforehand.
    auto grid = terrain::TerrainModel::createUninitialised(header.rows, header.columns);
    if (!grid) {
        return grid.error();
    }
    auto summary = header.encoding == MatrixEncoding::Ascii
                       ? ReadAsciiSamples(file.get(), *fileSize, header, grid.value(), progress)
                       : BinaryReader(file.get(), header, grid.value(), progress).read();
    if (!summary) {
        return summary.error();
    }
    return ScannedGrid{std::move(grid.value()), summary.value()};
}

// sample − base, or base − sample when sign is −1; a NaN sample becomes a missing cell.
void StoreRow(std::span<float> row, float base, float sign) {
    constexpr auto missingBits = std::bit_cast<std::uint32_t>(terrain::missingCell);
    const auto store = [&](float& sample) {
        sample = Select(sample != sample, missingBits, (sample - base) * sign);
    };
    std::size_t index = 0;
    for (; index + lanes <= row.size(); index += lanes) {
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            store(row[index + lane]);
        }
    }
    for (; index < row.size(); ++index) {
        store(row[index]);
    }
}

// The second pass. Heights are stored above the minimum; depths below the maximum so that the
// deepest point becomes the lowest, and the range turns into negative elevations.
support::Status StoreRelativeToMinimum(terrain::TerrainModel& grid, terrain::DataType dataType,
                                       SampleSummary& summary,
                                       const support::ProgressCallback& progress) {
    const bool depth = dataType == terrain::DataType::Depth;
    const float base = depth ? summary.maximum : summary.minimum;
    const float sign = depth ? -1.0f : 1.0f;
    const long cells = static_cast<long>(grid.cells().size());
    constexpr long rowsPerReport = 64;
    const bool finished = support::parallelParts(
        0, grid.rows(), ThreadsFor(grid), [&](int part, long first, long last) {
            for (auto row = first; row < last; ++row) {
                StoreRow(grid.row(static_cast<int>(row)), base, sign);
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
        summary = {-summary.maximum, -summary.minimum, summary.missing};
    }
    return support::success();
}

bool EndsWithFolded(const std::filesystem::path& path, std::string_view lowerExtension) {
    return support::lowerExtension(path) == lowerExtension;
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
    auto header = HeaderFromRecord(record.value());
    header.missingCells = record->missingCells;
    return {LoadedTerrain{std::move(record->grid), std::move(header)}};
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
        auto error = record.error();
        if (error.code == ErrorCode::SilentFailure && header->projection == ProjectionKind::UTM) {
            error.cause = std::filesystem::path(dataPath).replace_extension(".hdr").string() +
                          ": UTM zone " + header->zoneText +
                          " cannot place the corners on the globe";
        }
        return error;
    }
    auto scanned = ReadSamples(dataPath, header.value(), progress);
    if (!scanned) {
        return scanned.error();
    }
    auto& [grid, summary] = scanned.value();
    auto stored = StoreRelativeToMinimum(grid, header->dataType, summary, progress);
    if (!stored) {
        return stored.error();
    }
    // A flat grid, or one higher than any terrain, is the matrix's own "Cannot Load Matrix
    // File"; the shared check after every load refuses the far side of the same limit below.
    if (!(summary.minimum < summary.maximum && summary.maximum <= highestUsableElevation)) {
        return Error{ErrorCode::CannotLoadMatrixFile, "elevation range unusable"};
    }
    record->minElevation = summary.minimum;
    record->maxElevation = summary.maximum;
    record->missingCells = summary.missing;
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

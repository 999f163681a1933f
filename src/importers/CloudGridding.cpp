#include "importers/CloudGridding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "support/ParallelLoop.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::importers {

namespace {

constexpr double pi = 3.14159;
// Points a cell's neighbourhood should hold on average.
constexpr double pointsWithinRadius = 20.0;
constexpr int narrowestWindow = 2;
// Points are spread row by row and, within a row, by blocks of this many columns.
constexpr int columnsPerBlock = 32;
constexpr std::uint32_t rejectedPoint = std::numeric_limits<std::uint32_t>::max();

std::size_t histogramBin(double z) {
    if (!(z > histogramLowest)) {
        return 0;
    }
    if (z >= histogramBins + histogramLowest) {
        return histogramBins - 1;
    }
    return static_cast<std::size_t>(static_cast<int>(z) - histogramLowest);
}

// A buffer refilled from scratch, grown to exactly size elements (not doubled, as resize may),
// so that its memory stays close to what one section needs.
template <typename T>
void refillTo(std::vector<T>& buffer, std::size_t size) {
    if (buffer.capacity() < size) {
        buffer = std::vector<T>();
        buffer.reserve(size);
    }
    buffer.resize(size);
}

// The cell nearest to a position in cell widths from the grid's lower left corner. Accepted
// points lie in the grid, so the position is never negative and truncation is the floor.
int nearestCell(double position) {
    return static_cast<int>(position + 0.5);
}

int cellsAcross(double from, double to, double spacing) {
    return static_cast<int>(std::floor((to - from) / spacing)) + 1;
}

}  // namespace

void CloudSurvey::add(const CloudPoint& point) {
    if (!area.holds(point.x, point.y)) {
        return;
    }
    ++points;
    if (point.bareEarth) {
        ++bareEarthPoints;
    }
    ++histogram[histogramBin(point.z)];
}

void CloudSurvey::add(std::span<const CloudPoint> points) {
    const int threads = support::defaultThreadCount();
    std::vector<CloudSurvey> parts(static_cast<std::size_t>(threads));
    support::parallelParts(0, static_cast<long>(points.size()), threads,
                           [&](int part, long first, long last) {
                               auto& counted = parts[static_cast<std::size_t>(part)];
                               counted.area = area;
                               for (long index = first; index < last; ++index) {
                                   counted.add(points[static_cast<std::size_t>(index)]);
                               }
                           });
    for (const auto& counted : parts) {
        this->points += counted.points;
        bareEarthPoints += counted.bareEarthPoints;
        std::transform(histogram.begin(), histogram.end(), counted.histogram.begin(),
                       histogram.begin(), std::plus<>());
    }
}

double cloudDensity(const CloudSurvey& survey, ReturnFilter filter) {
    const double width = survey.area.maxX - survey.area.minX;
    const double height = survey.area.maxY - survey.area.minY;
    if (!(width > 0 && height > 0)) {
        return 0;
    }
    const auto counted = filter == ReturnFilter::BareEarth ? survey.bareEarthPoints : survey.points;
    return static_cast<double>(counted) / (width * height);
}

double proposedSpacing(double density) {
    if (!(density > 0)) {
        return offeredSpacings.back();
    }
    const double wanted = 1.0 / density;
    double best = offeredSpacings.front();
    for (const double spacing : offeredSpacings) {
        if (std::abs(spacing - wanted) < std::abs(best - wanted)) {
            best = spacing;
        }
    }
    return best;
}

CloudGridGeometry snappedGeometry(const CloudArea& area, double spacing) {
    CloudGridGeometry geometry;
    geometry.spacing = spacing;
    geometry.left = std::floor(area.minX / spacing) * spacing;
    geometry.lower = std::floor(area.minY / spacing) * spacing;
    geometry.right = std::ceil(area.maxX / spacing) * spacing;
    geometry.upper = std::ceil(area.maxY / spacing) * spacing;
    // The corners are whole multiples apart; rounding keeps a last column lost to the division.
    geometry.columns =
        static_cast<int>(std::lround((geometry.right - geometry.left) / spacing)) + 1;
    geometry.rows = static_cast<int>(std::lround((geometry.upper - geometry.lower) / spacing)) + 1;
    return geometry;
}

CloudGridGeometry exactGeometry(const CloudArea& area, double spacing) {
    CloudGridGeometry geometry{area.minX, area.minY, area.maxX, area.maxY, spacing, 0, 0};
    geometry.columns = cellsAcross(area.minX, area.maxX, spacing);
    geometry.rows = cellsAcross(area.minY, area.maxY, spacing);
    return geometry;
}

std::optional<ElevationLimits> elevationLimits(const std::vector<std::int64_t>& histogram) {
    const auto enough = [](std::int64_t count) { return count >= fewestPointsPerBin; };
    const auto first = std::find_if(histogram.begin(), histogram.end(), enough);
    const auto last = std::find_if(histogram.rbegin(), histogram.rend(), enough);
    if (first == histogram.end()) {
        return std::nullopt;
    }
    const double lowest = static_cast<double>(first - histogram.begin()) + histogramLowest;
    const double highest = static_cast<double>(histogram.rend() - last - 1) + histogramLowest;
    if (!(lowest < highest)) {
        return std::nullopt;
    }
    return ElevationLimits{lowest, highest};
}

support::Result<CloudAccumulator> CloudAccumulator::create(const CloudGridGeometry& geometry,
                                                           const CloudSurvey& survey,
                                                           const ElevationLimits& limits) {
    CloudAccumulator accumulator;
    accumulator.m_geometry = geometry;
    accumulator.m_limits = limits;
    accumulator.m_filter = survey.filter;
    const double area = (geometry.right - geometry.left) * (geometry.upper - geometry.lower);
    const double density = area > 0 ? static_cast<double>(survey.pointsUsed()) / area : 0;
    const double radius =
        density > 0 ? std::sqrt(pointsWithinRadius / (density * pi)) : geometry.spacing;
    accumulator.m_radius = std::max(radius, geometry.spacing);
    accumulator.m_window =
        std::max(narrowestWindow, terrain::RoundToInt(accumulator.m_radius / geometry.spacing));
    accumulator.m_blocksPerRow = (geometry.columns + columnsPerBlock - 1) / columnsPerBlock;
    const auto cells = static_cast<std::size_t>(geometry.rows) * geometry.columns;
    try {
        accumulator.m_elevationSums.resize(cells);
        accumulator.m_weightSums.resize(cells);
        accumulator.m_counts.resize(cells);
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemory, "accumulator"};
    }
    return accumulator;
}

bool CloudAccumulator::accepts(const CloudPoint& point) const {
    const CloudArea grid{m_geometry.left, m_geometry.right, m_geometry.lower, m_geometry.upper};
    return (m_filter != ReturnFilter::BareEarth || point.bareEarth) &&
           grid.holds(point.x, point.y) && point.z >= m_limits.lowest &&
           point.z <= m_limits.highest;
}

CloudAccumulator::GridPoint CloudAccumulator::placed(const CloudPoint& point) const {
    return GridPoint{(point.x - m_geometry.left) / m_geometry.spacing,
                     (point.y - m_geometry.lower) / m_geometry.spacing,
                     static_cast<float>(point.z)};
}

int CloudAccumulator::blockOf(const GridPoint& point) const {
    return std::min(nearestCell(point.column), m_geometry.columns - 1) / columnsPerBlock;
}

void CloudAccumulator::sortByRow(std::span<const CloudPoint> points) {
    // A stable counting sort, every core taking a share of the points: the nearest row of each
    // point and the counts of each share, then the offsets of each row and share, then the
    // points moved into place.
    const int threads = support::defaultThreadCount();
    const auto rows = static_cast<std::size_t>(m_geometry.rows);
    const auto count = static_cast<long>(points.size());
    refillTo(m_rowOfPoint, points.size());
    // Every share counts from zero, shares the loop leaves unused (fewer points than threads)
    // included.
    m_rowNext.resize(static_cast<std::size_t>(threads));
    for (auto& counts : m_rowNext) {
        counts.assign(rows, 0);
    }
    support::parallelParts(0, count, threads, [&](int part, long first, long last) {
        auto& counts = m_rowNext[static_cast<std::size_t>(part)];
        for (auto index = static_cast<std::size_t>(first); index < static_cast<std::size_t>(last);
             ++index) {
            m_rowOfPoint[index] = rejectedPoint;
            if (accepts(points[index])) {
                const int row =
                    std::min(nearestCell(placed(points[index]).row), m_geometry.rows - 1);
                m_rowOfPoint[index] = static_cast<std::uint32_t>(row);
                ++counts[static_cast<std::size_t>(row)];
            }
        }
    });
    m_rowStarts.resize(rows + 1);
    std::size_t placedSoFar = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        m_rowStarts[row] = placedSoFar;
        for (auto& counts : m_rowNext) {
            placedSoFar += std::exchange(counts[row], placedSoFar);
        }
    }
    m_rowStarts.back() = placedSoFar;
    refillTo(m_sorted, placedSoFar);
    support::parallelParts(0, count, threads, [&](int part, long first, long last) {
        auto& next = m_rowNext[static_cast<std::size_t>(part)];
        for (auto index = static_cast<std::size_t>(first); index < static_cast<std::size_t>(last);
             ++index) {
            if (m_rowOfPoint[index] != rejectedPoint) {
                m_sorted[next[m_rowOfPoint[index]]++] = placed(points[index]);
            }
        }
    });
}

void CloudAccumulator::sortByBlock(std::span<const GridPoint> row, BlockSort& sort) const {
    sort.starts.assign(static_cast<std::size_t>(m_blocksPerRow) + 1, 0);
    for (const auto& point : row) {
        ++sort.starts[static_cast<std::size_t>(blockOf(point)) + 1];
    }
    std::partial_sum(sort.starts.begin(), sort.starts.end(), sort.starts.begin());
    sort.points.resize(row.size());
    for (const auto& point : row) {
        sort.points[sort.starts[static_cast<std::size_t>(blockOf(point))]++] = point;
    }
}

void CloudAccumulator::add(std::span<const CloudPoint> points) {
    sortByRow(points);
    // Bands of rows on each core: a thread takes the points that reach its rows and writes
    // only those rows. It takes them row by row and, within a row, block by block, so that the
    // cells a run of points reaches stay in the nearest cache.
    const int rows = m_geometry.rows;
    const int threads = support::defaultThreadCount();
    m_blockSorts.resize(static_cast<std::size_t>(threads));
    support::parallelParts(0, rows, threads, [&](int part, long first, long last) {
        const RowBand band{static_cast<int>(first), static_cast<int>(last) - 1};
        auto& sort = m_blockSorts[static_cast<std::size_t>(part)];
        for (int row = std::max(0, band.first - m_window);
             row <= std::min(rows - 1, band.last + m_window); ++row) {
            const auto from = m_rowStarts[static_cast<std::size_t>(row)];
            const auto to = m_rowStarts[static_cast<std::size_t>(row) + 1];
            sortByBlock(std::span<const GridPoint>(m_sorted).subspan(from, to - from), sort);
            for (const auto& point : sort.points) {
                spread(point, band);
            }
        }
    });
}

namespace {

// The cells of one point's window: its first and last row and column, and its position and
// elevation, in cell widths.
struct Window {
    int firstRow;
    int lastRow;
    int firstColumn;
    int lastColumn;
    double column;
    double row;
    float elevation;
};

// The accumulator's sums of every cell, row after row, and the length of a row.
struct Sums {
    float* elevations;
    float* weights;
    std::uint32_t* counts;
    std::size_t columns;
};

// The radius is compared with the distance in cell widths as it stands (squared, in double
// precision); the weight is worked out in the cells' own precision.
float weightAt(float squaredDistance) {
    return 1.0f / (4.0f * std::sqrt(squaredDistance) + 1.0f);
}

void spreadOverColumn(const Sums& sums, const Window& window, int column, double radiusSquared) {
    const double dx = window.column - column;
    const double columnSquared = dx * dx;
    for (int row = window.firstRow; row <= window.lastRow; ++row) {
        const double dy = window.row - row;
        const double squared = columnSquared + dy * dy;
        if (squared < radiusSquared) {
            const float weight = weightAt(static_cast<float>(squared));
            const std::size_t cell = static_cast<std::size_t>(row) * sums.columns + column;
            sums.weights[cell] += weight;
            sums.elevations[cell] += window.elevation * weight;
            ++sums.counts[cell];
        }
    }
}

#if defined(__SSE2__)
// spreadOverColumn over the four columns from start on, leaving out those outside first ..
// last: the same operations, four cells at a time.
void spreadOverFourColumns(Sums sums, Window window, int start, int first, double radiusSquared) {
    const __m128d column = _mm_set1_pd(window.column);
    const __m128d dxLow = _mm_sub_pd(column, _mm_set_pd(start + 1, start));
    const __m128d dxHigh = _mm_sub_pd(column, _mm_set_pd(start + 3, start + 2));
    const __m128d columnSquaredLow = _mm_mul_pd(dxLow, dxLow);
    const __m128d columnSquaredHigh = _mm_mul_pd(dxHigh, dxHigh);
    const __m128d radius = _mm_set1_pd(radiusSquared);
    const __m128i columns = _mm_add_epi32(_mm_set1_epi32(start), _mm_setr_epi32(0, 1, 2, 3));
    const __m128 wanted = _mm_castsi128_ps(
        _mm_and_si128(_mm_cmpgt_epi32(columns, _mm_set1_epi32(first - 1)),
                      _mm_cmplt_epi32(columns, _mm_set1_epi32(window.lastColumn + 1))));
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 four = _mm_set1_ps(4.0f);
    const __m128 elevation = _mm_set1_ps(window.elevation);
    for (int row = window.firstRow; row <= window.lastRow; ++row) {
        const double dy = window.row - row;
        const __m128d rowSquared = _mm_set1_pd(dy * dy);
        const __m128d squaredLow = _mm_add_pd(columnSquaredLow, rowSquared);
        const __m128d squaredHigh = _mm_add_pd(columnSquaredHigh, rowSquared);
        const __m128 taken =
            _mm_and_ps(wanted, _mm_shuffle_ps(_mm_castpd_ps(_mm_cmplt_pd(squaredLow, radius)),
                                              _mm_castpd_ps(_mm_cmplt_pd(squaredHigh, radius)),
                                              _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128 squared = _mm_movelh_ps(_mm_cvtpd_ps(squaredLow), _mm_cvtpd_ps(squaredHigh));
        const __m128 weight = _mm_and_ps(
            taken, _mm_div_ps(one, _mm_add_ps(_mm_mul_ps(four, _mm_sqrt_ps(squared)), one)));
        const std::size_t cell = static_cast<std::size_t>(row) * sums.columns + start;
        float* weights = sums.weights + cell;
        float* elevations = sums.elevations + cell;
        auto* counts = reinterpret_cast<__m128i*>(sums.counts + cell);
        _mm_storeu_ps(weights, _mm_add_ps(_mm_loadu_ps(weights), weight));
        _mm_storeu_ps(elevations,
                      _mm_add_ps(_mm_loadu_ps(elevations), _mm_mul_ps(elevation, weight)));
        _mm_storeu_si128(counts, _mm_sub_epi32(_mm_loadu_si128(counts), _mm_castps_si128(taken)));
    }
}

#if defined(__x86_64__)
// Two times four 64-bit masks as eight 32-bit ones, in order.
__attribute__((target("avx2"))) __m256 narrowed(__m256d low, __m256d high) {
    const __m256 pairs =
        _mm256_shuffle_ps(_mm256_castpd_ps(low), _mm256_castpd_ps(high), _MM_SHUFFLE(2, 0, 2, 0));
    return _mm256_castpd_ps(
        _mm256_permute4x64_pd(_mm256_castps_pd(pairs), _MM_SHUFFLE(3, 1, 2, 0)));
}

// The same operations again, eight cells at a time. (The sums and the window are copies, so
// that the compiler keeps them in registers across the stores.)
__attribute__((target("avx2"))) void spreadOverEightColumns(Sums sums, Window window, int start,
                                                            int first, double radiusSquared) {
    const __m256d column = _mm256_set1_pd(window.column);
    const __m256d dxLow =
        _mm256_sub_pd(column, _mm256_set_pd(start + 3, start + 2, start + 1, start));
    const __m256d dxHigh =
        _mm256_sub_pd(column, _mm256_set_pd(start + 7, start + 6, start + 5, start + 4));
    const __m256d columnSquaredLow = _mm256_mul_pd(dxLow, dxLow);
    const __m256d columnSquaredHigh = _mm256_mul_pd(dxHigh, dxHigh);
    const __m256d radius = _mm256_set1_pd(radiusSquared);
    const __m256i columns =
        _mm256_add_epi32(_mm256_set1_epi32(start), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256 wanted = _mm256_castsi256_ps(
        _mm256_and_si256(_mm256_cmpgt_epi32(columns, _mm256_set1_epi32(first - 1)),
                         _mm256_cmpgt_epi32(_mm256_set1_epi32(window.lastColumn + 1), columns)));
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 four = _mm256_set1_ps(4.0f);
    const __m256 elevation = _mm256_set1_ps(window.elevation);
    for (int row = window.firstRow; row <= window.lastRow; ++row) {
        const double dy = window.row - row;
        const __m256d rowSquared = _mm256_set1_pd(dy * dy);
        const __m256d squaredLow = _mm256_add_pd(columnSquaredLow, rowSquared);
        const __m256d squaredHigh = _mm256_add_pd(columnSquaredHigh, rowSquared);
        const __m256 taken =
            _mm256_and_ps(wanted, narrowed(_mm256_cmp_pd(squaredLow, radius, _CMP_LT_OQ),
                                           _mm256_cmp_pd(squaredHigh, radius, _CMP_LT_OQ)));
        const __m256 squared =
            _mm256_set_m128(_mm256_cvtpd_ps(squaredHigh), _mm256_cvtpd_ps(squaredLow));
        const __m256 weight = _mm256_and_ps(
            taken,
            _mm256_div_ps(one, _mm256_add_ps(_mm256_mul_ps(four, _mm256_sqrt_ps(squared)), one)));
        const std::size_t cell = static_cast<std::size_t>(row) * sums.columns + start;
        float* weights = sums.weights + cell;
        float* elevations = sums.elevations + cell;
        auto* counts = reinterpret_cast<__m256i*>(sums.counts + cell);
        _mm256_storeu_ps(weights, _mm256_add_ps(_mm256_loadu_ps(weights), weight));
        _mm256_storeu_ps(elevations, _mm256_add_ps(_mm256_loadu_ps(elevations),
                                                   _mm256_mul_ps(elevation, weight)));
        _mm256_storeu_si256(
            counts, _mm256_sub_epi32(_mm256_loadu_si256(counts), _mm256_castps_si256(taken)));
    }
}

bool wideLanesAvailable() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
#endif
#endif

// Groups of `width` columns, each handed to spreadGroup with the column it starts at and the
// first column it takes; the last group moves left to stay inside the rows, leaving out the
// columns an earlier group took.
template <int width, typename SpreadGroup>
void spreadInGroups(const Sums& sums, const Window& window, double radiusSquared,
                    SpreadGroup spreadGroup) {
    const int columns = static_cast<int>(sums.columns);
    for (int group = window.firstColumn; group <= window.lastColumn; group += width) {
        spreadGroup(sums, window, std::min(group, columns - width), group, radiusSquared);
    }
}

void spreadOverWindow(const Sums& sums, const Window& window, double radiusSquared) {
#if defined(__x86_64__)
    if (sums.columns >= 8 && wideLanesAvailable()) {
        spreadInGroups<8>(sums, window, radiusSquared, spreadOverEightColumns);
        return;
    }
#endif
#if defined(__SSE2__)
    if (sums.columns >= 4) {
        spreadInGroups<4>(sums, window, radiusSquared, spreadOverFourColumns);
        return;
    }
#endif
    for (int column = window.firstColumn; column <= window.lastColumn; ++column) {
        spreadOverColumn(sums, window, column, radiusSquared);
    }
}

}  // namespace

void CloudAccumulator::spread(const GridPoint& point, const RowBand& band) {
    const double radiusSquared = m_radius * m_radius;
    // Rows at the window's ends as far from the point as the radius or farther hold no cell
    // within it, whatever the column.
    const auto beyondRadius = [&](int row) {
        const double dy = point.row - row;
        return dy * dy >= radiusSquared;
    };
    const int nearest = nearestCell(point.row);
    const int nearestColumn = nearestCell(point.column);
    Window window{std::max(band.first, nearest - m_window),
                  std::min(band.last, nearest + m_window),
                  std::max(0, nearestColumn - m_window),
                  std::min(m_geometry.columns - 1, nearestColumn + m_window),
                  point.column,
                  point.row,
                  point.elevation};
    while (window.firstRow <= window.lastRow && beyondRadius(window.firstRow)) {
        ++window.firstRow;
    }
    while (window.firstRow <= window.lastRow && beyondRadius(window.lastRow)) {
        --window.lastRow;
    }
    if (window.firstRow > window.lastRow || window.firstColumn > window.lastColumn) {
        return;
    }
    const Sums sums{m_elevationSums.data(), m_weightSums.data(), m_counts.data(),
                    static_cast<std::size_t>(m_geometry.columns)};
    spreadOverWindow(sums, window, radiusSquared);
}

support::Result<terrain::TerrainModel> CloudAccumulator::finish() const {
    auto grid = terrain::TerrainModel::createUninitialised(m_geometry.rows, m_geometry.columns);
    if (!grid) {
        return grid.error();
    }
    const double range = m_limits.highest - m_limits.lowest;
    auto cells = grid->cells();
    for (std::size_t index = 0; index < cells.size(); ++index) {
        if (m_weightSums[index] > 0) {
            const double mean = m_elevationSums[index] / m_weightSums[index] - m_limits.lowest;
            cells[index] = static_cast<float>(std::clamp(mean, 0.0, range));
        } else {
            cells[index] = terrain::missingCell;
        }
    }
    fillOneCellHoles(*grid);
    return grid;
}

namespace {

// The present neighbours of a cell, leaving out the first row and column: their sum and number.
std::pair<double, int> presentNeighbours(const terrain::TerrainModel& grid, int column, int row) {
    double sum = 0;
    int count = 0;
    for (int r = std::max(1, row - 1); r <= std::min(grid.rows() - 1, row + 1); ++r) {
        for (int c = std::max(1, column - 1); c <= std::min(grid.columns() - 1, column + 1); ++c) {
            const float value = grid.at(c, r);
            if ((r != row || c != column) && !terrain::isMissing(value)) {
                sum += value;
                ++count;
            }
        }
    }
    return {sum, count};
}

}  // namespace

void fillOneCellHoles(terrain::TerrainModel& grid) {
    std::vector<std::pair<int, int>> marked;
    for (int row = 0; row < grid.rows(); ++row) {
        for (int column = 0; column < grid.columns(); ++column) {
            if (terrain::isMissing(grid.at(column, row)) &&
                presentNeighbours(grid, column, row).second > 0) {
                marked.emplace_back(column, row);
            }
        }
    }
    for (const auto& [column, row] : marked) {
        const auto [sum, count] = presentNeighbours(grid, column, row);
        grid.at(column, row) = count > 0 ? static_cast<float>(sum / count) : 0.0f;
    }
}

}  // namespace tavrok::importers

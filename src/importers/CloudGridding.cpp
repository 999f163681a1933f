#include "importers/CloudGridding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>

#include "support/ParallelLoop.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::importers {

namespace {

constexpr double pi = 3.14159;
// Points a cell's neighbourhood should hold on average.
constexpr double pointsWithinRadius = 20.0;
constexpr int narrowestWindow = 2;

std::size_t histogramBin(double z) {
    if (!(z > histogramLowest)) {
        return 0;
    }
    if (z >= histogramBins + histogramLowest) {
        return histogramBins - 1;
    }
    return static_cast<std::size_t>(static_cast<int>(z) - histogramLowest);
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
    const auto cells = static_cast<std::size_t>(geometry.rows) * geometry.columns;
    try {
        accumulator.m_cells.resize(cells);
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

void CloudAccumulator::add(std::span<const CloudPoint> points) {
    // The accepted points in the order of their nearest row (a counting sort), so that the
    // rows they reach stay in the cache whatever order the file holds them in.
    const int rows = m_geometry.rows;
    std::vector<int> rowOf(points.size(), -1);
    std::vector<std::size_t> starts(static_cast<std::size_t>(rows) + 1, 0);
    for (std::size_t index = 0; index < points.size(); ++index) {
        if (!accepts(points[index])) {
            continue;
        }
        const double row = (points[index].y - m_geometry.lower) / m_geometry.spacing;
        rowOf[index] = std::clamp(static_cast<int>(std::floor(row + 0.5)), 0, rows - 1);
        ++starts[static_cast<std::size_t>(rowOf[index]) + 1];
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<std::uint32_t> order(starts.back());
    auto next = starts;
    for (std::size_t index = 0; index < points.size(); ++index) {
        if (rowOf[index] >= 0) {
            order[next[static_cast<std::size_t>(rowOf[index])]++] =
                static_cast<std::uint32_t>(index);
        }
    }
    // Bands of rows on each core: a thread takes the points that reach its rows and writes
    // only those rows.
    support::parallelParts(0, rows, support::defaultThreadCount(), [&](int, long first, long last) {
        const RowBand band{static_cast<int>(first), static_cast<int>(last) - 1};
        const auto from = starts[static_cast<std::size_t>(std::max(0, band.first - m_window))];
        const auto to = starts[static_cast<std::size_t>(std::min(rows, band.last + m_window + 1))];
        for (auto at = from; at < to; ++at) {
            const auto& point = points[order[at]];
            spread(point.x, point.y, point.z, band);
        }
    });
}

void CloudAccumulator::spread(double x, double y, double z, const RowBand& band) {
    const double column = (x - m_geometry.left) / m_geometry.spacing;
    const double row = (y - m_geometry.lower) / m_geometry.spacing;
    const int nearestRow = static_cast<int>(std::floor(row + 0.5));
    const int firstRow = std::max(band.first, nearestRow - m_window);
    const int lastRow = std::min(band.last, nearestRow + m_window);
    if (firstRow > lastRow) {
        return;
    }
    const int nearestColumn = static_cast<int>(std::floor(column + 0.5));
    const int windowFirstColumn = std::max(0, nearestColumn - m_window);
    const int windowLastColumn = std::min(m_geometry.columns - 1, nearestColumn + m_window);
    // Each row is visited only across the columns the radius can reach (with a margin that
    // leaves the exact test below to decide), so few cells are passed over.
    const double radiusSquared = m_radius * m_radius;
    const double beyond = radiusSquared * (1 + 1e-9);
    for (int r = firstRow; r <= lastRow; ++r) {
        const double dy = row - r;
        const double reachSquared = beyond - dy * dy;
        if (reachSquared <= 0) {
            continue;
        }
        const double reach = std::sqrt(reachSquared);
        const int firstColumn =
            std::max(windowFirstColumn, static_cast<int>(std::ceil(column - reach)));
        const int lastColumn =
            std::min(windowLastColumn, static_cast<int>(std::floor(column + reach)));
        Cell* cells = m_cells.data() + static_cast<std::size_t>(r) * m_geometry.columns;
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const double dx = column - c;
            // The radius is compared with the distance in cell widths as it stands (squared,
            // in double precision); the weight is worked out in the cells' own precision.
            const double squared = dx * dx + dy * dy;
            if (squared < radiusSquared) {
                const float weight = 1.0f / (4.0f * std::sqrt(static_cast<float>(squared)) + 1.0f);
                cells[c].weightSum += weight;
                cells[c].elevationSum += static_cast<float>(z) * weight;
                ++cells[c].count;
            }
        }
    }
}

support::Result<terrain::TerrainModel> CloudAccumulator::finish() const {
    auto grid = terrain::TerrainModel::createUninitialised(m_geometry.rows, m_geometry.columns);
    if (!grid) {
        return grid.error();
    }
    const double range = m_limits.highest - m_limits.lowest;
    auto cells = grid->cells();
    for (std::size_t index = 0; index < cells.size(); ++index) {
        const Cell& cell = m_cells[index];
        if (cell.weightSum > 0) {
            const double mean = cell.elevationSum / cell.weightSum - m_limits.lowest;
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

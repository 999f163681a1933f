#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "importers/LasReader.h"
#include "support/Result.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {

// Which points a grid is made of.
enum class ReturnFilter { AllReturns = 0, BareEarth = 2 };

// The rectangle the points are gathered from, bounds included.
struct CloudArea {
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 0;

    bool holds(double x, double y) const {
        return x >= minX && x <= maxX && y >= minY && y <= maxY;
    }
    bool overlaps(const CloudArea& other) const {
        return other.minX <= maxX && other.maxX >= minX && other.minY <= maxY && other.maxY >= minY;
    }
};

// Metre bins of the elevation histogram: bin i counts elevations that truncate to i - 1000.
inline constexpr int histogramBins = 25000;
inline constexpr int histogramLowest = -1000;
// Bins at the ends with fewer points than this are outliers, left out of the grid.
inline constexpr std::int64_t fewestPointsPerBin = 10;

// What the survey pass learns of the points inside the area, and what the user then chooses.
struct CloudSurvey {
    CloudArea area;
    std::int64_t points = 0;
    std::int64_t bareEarthPoints = 0;
    std::vector<std::int64_t> histogram = std::vector<std::int64_t>(histogramBins, 0);
    ReturnFilter filter = ReturnFilter::AllReturns;
    double spacing = 1.0;

    // Counts a point when it lies in the area; its class counts whatever the filter.
    void add(const CloudPoint& point);
    // The same for each point, on every core.
    void add(std::span<const CloudPoint> points);
    std::int64_t pointsUsed() const {
        return filter == ReturnFilter::BareEarth ? bareEarthPoints : points;
    }
};

// Points per square unit of the area for the filter; 0 for an area without width or height.
double cloudDensity(const CloudSurvey& survey, ReturnFilter filter);

// The spacings offered, in metres, and the one closest to 1 / density (the first of equals).
inline constexpr std::array<double, 6> offeredSpacings{0.5, 1.0, 2.0, 5.0, 10.0, 20.0};
double proposedSpacing(double density);

// Where the grid lies: its left, lower, right and upper coordinates, spacing and size.
struct CloudGridGeometry {
    double left = 0;
    double lower = 0;
    double right = 0;
    double upper = 0;
    double spacing = 1;
    int rows = 0;
    int columns = 0;
};

// The area's corners moved out to multiples of the spacing (down on the left and below, up on
// the right and above), so that every point of the area lies in the grid.
CloudGridGeometry snappedGeometry(const CloudArea& area, double spacing);
// The area's own corners.
CloudGridGeometry exactGeometry(const CloudArea& area, double spacing);

// The elevations the grid keeps: the first and last histogram bins with at least
// fewestPointsPerBin points, in whole metres; empty when the first is not below the last.
struct ElevationLimits {
    double lowest = 0;
    double highest = 0;
};
std::optional<ElevationLimits> elevationLimits(const std::vector<std::int64_t>& histogram);

// Spreads points over the cells around them with the weight 1 / (4d + 1) of their distance d
// in cell widths, out to the radius that holds about 20 points at the survey's density.
class CloudAccumulator {
  public:
    // Fails with NotEnoughMemory.
    static support::Result<CloudAccumulator> create(const CloudGridGeometry& geometry,
                                                    const CloudSurvey& survey,
                                                    const ElevationLimits& limits);

    void add(std::span<const CloudPoint> points);
    // The mean elevation of each reached cell above the lowest limit, clamped to the limits;
    // other cells missing, then one-cell holes filled. Fails with NotEnoughMemory.
    support::Result<terrain::TerrainModel> finish() const;

    double radius() const { return m_radius; }
    int window() const { return m_window; }

  private:
    // An accepted point in cell widths from the lower left corner.
    struct GridPoint {
        double column;
        double row;
        float elevation;
    };
    // The rows one thread writes, first and last included.
    struct RowBand {
        int first;
        int last;
    };
    CloudAccumulator() = default;
    bool accepts(const CloudPoint& point) const;
    GridPoint placed(const CloudPoint& point) const;
    // The points of one row in the order of their blocks of columns.
    struct BlockSort {
        std::vector<std::size_t> starts;
        std::vector<GridPoint> points;
    };
    int blockOf(const GridPoint& point) const;
    // The accepted points, placed, into m_sorted in the order of their nearest rows and,
    // within a row, in the order given; m_rowStarts says where each row begins.
    void sortByRow(std::span<const CloudPoint> points);
    void sortByBlock(std::span<const GridPoint> row, BlockSort& sort) const;
    void spread(const GridPoint& point, const RowBand& band);

    CloudGridGeometry m_geometry;
    ElevationLimits m_limits;
    ReturnFilter m_filter = ReturnFilter::AllReturns;
    double m_radius = 0;
    int m_window = 2;
    // The sums of each cell, row by row: weighted elevations, weights and points.
    std::vector<float> m_elevationSums;
    std::vector<float> m_weightSums;
    std::vector<std::uint32_t> m_counts;
    int m_blocksPerRow = 1;
    // The buffers of the sorts, kept from section to section: each point's row, each
    // thread's next place in each row, the sorted points, where each row begins, and each
    // thread's sort of one row by blocks.
    std::vector<std::uint32_t> m_rowOfPoint;
    std::vector<std::vector<std::size_t>> m_rowNext;
    std::vector<GridPoint> m_sorted;
    std::vector<std::size_t> m_rowStarts;
    std::vector<BlockSort> m_blockSorts;
};

// Fills every missing cell that touches a present one (its eight neighbours, leaving out those
// in the first row and the first column) with the mean of its present neighbours, cells filled
// earlier counting. Wider holes keep their inside missing.
void fillOneCellHoles(terrain::TerrainModel& grid);

}  // namespace tavrok::importers

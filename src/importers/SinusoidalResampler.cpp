#include "importers/SinusoidalResampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tavrok::importers {

namespace {

// The centre column both conventions turn about: the integer one subtracted from the column
// and the position added back.
struct RowCentre {
    int column;
    double position;
};

RowCentre centreFor(int columns, SinusoidalSampling sampling) {
    if (sampling == SinusoidalSampling::Nearest) {
        return {columns / 2, columns / 2.0};
    }
    return {(columns - 1) / 2, (columns - 1) / 2.0};
}

float sampleAt(std::span<const float> source, double position, long index,
               SinusoidalSampling sampling) {
    if (sampling == SinusoidalSampling::Nearest) {
        return source[static_cast<std::size_t>(index)];
    }
    const auto columns = static_cast<long>(source.size());
    const float a = source[static_cast<std::size_t>(index)];
    const float b = index + 1 < columns ? source[static_cast<std::size_t>(index + 1)] : a;
    if (a == terrain::missingCell || b == terrain::missingCell) {
        return terrain::missingCell;
    }
    const auto fraction = static_cast<float>(position - static_cast<double>(index));
    return a + (b - a) * fraction;
}

// Resamples one row in place through `scratch`; returns how many cells fell outside it.
int resampleRow(std::span<float> cells, std::vector<float>& scratch, double cosine,
                SinusoidalSampling sampling) {
    const int n = static_cast<int>(cells.size());
    const RowCentre centre = centreFor(n, sampling);
    int lost = 0;
    double previous = 0;
    for (int c = 0; c < n; ++c) {
        const double position =
            cosine == 0 ? previous : (c - centre.column) / cosine + centre.position;
        previous = position;
        const auto index = static_cast<long>(position);
        if (index < 1 || index >= n) {
            scratch[static_cast<std::size_t>(c)] = terrain::missingCell;
            ++lost;
            continue;
        }
        scratch[static_cast<std::size_t>(c)] = sampleAt(cells, position, index, sampling);
    }
    std::ranges::copy(scratch, cells.begin());
    return lost;
}

support::Result<terrain::TerrainModel> trimColumns(const terrain::TerrainModel& grid, int trim) {
    auto trimmed = terrain::TerrainModel::create(grid.rows(), grid.columns() - 2 * trim);
    if (!trimmed) {
        return trimmed.error();
    }
    for (int r = 0; r < grid.rows(); ++r) {
        const auto source = grid.row(r);
        std::copy(source.begin() + trim, source.end() - trim, trimmed->row(r).begin());
    }
    return trimmed;
}

}  // namespace

support::Result<terrain::TerrainModel> ResampleSinusoidal(terrain::TerrainModel grid,
                                                          double lowerLatitude,
                                                          double degreesPerRow,
                                                          SinusoidalSampling sampling) {
    const int n = grid.columns();
    std::vector<float> scratch;
    try {
        scratch.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        return support::Error{support::ErrorCode::NotEnoughMemory, "sinusoidal row"};
    }
    int fewestLost = n;
    for (int r = 0; r < grid.rows(); ++r) {
        const double latitude = lowerLatitude + r * degreesPerRow;
        const double cosine = std::cos(latitude * std::numbers::pi / 180.0);
        fewestLost = std::min(fewestLost, resampleRow(grid.row(r), scratch, cosine, sampling));
    }
    const int trim = fewestLost / 2;
    if (sampling == SinusoidalSampling::Linear || trim == 0) {
        return grid;
    }
    return trimColumns(grid, trim);
}

}  // namespace tavrok::importers

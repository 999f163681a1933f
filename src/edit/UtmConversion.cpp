#include "edit/UtmConversion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "edit/GridSampling.h"
#include "geodesy/EllipsoidChange.h"
#include "geodesy/Utm.h"
#include "support/ParallelLoop.h"
#include "support/Units.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::edit {

using support::arcSecondsPerDegree;
using support::ErrorCode;
using terrain::TerrainHeader;

namespace {

// Metres per degree of the sphere the cell size is estimated on.
constexpr double metresPerDegree =
    static_cast<double>(terrain::earthRadiusMetres) / support::degreesPerRadian;
// Rows filled between two progress reports.
constexpr int rowsPerReport = 32;

bool isMola(const TerrainHeader& header) {
    return header.gridKind == terrain::gridKindSinusoidal && header.planet == terrain::Planet::Mars;
}

bool isTileSet(const TerrainHeader& header) {
    return header.gridKind == terrain::gridKindSinusoidal;
}

// Degrees between columns and between rows of a Lat/Lon terrain.
struct DegreeSteps {
    double longitude = 0;
    double latitude = 0;
};

DegreeSteps degreeSteps(const TerrainHeader& header) {
    if (isTileSet(header)) {
        return {header.degreesPerColumn, header.degreesPerRow};
    }
    return {header.spacingX / arcSecondsPerDegree, header.spacingY / arcSecondsPerDegree};
}

// Fractional grid indices of the old terrain as linear functions of longitude and latitude.
struct GeographicToGrid {
    double columnAtZero = 0;
    double columnsPerDegree = 0;
    double rowAtZero = 0;
    double rowsPerDegree = 0;
};

GeographicToGrid geographicToGrid(const TerrainHeader& header) {
    const DegreeSteps steps = degreeSteps(header);
    if (isTileSet(header)) {
        // Column columns / 2 lies on the central meridian.
        return {header.columns / 2 - header.sinusoidalCentralMeridian / steps.longitude,
                1 / steps.longitude, -header.southLat / steps.latitude, 1 / steps.latitude};
    }
    return {-header.westBound / header.spacingX, arcSecondsPerDegree / header.spacingX,
            -header.southBound / header.spacingY, arcSecondsPerDegree / header.spacingY};
}

// The zone of the area's centre, with the Norway and Svalbard exceptions.
int zoneOfCentre(double latitude, double longitude) {
    double shifted = std::fmod(longitude + 180, 360);
    if (shifted < 0) {
        shifted += 360;
    }
    int zone = static_cast<int>(shifted / 6) + 1;
    if (latitude >= 56 && latitude < 64 && longitude >= 3 && longitude < 12) {
        zone = 32;
    }
    if (latitude >= 72 && latitude < 84 && longitude >= 0 && longitude < 42) {
        zone = longitude < 9 ? 31 : longitude < 21 ? 33 : longitude < 33 ? 35 : 37;
    }
    return std::min(zone, 60);
}

// The cell size in whole metres: the longitude step on the sphere, over 10 m lowered to a
// multiple of 10.
int cellSizeMetres(const TerrainHeader& header) {
    int size = static_cast<int>(degreeSteps(header).longitude * metresPerDegree);
    if (size > 10) {
        size -= size % 10;
    }
    return size;
}

double snappedDown(double metres, int step) {
    const double whole = std::trunc(metres);
    return whole - std::fmod(whole, step);
}

// Latitude and longitude of the cells of one output row, NaN where a position failed.
struct RowPositions {
    std::vector<double> latitudes;
    std::vector<double> longitudes;
};

// Converts positions from UTM back to latitude and longitude, cell by cell or through a coarse
// table for big grids.
class PositionSource {
  public:
    PositionSource(const UtmConversionPlan& plan) : m_plan(plan) {
        m_converter.setUtmParameters(plan.ellipsoid, plan.zone);
        const bool big = plan.columns >= coarseTableThreshold || plan.rows >= coarseTableThreshold;
        m_tableColumns = plan.columns / 10;
        m_tableRows = plan.columns > 0 ? m_tableColumns * plan.rows / plan.columns : 0;
        // A table needs two positions each way; a grid without them converts every cell.
        if (big && m_tableColumns >= 2 && m_tableRows >= 2) {
            buildTable();
        }
    }

    void fillRow(int row, RowPositions& positions) const {
        positions.latitudes.resize(static_cast<std::size_t>(m_plan.columns));
        positions.longitudes.resize(static_cast<std::size_t>(m_plan.columns));
        if (m_table.empty()) {
            convertRow(row, positions);
        } else {
            interpolateRow(row, positions);
        }
    }

  private:
    struct Position {
        double latitude;
        double longitude;
    };

    Position convert(double easting, double northing) const {
        const auto point = m_converter.utmToLatLon(m_plan.zoneText, easting, northing);
        if (point.flags != 0) {
            constexpr double failed = std::numeric_limits<double>::quiet_NaN();
            return {failed, failed};
        }
        return {point.latitudeDegrees, point.longitudeDegrees};
    }

    void convertRow(int row, RowPositions& positions) const {
        const double northing = m_plan.south + static_cast<double>(row) * m_plan.spacing;
        for (int column = 0; column < m_plan.columns; ++column) {
            const Position position =
                convert(m_plan.west + static_cast<double>(column) * m_plan.spacing, northing);
            positions.latitudes[column] = position.latitude;
            positions.longitudes[column] = position.longitude;
        }
    }

    void buildTable() {
        m_table.resize(static_cast<std::size_t>(m_tableColumns) * m_tableRows);
        const double width = m_plan.east - m_plan.west;
        const double height = m_plan.north - m_plan.south;
        for (int k = 0; k < m_tableRows; ++k) {
            const double northing = m_plan.south + k * height / (m_tableRows - 1);
            for (int j = 0; j < m_tableColumns; ++j) {
                m_table[static_cast<std::size_t>(k) * m_tableColumns + j] =
                    convert(m_plan.west + j * width / (m_tableColumns - 1), northing);
            }
        }
        // Where each output column falls between two table columns.
        m_columnIndex.resize(static_cast<std::size_t>(m_plan.columns));
        m_columnFraction.resize(static_cast<std::size_t>(m_plan.columns));
        for (int column = 0; column < m_plan.columns; ++column) {
            const double at = m_plan.columns > 1 ? static_cast<double>(column) *
                                                       (m_tableColumns - 1) / (m_plan.columns - 1)
                                                 : 0.0;
            const int index = std::clamp(static_cast<int>(at), 0, m_tableColumns - 2);
            m_columnIndex[column] = index;
            m_columnFraction[column] = at - index;
        }
    }

    void interpolateRow(int row, RowPositions& positions) const {
        const double at = m_plan.rows > 1
                              ? static_cast<double>(row) * (m_tableRows - 1) / (m_plan.rows - 1)
                              : 0.0;
        const int index = std::clamp(static_cast<int>(at), 0, m_tableRows - 2);
        const double fraction = at - index;
        const Position* south = &m_table[static_cast<std::size_t>(index) * m_tableColumns];
        const Position* north = south + m_tableColumns;
        // The table row at this output row, then along it to each column.
        std::vector<Position> across(static_cast<std::size_t>(m_tableColumns));
        for (int j = 0; j < m_tableColumns; ++j) {
            across[j] = {south[j].latitude + (north[j].latitude - south[j].latitude) * fraction,
                         south[j].longitude + (north[j].longitude - south[j].longitude) * fraction};
        }
        for (int column = 0; column < m_plan.columns; ++column) {
            const Position& west = across[m_columnIndex[column]];
            const Position& east = across[m_columnIndex[column] + 1];
            const double t = m_columnFraction[column];
            positions.latitudes[column] = west.latitude + (east.latitude - west.latitude) * t;
            positions.longitudes[column] = west.longitude + (east.longitude - west.longitude) * t;
        }
    }

    const UtmConversionPlan& m_plan;
    geodesy::UtmConverter m_converter;
    int m_tableColumns = 0;
    int m_tableRows = 0;
    std::vector<Position> m_table;
    std::vector<int> m_columnIndex;
    std::vector<double> m_columnFraction;
};

}  // namespace

bool isPlanarMatrix(const TerrainHeader& header) {
    return header.gridKind == terrain::gridKindMatrix;
}

GeographicArea conversionArea(const TerrainHeader& header) {
    const DegreeSteps steps = degreeSteps(header);
    if (isTileSet(header)) {
        return {header.westLon, header.southLat, header.eastLon - steps.longitude,
                header.northLat - steps.latitude};
    }
    return {header.westBound / arcSecondsPerDegree, header.southBound / arcSecondsPerDegree,
            header.eastBound / arcSecondsPerDegree - steps.longitude,
            header.northBound / arcSecondsPerDegree - steps.latitude};
}

namespace {

// Mars grids and sinusoidal layouts can neither be converted to UTM nor change ellipsoid.
std::optional<ErrorCode> marsOrSinusoidalRefusal(const TerrainHeader& header) {
    if (isMola(header)) {
        return ErrorCode::CannotConvertMolaToUtm;
    }
    if (header.gridKind == terrain::gridKindMarsPolar) {
        return ErrorCode::CannotConvertMarsPolarToUtm;
    }
    if (header.projection == terrain::ProjectionKind::Sinusoidal) {
        return ErrorCode::CannotConvertSinusoidalToUtm;
    }
    return std::nullopt;
}

}  // namespace

support::Status checkUtmConversion(const TerrainHeader& header) {
    if (const auto refusal = marsOrSinusoidalRefusal(header)) {
        return *refusal;
    }
    if (header.projection == terrain::ProjectionKind::UTM) {
        return ErrorCode::AlreadyUtm;
    }
    if (isPlanarMatrix(header)) {
        return support::success();
    }
    const GeographicArea area = conversionArea(header);
    if (area.south < -80) {
        return ErrorCode::AreaCrossesSouth80;
    }
    if (area.north > 84) {
        return ErrorCode::AreaCrossesNorth84;
    }
    if (area.south < 0 && area.north > 0) {
        return ErrorCode::AreaCrossesEquator;
    }
    return support::success();
}

support::Result<UtmConversionPlan> planUtmConversion(const TerrainHeader& header,
                                                     geodesy::EllipsoidId ellipsoid) {
    const GeographicArea area = conversionArea(header);
    UtmConversionPlan plan;
    plan.ellipsoid = ellipsoid;
    plan.zone = zoneOfCentre((area.south + area.north) / 2, (area.west + area.east) / 2);
    plan.hemisphere = area.south < 0 && area.north < 0 ? 'S' : 'N';
    plan.zoneText = std::to_string(plan.zone) + plan.hemisphere;
    geodesy::UtmConverter converter;
    if (converter.setUtmParameters(ellipsoid, plan.zone) != 0) {
        return ErrorCode::AreaTooWideForUtm;
    }
    plan.west = plan.south = std::numeric_limits<double>::max();
    plan.east = plan.north = std::numeric_limits<double>::lowest();
    for (const double latitude : {area.south, area.north}) {
        for (const double longitude : {area.west, area.east}) {
            const auto corner = converter.latLonToUtm(latitude, longitude);
            if (corner.flags != 0) {
                return ErrorCode::AreaTooWideForUtm;
            }
            plan.west = std::min(plan.west, corner.easting);
            plan.east = std::max(plan.east, corner.easting);
            plan.south = std::min(plan.south, corner.northing);
            plan.north = std::max(plan.north, corner.northing);
        }
    }
    plan.spacing = cellSizeMetres(header);
    if (plan.spacing < 1) {
        return ErrorCode::ScaleTooSmallForConversion;
    }
    plan.west = snappedDown(plan.west, plan.spacing);
    plan.east = snappedDown(plan.east, plan.spacing);
    plan.south = snappedDown(plan.south, plan.spacing);
    plan.north = snappedDown(plan.north, plan.spacing);
    plan.columns = static_cast<int>((plan.east - plan.west) / plan.spacing + 1);
    plan.rows = static_cast<int>((plan.north - plan.south) / plan.spacing + 1);
    plan.east = plan.west + (plan.columns - 1.0) * plan.spacing;
    plan.north = plan.south + (plan.rows - 1.0) * plan.spacing;
    return plan;
}

void setUtmZone(TerrainHeader& header, geodesy::EllipsoidId ellipsoid, int zone, char hemisphere) {
    header.ellipsoid = ellipsoid;
    header.ellipsoidCode = geodesy::datumCodeFor(ellipsoid);
    header.utmZone = zone;
    header.hemisphere = hemisphere;
    header.zoneText = std::to_string(zone) + hemisphere;
    geodesy::UtmConverter converter;
    if (converter.setUtmParameters(ellipsoid, zone) != 0) {
        return;
    }
    bool first = true;
    for (const double easting : {header.westBound, header.eastBound}) {
        for (const double northing : {header.southBound, header.northBound}) {
            const auto point = converter.utmToLatLon(header.zoneText, easting, northing);
            if (point.flags != 0) {
                continue;
            }
            const auto latitude = static_cast<float>(point.latitudeDegrees);
            const auto longitude = static_cast<float>(point.longitudeDegrees);
            header.westLon = first ? longitude : std::min(header.westLon, longitude);
            header.eastLon = first ? longitude : std::max(header.eastLon, longitude);
            header.southLat = first ? latitude : std::min(header.southLat, latitude);
            header.northLat = first ? latitude : std::max(header.northLat, latitude);
            first = false;
        }
    }
}

support::Result<terrain::Terrain> convertToUtm(const terrain::Terrain& terrain,
                                               const UtmConversionPlan& plan,
                                               const support::ProgressCallback& progress) {
    auto created = terrain::TerrainModel::createUninitialised(plan.rows, plan.columns);
    if (!created) {
        return created.error();
    }
    terrain::TerrainModel grid = std::move(created.value());
    const PositionSource positions(plan);
    const GeographicToGrid toGrid = geographicToGrid(terrain.header);
    const auto fill = [&](int firstRow, int endRow) {
        RowPositions row;
        for (int i = firstRow; i < endRow; ++i) {
            positions.fillRow(i, row);
            auto cells = grid.row(i);
            for (int j = 0; j < plan.columns; ++j) {
                // A failed position is NaN and samples as missing.
                cells[j] = sampleGrid(
                    terrain.grid, toGrid.columnAtZero + row.longitudes[j] * toGrid.columnsPerDegree,
                    toGrid.rowAtZero + row.latitudes[j] * toGrid.rowsPerDegree);
            }
        }
    };
    if (!support::inReportedBands(plan.rows, 0, progress, fill, rowsPerReport)) {
        return ErrorCode::ConversionCancelled;
    }
    const ValueRange range = storeAboveLowest(grid);
    if (!range.any || range.lowest == range.highest) {
        return ErrorCode::CannotConvertArea;
    }
    terrain::Terrain converted;
    TerrainHeader& header = converted.header;
    header = terrain.header;
    header.missingCells.reset();
    header.rows = plan.rows;
    header.columns = plan.columns;
    header.projection = terrain::ProjectionKind::UTM;
    header.gridKind = terrain::gridKindDem;
    header.coordinateType = terrain::coordinateTypeUtm;
    header.westBound = header.originX = plan.west;
    header.southBound = header.originY = plan.south;
    header.eastBound = header.maxX = plan.east;
    header.northBound = header.maxY = plan.north;
    header.spacingX = header.spacingY = static_cast<float>(plan.spacing);
    header.metresPerUnitX = 1.0f;
    header.degreesPerColumn = header.degreesPerRow = 0;
    header.sinusoidalCentralMeridian = 0;
    header.minElevation = terrain.header.minElevation + range.lowest;
    header.maxElevation = terrain.header.minElevation + range.highest;
    header.title.clear();
    setUtmZone(header, plan.ellipsoid, plan.zone, plan.hemisphere);
    converted.grid = std::move(grid);
    converted.loaded = true;
    return converted;
}

support::Result<terrain::Terrain> sinusoidalLayout(const terrain::Terrain& terrain,
                                                   const support::ProgressCallback& progress) {
    const TerrainHeader& old = terrain.header;
    const GeographicArea area = conversionArea(old);
    const DegreeSteps steps = degreeSteps(old);
    const int columns = old.columns;
    const int rows = old.rows;
    const int middle = columns / 2;
    // The source column of output column j in row i; −1 where the row is blank.
    const auto sourceColumn = [&](int i, int j) {
        const double scale =
            std::cos((area.south + i * steps.latitude) / support::degreesPerRadian);
        const int k = scale > 0 ? static_cast<int>(middle + (j - middle) / scale) : 0;
        return k <= 0 || k >= columns ? -1 : k;
    };
    int fewestBlanks = columns;
    for (int i = 0; i < rows; ++i) {
        int blanks = 0;
        for (int j = 0; j < columns; ++j) {
            blanks += sourceColumn(i, j) < 0 ? 1 : 0;
        }
        fewestBlanks = std::min(fewestBlanks, blanks);
        if (!support::reportProgress(progress, i + 1, 2L * rows)) {
            return ErrorCode::ConversionCancelled;
        }
    }
    const int cut = fewestBlanks / 2;
    const int newColumns = columns - 2 * cut;
    if (newColumns < 1) {
        return ErrorCode::CannotConvertArea;
    }
    auto created = terrain::TerrainModel::createUninitialised(rows, newColumns);
    if (!created) {
        return created.error();
    }
    terrain::TerrainModel grid = std::move(created.value());
    for (int i = 0; i < rows; ++i) {
        const auto source = terrain.grid.row(i);
        auto cells = grid.row(i);
        for (int j = 0; j < newColumns; ++j) {
            const int k = sourceColumn(i, j + cut);
            cells[j] = k < 0 ? terrain::missingCell : source[k];
        }
        if (!support::reportProgress(progress, rows + i + 1, 2L * rows)) {
            return ErrorCode::ConversionCancelled;
        }
    }
    const ValueRange range = storeAboveLowest(grid);
    if (!range.any) {
        return ErrorCode::CannotConvertArea;
    }
    terrain::Terrain laidOut;
    TerrainHeader& header = laidOut.header;
    header = old;
    header.missingCells.reset();
    header.columns = newColumns;
    header.projection = terrain::ProjectionKind::Sinusoidal;
    header.gridKind = terrain::gridKindSinusoidal;
    header.coordinateType = terrain::coordinateTypeGeographic;
    header.degreesPerColumn = static_cast<float>(steps.longitude);
    header.degreesPerRow = static_cast<float>(steps.latitude);
    // The middle column stays where it was.
    header.sinusoidalCentralMeridian = static_cast<float>(area.west + middle * steps.longitude);
    header.westLon = static_cast<float>(area.west);
    header.eastLon = static_cast<float>(area.west + (columns - 1) * steps.longitude);
    header.southLat = static_cast<float>(area.south);
    header.northLat = static_cast<float>(area.south + (rows - 1) * steps.latitude);
    header.westBound = header.originX = header.westLon * arcSecondsPerDegree;
    header.eastBound = header.maxX = header.eastLon * arcSecondsPerDegree;
    header.southBound = header.originY = header.southLat * arcSecondsPerDegree;
    header.northBound = header.maxY = header.northLat * arcSecondsPerDegree;
    header.spacingX = header.spacingY = 1.0f;
    header.metresPerUnitX = static_cast<float>(metresPerDegree * steps.latitude);
    header.minElevation = old.minElevation + range.lowest;
    header.maxElevation = old.minElevation + range.highest;
    header.title.clear();
    laidOut.grid = std::move(grid);
    laidOut.loaded = true;
    return laidOut;
}

support::Status checkEllipsoidChange(const TerrainHeader& header) {
    if (const auto refusal = marsOrSinusoidalRefusal(header)) {
        return *refusal;
    }
    if (header.projection != terrain::ProjectionKind::UTM) {
        return ErrorCode::NotUsingUtm;
    }
    return support::success();
}

support::Result<TerrainHeader> changeUtmEllipsoid(const TerrainHeader& header,
                                                  geodesy::EllipsoidId ellipsoid) {
    if (auto refused = checkEllipsoidChange(header); !refused) {
        return refused.error();
    }
    if (ellipsoid == header.ellipsoid) {
        return ErrorCode::NoEllipsoidChangeRequired;
    }
    const auto moved = geodesy::MoveUtmBoxToEllipsoid(
        {header.westBound, header.southBound, header.eastBound, header.northBound}, header.zoneText,
        header.ellipsoid, ellipsoid, header.utmZone);
    if (!moved) {
        return ErrorCode::UnusableUtmCoordinates;
    }
    TerrainHeader changed = header;
    changed.westBound = changed.originX = terrain::RoundToInt(moved->west);
    changed.southBound = changed.originY = terrain::RoundToInt(moved->south);
    changed.eastBound = changed.maxX = terrain::RoundToInt(moved->east);
    changed.northBound = changed.maxY = terrain::RoundToInt(moved->north);
    changed.title.clear();
    setUtmZone(changed, ellipsoid, header.utmZone, header.hemisphere);
    return changed;
}

}  // namespace tavrok::edit

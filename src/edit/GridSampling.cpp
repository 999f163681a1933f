#include "edit/GridSampling.h"

namespace tavrok::edit {

ValueRange storeAboveLowest(terrain::TerrainModel& grid) {
    ValueRange range;
    for (const float cell : grid.cells()) {
        if (holdsValue(cell)) {
            range.include(cell);
        }
    }
    for (float& cell : grid.cells()) {
        cell = holdsValue(cell) ? cell - range.lowest : terrain::missingCell;
    }
    return range;
}

}  // namespace tavrok::edit

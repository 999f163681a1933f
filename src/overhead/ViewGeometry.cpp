#include "overhead/ViewGeometry.h"

#include <algorithm>

#include "terrain/TerrainHelpers.h"

namespace tavrok::overhead {

ViewGeometry ViewGeometry::compute(int rows, int columns, float zoom, int clientWidth,
                                   int clientHeight) {
    ViewGeometry geometry;
    geometry.zoom = zoom;
    if (!(zoom > 0) || rows < 1 || columns < 1) {
        return geometry;
    }
    geometry.width = std::max(1, terrain::RoundToInt(static_cast<double>(columns) * zoom));
    geometry.height = std::max(1, terrain::RoundToInt(static_cast<double>(rows) * zoom));
    geometry.columnsPerPixel = static_cast<float>(columns) / static_cast<float>(geometry.width);
    geometry.rowsPerPixel = static_cast<float>(rows) / static_cast<float>(geometry.height);
    geometry.offsetX = std::max(0, (clientWidth - geometry.width) / 2);
    geometry.offsetY = std::max(0, (clientHeight - geometry.height) / 2);
    return geometry;
}

bool ViewGeometry::withinImageLimits() const {
    const long long bytes = 3LL * width * height;
    return width <= largestImageSide && height <= largestImageSide && bytes <= largestImageBytes;
}

float fitWindowZoom(int rows, int columns, int clientWidth, int clientHeight) {
    if (rows < 1 || columns < 1 || clientWidth < 1 || clientHeight < 1) {
        return 1.0f;
    }
    const float clientRatio = static_cast<float>(clientHeight) / static_cast<float>(clientWidth);
    const float gridRatio = static_cast<float>(rows) / static_cast<float>(columns);
    const float zoom = clientRatio < gridRatio
                           ? static_cast<float>(clientHeight) / static_cast<float>(rows)
                           : static_cast<float>(clientWidth) / static_cast<float>(columns);
    return std::min(zoom, 2.0f);
}

int sceneMatrixSize(float zoom) {
    const int n = zoom > 0 ? static_cast<int>(128.0f / zoom) : 1;
    return n - n % 2 + 1;
}

}  // namespace tavrok::overhead

#pragma once

namespace tavrok::overhead {

// Where the overhead image lies: its size from the zoom, the factors that map image pixels back
// to grid cells, and the offsets that centre it in the window.
struct ViewGeometry {
    float zoom = 1.0f;  // image pixels per grid cell, > 0
    int width = 0;      // W = columns × zoom, halves away from zero
    int height = 0;     // H = rows × zoom
    float columnsPerPixel = 1.0f;
    float rowsPerPixel = 1.0f;
    int offsetX = 0;  // (client width − W) / 2, not below 0
    int offsetY = 0;

    // The geometry of a rows × columns grid at a zoom, in a client area of the given size
    // (pixels). A non-positive zoom or grid gives an empty image.
    static ViewGeometry compute(int rows, int columns, float zoom, int clientWidth,
                                int clientHeight);

    // Whether the image fits largestImageSide on both sides and largestImageBytes in all.
    bool withinImageLimits() const;

    bool operator==(const ViewGeometry&) const = default;
};

// The largest overhead image a render writes: pixels per side, and bytes at three per pixel.
inline constexpr int largestImageSide = 16384;
inline constexpr long long largestImageBytes = 512LL << 20;

// The zoom that fits the grid into the client area: client height / rows when the client is
// relatively wider than the grid, else client width / columns; at most 2.0.
float fitWindowZoom(int rows, int columns, int clientWidth, int clientHeight);

// The odd cell count of the scene square shown by the legend and the map-size box:
// n = trunc(128 / zoom), made odd as n − n mod 2 + 1.
int sceneMatrixSize(float zoom);

}  // namespace tavrok::overhead

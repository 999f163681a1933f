#pragma once
#include <string>

#include "support/DialogModel.h"

namespace tavrok::overhead {

// "Map Scale" (F6): the overhead image's width in pixels on a scroll bar from columns/10 to
// 2·columns, always a multiple of 4 where the range allows; the zoom and the pixel rows follow.
class MapScaleDialog : public support::DialogModel {
  public:
    // rows, columns: the terrain grid; zoom: the current pixels per cell; the client area in
    // pixels serves "Fit Window".
    MapScaleDialog(int rows, int columns, float zoom, int clientWidth, int clientHeight);

    std::string_view dialogId() const override { return "IDD_MAPSCALE"; }
    std::string_view title() const override { return "Map Scale"; }
    support::Status accept() override { return support::success(); }

    int minimumWidth() const { return m_columns / 10; }
    int maximumWidth() const { return 2 * m_columns; }
    int width() const { return m_width; }  // "Pixel Columns"
    int pixelRows() const { return m_pixelRows; }
    float zoom() const { return m_zoom; }
    // The zoom as shown: "%-1.2f   ".
    std::string zoomText() const;

    void lineLeft() { setWidth(m_width - 4); }
    void lineRight() { setWidth(m_width + 4); }
    void pageLeft() { setWidth(m_width - 20); }
    void pageRight() { setWidth(m_width + 20); }
    void thumb(int position) { setWidth(position); }
    // Raises the width to the next multiple of 4, keeps it in range and derives the zoom
    // (width/columns) and the rows (trunc(rows × zoom)).
    void setWidth(int width);
    // "Fit Window": the zoom that fits the client area (at most 2.0); the width and rows are
    // then the grid's size times that zoom, to the nearest pixel.
    void fitWindow();

  private:
    int m_rows;
    int m_columns;
    int m_clientWidth;
    int m_clientHeight;
    int m_width = 0;
    int m_pixelRows = 0;
    float m_zoom = 1.0f;
};

}  // namespace tavrok::overhead

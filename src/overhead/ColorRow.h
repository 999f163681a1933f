#pragma once
#include <cstdint>

#include "colour/ColorScale.h"

namespace tavrok::overhead {

// Colours one image row of `width` pixels into out (three bytes each): pixel x takes the cell
// cells[columns[x]] (cells[x] when columns is null) plus minimum, and the shade shades[x] (1
// when shades is null). Every pixel is exactly colorForElevation's; processors with AVX2 take
// eight pixels at a time.
void colorRow(const float* cells, const int* columns, const float* shades, int width, float minimum,
              const colour::ColorScale& scale, const colour::ScaleSettings& settings,
              std::uint8_t* out);

}  // namespace tavrok::overhead

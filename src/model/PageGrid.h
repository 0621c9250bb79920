#pragma once
// The grid of a page: dots or lines every `step` pixels from the origin over a
// surface of width x height pixels. Drawn through a Canvas by the page painting and
// by printing. GUI thread only.
#include <cstdint>

#include "model/Canvas.h"

namespace lumaplot {

// Grid styles (`GridStyle`).
inline constexpr int32_t kGridDots = 0;
inline constexpr int32_t kGridSolid = 1;
inline constexpr int32_t kGridDotted = 2;
inline constexpr int32_t kGridDashDot = 3;

// Style 0 sets a pixel at every (i * step, j * step) inside the surface; styles 1 to
// 3 draw full-height vertical lines and then full-width horizontal lines, one pixel
// wide, solid, dotted or dash-dot. A step below 1 or an unknown style draws nothing.
void PaintGrid(Canvas& canvas, int32_t style, int32_t color, int32_t step, int32_t width,
               int32_t height);

}  // namespace lumaplot

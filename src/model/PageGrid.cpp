#include "model/PageGrid.h"

namespace lumaplot {
namespace {

void PaintDots(Canvas& canvas, int32_t color, int64_t step, int64_t width, int64_t height) {
  for (int64_t x = 0; x < width; x += step) {
    for (int64_t y = 0; y < height; y += step) {
      canvas.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), color);
    }
  }
}

// Counting in 64 bits keeps a step near the int range from wrapping round.
void PaintLines(Canvas& canvas, int64_t step, int32_t width, int32_t height) {
  for (int64_t x = 0; x < width; x += step) {
    canvas.MoveTo(static_cast<int32_t>(x), 0);
    canvas.LineTo(static_cast<int32_t>(x), height);
  }
  for (int64_t y = 0; y < height; y += step) {
    canvas.MoveTo(0, static_cast<int32_t>(y));
    canvas.LineTo(width, static_cast<int32_t>(y));
  }
}

}  // namespace

void PaintGrid(Canvas& canvas, int32_t style, int32_t color, int32_t step, int32_t width,
               int32_t height) {
  if (step < 1) return;
  canvas.SetPenWidth(1);
  canvas.SetPenColor(color);
  canvas.SetPenMode(TPenMode::Copy);
  switch (style) {
    case kGridDots:
      PaintDots(canvas, color, step, width, height);
      return;
    case kGridSolid:
      canvas.SetPenStyle(TPenStyle::Solid);
      break;
    case kGridDotted:
      canvas.SetPenStyle(TPenStyle::Dot);
      break;
    case kGridDashDot:
      canvas.SetPenStyle(TPenStyle::DashDot);
      break;
    default:
      return;
  }
  PaintLines(canvas, step, width, height);
  canvas.SetPenStyle(TPenStyle::Solid);
}

}  // namespace lumaplot

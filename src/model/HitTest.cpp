#include "model/HitTest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/LightOutline.h"

namespace lumaplot {
namespace {

TRect Normalized(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
          std::max(r.Top, r.Bottom)};
}

// Characters of a UTF-8 text (continuation bytes do not count).
int64_t CharacterCount(const std::string& text) {
  return std::count_if(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

}  // namespace

TRect TextArea(const TLightCell& text, const TPresentationSettings& settings) {
  int64_t width = 0;
  int64_t height = 0;
  if (text.Canvas != nullptr) {
    Canvas& canvas = *text.Canvas;
    canvas.SetFont(settings.DefaultFont);
    canvas.SetFontHeight(text.Size);
    canvas.SetFontStyle(text.Flags & (kFontBold | kFontItalic));
    width = canvas.TextWidth(text.Text);
    height = canvas.TextHeight(text.Text);
  } else {
    height = text.Size;
    width = int64_t{text.Size} * CharacterCount(text.Text);
  }
  const auto clampTo = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return {text.X1, text.Y1, clampTo(text.X1 + width), clampTo(text.Y1 + height)};
}

namespace {

bool HitLight(const TLightCell& light, int32_t x, int32_t y) {
  const TLightOutline outline = LightOutline(light);
  if (outline.Count == 0) return PointInEllipse(outline.Frame, x, y);
  // The closing point of a bar graph's frame adds nothing to the area.
  const int count = light.Fixture.Shape == BarGraph ? 4 : outline.Count;
  return PointInPolygon(std::span(outline.Points.data(), static_cast<size_t>(count)), x, y);
}

bool HitShape(const TLightCell& shape, int32_t x, int32_t y) {
  const TRect rect{shape.X1, shape.Y1, shape.X2, shape.Y2};
  if (shape.ShapeType == kShapeEllipse) return PointInEllipse(rect, x, y);
  if (shape.ShapeType == kShapeRectangle) return PointInRect(rect, x, y);
  return false;
}

// Near a line: within the tolerance of its bounding box, then close to it
// horizontally or vertically.
bool HitLine(const TLightCell& line, int32_t x, int32_t y) {
  const int64_t tolerance = std::min<int64_t>(int64_t{line.Size} + 5, 6);
  const int64_t x1 = line.X1, y1 = line.Y1, x2 = line.X2, y2 = line.Y2;
  if (x < std::min(x1, x2) - tolerance || x > std::max(x1, x2) + tolerance) return false;
  if (y < std::min(y1, y2) - tolerance || y > std::max(y1, y2) + tolerance) return false;
  if (std::llabs(y1 - y2) < tolerance) return std::llabs(y1 - y) < tolerance;
  if (std::llabs(x1 - x2) < tolerance) return std::llabs(x1 - x) < tolerance;
  const double dx = static_cast<double>(x2 - x1);
  const double dy = static_cast<double>(y2 - y1);
  const double px = static_cast<double>(x - x1);
  const double py = static_cast<double>(y - y1);
  return std::fabs(dy / dx * px - py) < static_cast<double>(tolerance) ||
         std::fabs(dx / dy * py - px) < static_cast<double>(tolerance);
}

}  // namespace

bool PointInRect(const TRect& rect, int32_t x, int32_t y) {
  const TRect r = Normalized(rect);
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

bool PointInEllipse(const TRect& rect, int32_t x, int32_t y) {
  const TRect r = Normalized(rect);
  if (!PointInRect(r, x, y)) return false;
  // Doubled coordinates keep the pixel centre and the ellipse centre whole numbers.
  const double rx = static_cast<double>(r.Right) - r.Left;
  const double ry = static_cast<double>(r.Bottom) - r.Top;
  const double dx = (2.0 * x + 1.0 - r.Left - static_cast<double>(r.Right)) / rx;
  const double dy = (2.0 * y + 1.0 - r.Top - static_cast<double>(r.Bottom)) / ry;
  return dx * dx + dy * dy < 1.0;
}

bool PointInPolygon(std::span<const TPoint> points, int32_t x, int32_t y) {
  if (points.size() < 3) return false;
  // Sample at the pixel centre, in doubled coordinates so every product is exact.
  const int64_t px = 2 * int64_t{x} + 1;
  const int64_t py = 2 * int64_t{y} + 1;
  int winding = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % points.size()];
    const int64_t ax = 2 * int64_t{a.X}, ay = 2 * int64_t{a.Y};
    const int64_t bx = 2 * int64_t{b.X}, by = 2 * int64_t{b.Y};
    const int64_t side = (bx - ax) * (py - ay) - (px - ax) * (by - ay);
    if (ay <= py && by > py && side > 0) ++winding;
    if (by <= py && ay > py && side < 0) --winding;
  }
  return winding != 0;
}

bool HitTest(TLightCell& cell, int32_t x, int32_t y, const TPresentationSettings& settings) {
  switch (cell.Kind) {
    case KindText:
      return PointInRect(TextArea(cell, settings), x, y);
    case KindLight:
      return HitLight(cell, x, y);
    case KindShape:
      return HitShape(cell, x, y);
    case KindLine:
      return HitLine(cell, x, y);
    default:
      return false;
  }
}

int ObjectAt(TStageData& doc, int32_t x, int32_t y, const TPresentationSettings& settings) {
  for (size_t i = doc.Objects.size(); i-- > 0;) {
    TLightCell* cell = doc.Objects[i];
    if (cell != nullptr && HitTest(*cell, x, y, settings)) return static_cast<int>(i);
  }
  return -1;
}

bool HitTest(TLightCell& cell, int32_t x, int32_t y) {
  return HitTest(cell, x, y, PresentationSettings());
}

int ObjectAt(TStageData& doc, int32_t x, int32_t y) {
  return ObjectAt(doc, x, y, PresentationSettings());
}

}  // namespace lumaplot

#include "model/LightOutline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumaplot {
namespace {

// Whole pixels of a turned coordinate. The sine and cosine of right angles are not
// exact in floating point, so a point that lands on a whole pixel can come out a
// hair below it; such a hair is not allowed to move the point a pixel away.
constexpr double kHair = 1e-9;

int32_t ToPixel(double whole) {
  return static_cast<int32_t>(std::clamp(whole, -2147483648.0, 2147483647.0));
}

int32_t WholePixel(double v) { return ToPixel(std::floor(v + kHair)); }

// As WholePixel, but toward zero.
int32_t TruncatedPixel(double v) { return ToPixel(std::trunc(v + std::copysign(kHair, v))); }

TPoint Center(const TLightCell& light) {
  return {light.X1 + light.Width / 2, light.Y1 + light.Height / 2};
}

TRect Frame(const TLightCell& light) {
  return {light.X1, light.Y1, light.X1 + light.Width, light.Y1 + light.Height};
}

TRect BoundingBox(const TPoint* points, int count) {
  TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (int i = 1; i < count; ++i) {
    box.Left = std::min(box.Left, points[i].X);
    box.Top = std::min(box.Top, points[i].Y);
    box.Right = std::max(box.Right, points[i].X);
    box.Bottom = std::max(box.Bottom, points[i].Y);
  }
  return box;
}

TBarPart Quad(const TLightCell& light, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const TPoint c = Center(light);
  return {
      {RotatePoint({left, top}, c, light.Angle), RotatePoint({right, top}, c, light.Angle),
       RotatePoint({right, bottom}, c, light.Angle), RotatePoint({left, bottom}, c, light.Angle)},
      4};
}

}  // namespace

bool IsCircleShape(int32_t shape) {
  return shape != Rectangle && shape != Octagon && shape != BarGraph;
}

TPoint RotatePoint(TPoint point, TPoint center, int32_t angle) {
  const double a = angle * std::numbers::pi / 180.0;
  const double s = std::sin(a);
  const double c = std::cos(a);
  const double dx = static_cast<double>(point.X) - center.X;
  const double dy = static_cast<double>(point.Y) - center.Y;
  return {WholePixel(c * dx - s * dy + center.X), WholePixel(s * dx + c * dy + center.Y)};
}

TLightOutline LightOutline(const TLightCell& light) {
  TLightOutline outline;
  outline.Center = Center(light);
  outline.Frame = Frame(light);
  outline.Box = outline.Frame;
  const int32_t shape = light.Fixture.Shape;
  if (IsCircleShape(shape)) return outline;

  const auto [l, t, r, b] = outline.Frame;
  auto& p = outline.Points;
  if (shape == Octagon) {
    const auto d = static_cast<int32_t>(std::floor(std::min(light.Width, light.Height) * 0.29289));
    p = {TPoint{l + d, t}, {r - d, t}, {r, t + d}, {r, b - d},
         {r - d, b},       {l + d, b}, {l, b - d}, {l, t + d}};
    outline.Count = 8;
  } else {
    p[0] = {l, t};
    p[1] = {r, t};
    p[2] = {r, b};
    p[3] = {l, b};
    outline.Count = 4;
  }
  for (int i = 0; i < outline.Count; ++i) {
    p[static_cast<size_t>(i)] = RotatePoint(p[static_cast<size_t>(i)], outline.Center, light.Angle);
  }
  if (shape == BarGraph) p[outline.Count++] = p[0];
  outline.Box = BoundingBox(p.data(), outline.Count);
  return outline;
}

TBarParts BarParts(const TLightCell& light) {
  const auto [l, t, r, b] = Frame(light);
  const double level = std::isnan(light.BarLevel) ? 0.0 : std::clamp(light.BarLevel, 0.0, 1.0);
  const int32_t g = TruncatedPixel(b - (static_cast<double>(b) - t) * level);
  TBarParts parts;
  if (g < b) parts.Filled = Quad(light, l, g, r, b);
  if (t < g) parts.Empty = Quad(light, l, t, r, g);
  return parts;
}

}  // namespace lumaplot

#include "ui/qt/ColorConvert.h"

#include <QPalette>

#include "model/LibItem.h"

namespace lumaplot {

QColor ToQColor(int32_t color) {
  if (color == kNoColor) return {};
  const auto bits = static_cast<uint32_t>(color);
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

int32_t FromQColor(const QColor& color) {
  if (!color.isValid()) return kNoColor;
  const QColor rgb = color.toRgb();
  return static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) |
                              static_cast<uint32_t>(rgb.green()) << 8 |
                              static_cast<uint32_t>(rgb.blue()) << 16);
}

QColor SwatchColor(int32_t color, const QPalette& palette) {
  return color == kNoColor ? palette.color(QPalette::Button) : ToQColor(color);
}

}  // namespace lumaplot

#pragma once
// The program's colour values (0x00BBGGRR, red in the low byte; kNoColor =
// 0x1FFFFFFF for "no colour") and Qt's QColor. Pure functions, any thread.
#include <cstdint>

#include <QColor>

class QPalette;

namespace lumaplot {

// kNoColor gives an invalid QColor. Otherwise the low three bytes are the colour
// and the high byte is ignored.
QColor ToQColor(int32_t color);

// An invalid QColor gives kNoColor; otherwise 0x00BBGGRR (alpha is dropped).
int32_t FromQColor(const QColor& color);

// What a colour swatch shows: the colour, or the palette's button face for kNoColor.
QColor SwatchColor(int32_t color, const QPalette& palette);

}  // namespace lumaplot

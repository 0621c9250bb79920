#pragma once
// The outline of a light's body on the page: the corner points of its shape turned
// by its `Angle` about its centre, the bounding box the level and channel texts are
// placed against, and the filled and empty parts of a bar graph. Pure functions of
// the light's fields; a `Shape` the program does not know is taken as a circle.
#include <array>
#include <cstdint>

#include "model/Canvas.h"
#include "model/LightCell.h"
#include "model/Rect.h"

namespace lumaplot {

struct TLightOutline {
  TPoint Center;
  TRect Frame;  // the unturned rectangle X1, Y1, X1 + Width, Y1 + Height
  std::array<TPoint, 8> Points{};
  int Count = 0;  // 0 for a circle (drawn as the ellipse of Frame), else 4, 5 or 8
  TRect Box;      // bounding box of the turned points; Frame for a circle
};

// A four-point part of a bar graph; Count 0 when the part is empty.
struct TBarPart {
  std::array<TPoint, 4> Points{};
  int Count = 0;
};

struct TBarParts {
  TBarPart Filled;  // from the level line down to the bottom
  TBarPart Empty;   // from the top down to the level line
};

// True when the light's body is the ellipse of its frame.
bool IsCircleShape(int32_t shape);

// The body outline as drawn: a bar graph's frame is closed by repeating its first
// point (five points), a rectangle has four, an octagon eight.
TLightOutline LightOutline(const TLightCell& light);

// The filled and empty parts of a bar graph at its `BarLevel` (clamped to 0 … 1),
// turned like the outline.
TBarParts BarParts(const TLightCell& light);

// Turns (x, y) by `angle` degrees about `center`, clockwise on the screen, and
// takes the whole pixel at or below each coordinate.
TPoint RotatePoint(TPoint point, TPoint center, int32_t angle);

}  // namespace lumaplot

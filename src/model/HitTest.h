#pragma once
// Whether a point of the page lies on an object, and which object is topmost at a
// point. Areas follow pixel-region rules: a pixel belongs to an area when its
// centre does, so the left and top edges of a rectangle belong to it and the right
// and bottom edges do not; polygons are filled by the winding rule. Corners given
// in reverse order are read as the same rectangle.
//
// GUI thread only. A text is measured on the object's `Canvas` (which only changes
// that canvas's font); without a canvas it is taken as `Size` pixels per character.
#include <cstdint>
#include <span>

#include "model/Canvas.h"
#include "model/LightPresentation.h"
#include "model/StageData.h"

namespace lumaplot {

// Pixel (x, y) inside [left, right) x [top, bottom).
bool PointInRect(const TRect& rect, int32_t x, int32_t y);
// Pixel (x, y) inside the ellipse of a rectangle.
bool PointInEllipse(const TRect& rect, int32_t x, int32_t y);
// Pixel (x, y) inside a polygon, winding rule.
bool PointInPolygon(std::span<const TPoint> points, int32_t x, int32_t y);

// The area a text object covers as it is drawn: from (X1, Y1), measured in the
// default font of `settings` at the object's own height and style; without a
// canvas, `Size` pixels per character. Far-off results are held at the 32-bit limits.
TRect TextArea(const TLightCell& text, const TPresentationSettings& settings);

// True when (x, y) lies on `cell`. A text is measured in the default font of
// `settings` at its own height and style, as it is drawn.
bool HitTest(TLightCell& cell, int32_t x, int32_t y, const TPresentationSettings& settings);
// As above with the program-wide PresentationSettings().
bool HitTest(TLightCell& cell, int32_t x, int32_t y);

// The index in `Objects` of the topmost object at (x, y), or -1.
int ObjectAt(TStageData& doc, int32_t x, int32_t y, const TPresentationSettings& settings);
int ObjectAt(TStageData& doc, int32_t x, int32_t y);

}  // namespace lumaplot

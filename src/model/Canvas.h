#pragma once
// The drawing surface the stage model draws on and measures texts with, in the
// manner of a GDI device: a current pen, brush and font, and primitives that use
// them. Coordinates are page pixels, y growing downward. Colours are 0x00BBGGRR.
//
// Areas: Ellipse and FillRect cover [left, right) x [top, bottom) (Ellipse takes
// its corners in either order, FillRect draws nothing for a reversed one); Polygon fills by
// the winding rule and strokes its outline through the points with the pen, as
// Polyline does; LineTo draws from the current position towards the end point and
// leaves the end point as the current position.
//
// Implementations: QtCanvas (ui/qt) paints into a retained image; the tests use a
// canvas that records each call. A canvas belongs to the GUI thread. Bad values are
// never an error: a pen width below 1 draws one pixel wide, an empty rectangle draws
// nothing, unknown font style bits are ignored.
#include <cstdint>
#include <span>
#include <string_view>

#include "model/Rect.h"
#include "util/FontSpec.h"

namespace lumaplot {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

enum class TPenStyle { Solid, Dot, DashDot, Clear };
// Copy paints in the pen colour; Invert inverts what lies under the pen (the pen
// colour is ignored), so drawing the same figure twice restores the surface.
enum class TPenMode { Copy, Invert };
// A clear brush leaves the inside of figures and the background of texts untouched.
enum class TBrushStyle { Solid, Clear };

// The hand mark is a square image of this many pixels.
inline constexpr int32_t kHandMarkSize = 32;

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPenColor(int32_t color) = 0;
  virtual void SetPenWidth(int32_t width) = 0;
  virtual void SetPenStyle(TPenStyle style) = 0;
  virtual void SetPenMode(TPenMode mode) = 0;
  virtual void SetBrushColor(int32_t color) = 0;
  virtual void SetBrushStyle(TBrushStyle style) = 0;

  // Face, size in points and style of `font`; the pixel height set before is dropped.
  virtual void SetFont(const FontSpec& font) = 0;
  // Sets the font's height in pixels instead of its point size; 0 or less goes back
  // to the point size.
  virtual void SetFontHeight(int32_t pixels) = 0;
  // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut.
  virtual void SetFontStyle(int32_t style) = 0;
  virtual void SetFontColor(int32_t color) = 0;

  // Filled with the brush, outlined with the pen.
  virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Pen only.
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // Brush colour only, no outline.
  virtual void FillRect(const TRect& rect) = 0;
  // `text` (UTF-8) in the font colour with its top-left corner at (x, y); with a
  // solid brush its cell (TextWidth x TextHeight) is first filled in the brush colour.
  virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
  // Size of `text` in the current font.
  virtual int32_t TextWidth(std::string_view text) = 0;
  virtual int32_t TextHeight(std::string_view text) = 0;
  virtual void SetPixel(int32_t x, int32_t y, int32_t color) = 0;
  // The hand mark image, kHandMarkSize pixels square, top-left corner at (x, y).
  virtual void DrawHandMark(int32_t x, int32_t y) = 0;
};

}  // namespace lumaplot

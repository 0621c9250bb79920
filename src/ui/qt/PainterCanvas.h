#pragma once
// PainterCanvas: the Canvas of a printed page. It draws through a QPainter that the
// caller has begun on a printer, a PDF writer or any other paint device, in that
// device's pixels, and keeps nothing: figures and texts stay vectors and real text
// on a printer or in a PDF.
//
// It draws what QtCanvas draws, with the same geometry (ellipses and rectangles
// cover [left, right) x [top, bottom), one pixel wide pens are hairlines, wider pens
// have round ends), except that fonts in points are taken at the device's own dots
// per inch, as a printer's canvas takes them, so level and channel texts print at
// their size in points whatever the scale. The inverting pen mode draws in the pen
// colour: paper cannot be inverted, and printing never uses it.
//
// The painter is borrowed and must stay active while the canvas draws. GUI thread
// only.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <memory>
#include <vector>

#include "model/Canvas.h"
#include "model/Rect.h"
#include "util/PictureLoader.h"

namespace lumaplot {

class PainterCanvas : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter);
  ~PainterCanvas() override;
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  // A picture made by QtPictureLoader, stretched into `rect`. Other pictures and an
  // empty rectangle are ignored.
  void DrawPicture(const TRect& rect, const Picture& picture);

  void SetPenColor(int32_t color) override;
  void SetPenWidth(int32_t width) override;
  void SetPenStyle(TPenStyle style) override;
  void SetPenMode(TPenMode mode) override;
  void SetBrushColor(int32_t color) override;
  void SetBrushStyle(TBrushStyle style) override;
  void SetFont(const FontSpec& font) override;
  void SetFontHeight(int32_t pixels) override;
  void SetFontStyle(int32_t style) override;
  void SetFontColor(int32_t color) override;

  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Polygon(std::span<const TPoint> points) override;
  void Polyline(std::span<const TPoint> points) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void FillRect(const TRect& rect) override;
  void TextOut(int32_t x, int32_t y, std::string_view text) override;
  int32_t TextWidth(std::string_view text) override;
  int32_t TextHeight(std::string_view text) override;
  void SetPixel(int32_t x, int32_t y, int32_t color) override;
  void DrawHandMark(int32_t x, int32_t y) override;

 private:
  struct Font {
    FontSpec Description;
    int32_t Pixels;
    int32_t Style;
    QFont Face;
    QFontMetricsF Metrics;
  };

  void ApplyPen();
  void ApplyBrush();
  const Font& CurrentFont();
  Font MakeFont() const;

  QPainter& painter_;
  QRgb penColor_ = 0;
  int32_t penWidth_ = 1;
  TPenStyle penStyle_ = TPenStyle::Solid;
  QRgb brushColor_ = 0xFFFFFFFF;
  TBrushStyle brushStyle_ = TBrushStyle::Solid;
  bool penStale_ = true;
  bool brushStale_ = true;
  TPoint position_;

  FontSpec fontSpec_;
  int32_t fontPixels_ = 0;
  int32_t fontStyle_ = 0;
  QRgb fontColor_ = 0xFF000000;
  bool fontStale_ = true;
  // The fonts used lately: the level and channel fonts take turns for every light.
  std::vector<std::unique_ptr<Font>> fonts_;
  Font* font_ = nullptr;
};

}  // namespace lumaplot

#pragma once
// QtCanvas: the Canvas of a page surface, painting into an image it keeps (the
// paint box's picture). Incremental drawing paints into the image and gathers the
// changed area; the widget repaints that area by copying from Image(). Full
// repaints redraw the whole image (PaintPage).
//
// The painter stays open on the image for the canvas's life, so drawing costs no
// set-up per call. Image() must therefore not be copied while the canvas draws;
// Snapshot() gives an independent copy. Drawing is not antialiased, except texts.
// The inverting pen mode inverts the image under the pen (drawing twice restores
// it). Fonts in points are taken at 96 dots per inch; a height in pixels is the
// height of the text's cell, as the model measures it.
//
// GUI thread only. Drawing outside the image is clipped; an empty size gives a
// 1 x 1 image.
#include <QImage>
#include <QPainter>
#include <QRect>

#include <memory>
#include <vector>

#include "model/Canvas.h"
#include "util/PictureLoader.h"

namespace lumaplot {

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QSize size, int32_t fillColor = 0);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // A new surface of `size` in `fillColor`; the tools keep their settings.
  void Resize(QSize size, int32_t fillColor = 0);
  QSize Size() const { return image_.size(); }
  const QImage& Image() const { return image_; }
  QImage Snapshot() const { return image_.copy(); }

  // The area drawn since the last call, and forgets it.
  QRect TakeDirtyRect();

  // A picture made by QtPictureLoader, top-left corner at (x, y), in its own size.
  // Other pictures are ignored.
  void DrawPicture(int32_t x, int32_t y, const Picture& picture);

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
  struct FontEntry;
  struct TextRun;

  void BeginPainting(int32_t fillColor);
  void ApplyPen();
  void ApplyBrush();
  FontEntry& CurrentFont();
  TextRun& Run(std::string_view text);
  QImage RenderOpaque(const TextRun& run, QSize size) const;
  void MarkDirty(const QRect& rect);
  void MarkDirtyStroke(const QRect& bounds);
  void StrokeOnly();

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  QRect dirty_;

  QRgb penColor_ = 0;
  int32_t penWidth_ = 1;
  TPenStyle penStyle_ = TPenStyle::Solid;
  TPenMode penMode_ = TPenMode::Copy;
  QRgb brushColor_ = 0xFFFFFFFF;
  TBrushStyle brushStyle_ = TBrushStyle::Solid;
  bool penStale_ = true;
  bool brushStale_ = true;
  TPoint position_;

  FontSpec fontSpec_;
  int32_t fontPixels_ = 0;  // cell height in pixels; 0: by the point size
  int32_t fontStyle_ = 0;
  QRgb fontColor_ = 0xFF000000;
  bool fontStale_ = true;
  std::vector<std::unique_ptr<FontEntry>> fonts_;  // the fonts used lately, newest last
  FontEntry* font_ = nullptr;
};

}  // namespace lumaplot

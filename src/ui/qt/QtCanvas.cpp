#include "ui/qt/QtCanvas.h"

#include <QFontMetrics>
#include <QHash>
#include <QPen>
#include <QStaticText>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/qt/QtPictureLoader.h"

// Resources of a static library are registered by hand, outside any namespace.
static void InitLumaplotResources() { Q_INIT_RESOURCE(resources); }

namespace lumaplot {
namespace {

constexpr double kScreenDpi = 96.0;

QRgb RgbOf(int32_t color) {
  const auto bits = static_cast<uint32_t>(color);
  return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
              static_cast<int>((bits >> 16) & 0xFF));
}

const QImage& HandMarkImage() {
  static const QImage image = [] {
    InitLumaplotResources();
    QImage loaded(":/cursors/hand_mark.png");
    return loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }();
  return image;
}

QVarLengthArray<QPoint, 16> ToQPoints(std::span<const TPoint> points) {
  QVarLengthArray<QPoint, 16> out;
  out.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) out.append(QPoint(p.X, p.Y));
  return out;
}

QRect BoundsOf(const QVarLengthArray<QPoint, 16>& points) {
  if (points.isEmpty()) return {};
  int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
  for (const QPoint& p : points) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

int PixelsOfPoints(int32_t points) {
  return std::max(1, static_cast<int>(std::lround(points * kScreenDpi / 72.0)));
}

QFont MakeFont(const FontSpec& fontSpec, int32_t pixels, int32_t style) {
  QFont font;
  if (!fontSpec.Name.empty()) font.setFamilies({QString::fromStdString(fontSpec.Name)});
  font.setBold((style & kFontBold) != 0);
  font.setItalic((style & kFontItalic) != 0);
  font.setUnderline((style & kFontUnderline) != 0);
  font.setStrikeOut((style & kFontStrikeOut) != 0);
  if (pixels > 0) {
    // A height in pixels is the whole cell, ascent and descent together.
    font.setPixelSize(pixels);
    const int cell = QFontMetrics(font).height();
    if (cell > pixels) font.setPixelSize(std::max(1, pixels * pixels / cell));
  } else {
    font.setPixelSize(PixelsOfPoints(fontSpec.Size));
  }
  return font;
}

}  // namespace

// A text laid out once in one font: its glyphs ready to draw and its width. The
// same short texts (levels, channel names) come back on every refresh, and laying
// them out costs far more than drawing them.
struct QtCanvas::TextRun {
  QStaticText Static;
  int Width = 0;
  // The text drawn once on an opaque background, with the colours it was drawn in:
  // a level or channel text keeps its colours from one refresh to the next, and
  // copying its pixels is many times cheaper than drawing the glyphs again.
  QImage Opaque;
  QRgb OpaqueText = 0;
  QRgb OpaqueBack = 0;
};

// Fonts are built once and kept: the level and channel fonts take turns for every
// light, and building a font and its metrics costs more than drawing the text.
struct QtCanvas::FontEntry {
  FontEntry(const FontSpec& fontSpec, int32_t pixels, int32_t style)
      : Description(fontSpec),
        Pixels(pixels),
        Style(style),
        Font(MakeFont(fontSpec, pixels, style)),
        Metrics(Font) {}

  bool Matches(const FontSpec& fontSpec, int32_t pixels, int32_t style) const {
    return Pixels == pixels && Style == style && Description == fontSpec;
  }

  FontSpec Description;
  int32_t Pixels;
  int32_t Style;
  QFont Font;
  QFontMetrics Metrics;
  QHash<QString, TextRun> Runs;
};

QtCanvas::QtCanvas(QSize size, int32_t fillColor) { Resize(size, fillColor); }

QtCanvas::~QtCanvas() = default;

void QtCanvas::Resize(QSize size, int32_t fillColor) {
  painter_.reset();
  image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  BeginPainting(fillColor);
}

void QtCanvas::BeginPainting(int32_t fillColor) {
  image_.fill(RgbOf(fillColor));
  painter_ = std::make_unique<QPainter>(&image_);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  penStale_ = brushStale_ = fontStale_ = true;
  font_ = nullptr;  // the new painter has no font of ours yet
  dirty_ = image_.rect();
}

QRect QtCanvas::TakeDirtyRect() {
  const QRect taken = dirty_.intersected(image_.rect());
  dirty_ = QRect();
  return taken;
}

void QtCanvas::MarkDirty(const QRect& rect) { dirty_ |= rect; }

void QtCanvas::MarkDirtyStroke(const QRect& bounds) {
  const int margin = penWidth_ / 2 + 2;
  MarkDirty(bounds.adjusted(-margin, -margin, margin, margin));
}

void QtCanvas::SetPenColor(int32_t color) {
  penColor_ = RgbOf(color);
  penStale_ = true;
}
void QtCanvas::SetPenWidth(int32_t width) {
  penWidth_ = std::max(1, width);
  penStale_ = true;
}
void QtCanvas::SetPenStyle(TPenStyle style) {
  penStyle_ = style;
  penStale_ = true;
}
void QtCanvas::SetPenMode(TPenMode mode) {
  penMode_ = mode;
  penStale_ = true;
}
void QtCanvas::SetBrushColor(int32_t color) {
  brushColor_ = RgbOf(color);
  brushStale_ = true;
}
void QtCanvas::SetBrushStyle(TBrushStyle style) {
  brushStyle_ = style;
  brushStale_ = true;
}

void QtCanvas::SetFont(const FontSpec& font) {
  fontSpec_ = font;
  fontPixels_ = 0;
  fontStyle_ = font.Style;
  fontStale_ = true;
}
void QtCanvas::SetFontHeight(int32_t pixels) {
  fontPixels_ = std::max(0, pixels);
  fontStale_ = true;
}
void QtCanvas::SetFontStyle(int32_t style) {
  fontStyle_ = style;
  fontStale_ = true;
}
void QtCanvas::SetFontColor(int32_t color) { fontColor_ = RgbOf(color); }

void QtCanvas::ApplyPen() {
  if (!penStale_) return;
  penStale_ = false;
  painter_->setCompositionMode(penMode_ == TPenMode::Invert ? QPainter::RasterOp_NotDestination
                                                            : QPainter::CompositionMode_SourceOver);
  if (penStyle_ == TPenStyle::Clear) {
    painter_->setPen(Qt::NoPen);
    return;
  }
  // One pixel wide pens are cosmetic; wider ones have round ends and joins.
  QPen pen(QColor::fromRgb(penColor_), penWidth_ <= 1 ? 0 : penWidth_);
  pen.setCapStyle(penWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(penWidth_ <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
  if (penStyle_ == TPenStyle::Dot) pen.setStyle(Qt::DotLine);
  if (penStyle_ == TPenStyle::DashDot) pen.setStyle(Qt::DashDotLine);
  painter_->setPen(pen);
}

void QtCanvas::ApplyBrush() {
  if (!brushStale_) return;
  brushStale_ = false;
  if (brushStyle_ == TBrushStyle::Clear) {
    painter_->setBrush(Qt::NoBrush);
  } else {
    painter_->setBrush(QColor::fromRgb(brushColor_));
  }
}

void QtCanvas::StrokeOnly() {
  painter_->setBrush(Qt::NoBrush);
  brushStale_ = true;
}

QtCanvas::FontEntry& QtCanvas::CurrentFont() {
  if (!fontStale_) return *font_;
  fontStale_ = false;
  FontEntry* found = nullptr;
  for (const auto& entry : fonts_) {
    if (entry->Matches(fontSpec_, fontPixels_, fontStyle_)) found = entry.get();
  }
  if (found == nullptr) {
    constexpr size_t kFontsKept = 16;
    if (fonts_.size() >= kFontsKept) fonts_.erase(fonts_.begin());
    fonts_.push_back(std::make_unique<FontEntry>(fontSpec_, fontPixels_, fontStyle_));
    found = fonts_.back().get();
  }
  if (found != font_) {
    font_ = found;
    painter_->setFont(font_->Font);
  }
  return *font_;
}

QtCanvas::TextRun& QtCanvas::Run(std::string_view text) {
  FontEntry& font = CurrentFont();
  const QString key = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const auto found = font.Runs.find(key);
  if (found != font.Runs.end()) return *found;
  // Far more texts than a plot shows at once means they are not coming back.
  constexpr qsizetype kRunsKept = 8192;
  if (font.Runs.size() >= kRunsKept) font.Runs.clear();
  TextRun run;
  run.Static = QStaticText(key);
  run.Width = font.Metrics.horizontalAdvance(key);
  run.Static.setTextFormat(Qt::PlainText);
  run.Static.prepare(QTransform(), font.Font);
  return *font.Runs.insert(key, std::move(run));
}

void QtCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int x = std::min(left, right);
  const int y = std::min(top, bottom);
  const int width = std::max(left, right) - x;
  const int height = std::max(top, bottom) - y;
  if (width < 1 || height < 1) return;
  ApplyPen();
  ApplyBrush();
  // The integer rectangle of drawEllipse reaches one pixel past its width, so the
  // outline ends on the last pixel before the right and bottom edges.
  const QRect inner(x, y, width - 1, height - 1);
  painter_->drawEllipse(inner);
  MarkDirtyStroke(inner);
}

void QtCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  ApplyPen();
  ApplyBrush();
  const auto q = ToQPoints(points);
  painter_->drawPolygon(q.constData(), static_cast<int>(q.size()), Qt::WindingFill);
  MarkDirtyStroke(BoundsOf(q));
}

void QtCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  ApplyPen();
  const auto q = ToQPoints(points);
  painter_->drawPolyline(q.constData(), static_cast<int>(q.size()));
  MarkDirtyStroke(BoundsOf(q));
}

void QtCanvas::MoveTo(int32_t x, int32_t y) { position_ = {x, y}; }

void QtCanvas::LineTo(int32_t x, int32_t y) {
  ApplyPen();
  const QPoint from(position_.X, position_.Y);
  const QPoint to(x, y);
  painter_->drawLine(from, to);
  MarkDirtyStroke(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                        QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
  position_ = {x, y};
}

void QtCanvas::FillRect(const TRect& rect) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  const QRect area(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1));
  if (penMode_ == TPenMode::Invert) {
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    penStale_ = true;
  }
  painter_->fillRect(area, QColor::fromRgb(brushColor_));
  MarkDirty(area);
}

void QtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  if (text.empty()) return;
  TextRun& run = Run(text);
  const QRect cell(x, y, run.Width, font_->Metrics.height());
  penStale_ = true;
  // Upright text on a solid background stays inside its cell, so its pixels can be
  // drawn once and copied; italic glyphs lean out of the cell and are drawn each time.
  if (brushStyle_ == TBrushStyle::Solid && (fontStyle_ & kFontItalic) == 0) {
    if (run.Opaque.isNull() || run.OpaqueText != fontColor_ || run.OpaqueBack != brushColor_) {
      run.Opaque = RenderOpaque(run, cell.size());
      run.OpaqueText = fontColor_;
      run.OpaqueBack = brushColor_;
    }
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(cell.topLeft(), run.Opaque);
    MarkDirty(cell);
    return;
  }
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (brushStyle_ == TBrushStyle::Solid) painter_->fillRect(cell, QColor::fromRgb(brushColor_));
  painter_->setPen(QColor::fromRgb(fontColor_));
  painter_->drawStaticText(x, y, run.Static);
  // Italic and overhanging glyphs can reach a little past the measured cell.
  MarkDirty(cell.adjusted(-2, 0, cell.height() / 2, 0));
}

QImage QtCanvas::RenderOpaque(const TextRun& run, QSize size) const {
  QImage pixels(size.expandedTo(QSize(1, 1)), image_.format());
  pixels.fill(QColor::fromRgb(brushColor_));
  QPainter painter(&pixels);
  painter.setFont(font_->Font);
  painter.setPen(QColor::fromRgb(fontColor_));
  painter.drawStaticText(0, 0, run.Static);
  return pixels;
}

int32_t QtCanvas::TextWidth(std::string_view text) { return Run(text).Width; }

int32_t QtCanvas::TextHeight(std::string_view) { return CurrentFont().Metrics.height(); }

void QtCanvas::SetPixel(int32_t x, int32_t y, int32_t color) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = RgbOf(color);
  MarkDirty(QRect(x, y, 1, 1));
}

void QtCanvas::DrawHandMark(int32_t x, int32_t y) {
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  penStale_ = true;
  painter_->drawImage(QRect(x, y, kHandMarkSize, kHandMarkSize), HandMarkImage());
  MarkDirty(QRect(x, y, kHandMarkSize, kHandMarkSize));
}

void QtCanvas::DrawPicture(int32_t x, int32_t y, const Picture& picture) {
  const auto* qt = dynamic_cast<const QtPicture*>(&picture);
  if (qt == nullptr || qt->Image().isNull()) return;
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  penStale_ = true;
  painter_->drawImage(QPoint(x, y), qt->Image());
  MarkDirty(QRect(QPoint(x, y), qt->Image().size()));
}

}  // namespace lumaplot

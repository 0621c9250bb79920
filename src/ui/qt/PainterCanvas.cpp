#include "ui/qt/PainterCanvas.h"

#include <QImage>
#include <QPen>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

#include "ui/qt/QtPictureLoader.h"
#include "ui/qt/Resources.h"

namespace lumaplot {
namespace {

QRgb RgbOf(int32_t color) {
  const auto bits = static_cast<uint32_t>(color);
  return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
              static_cast<int>((bits >> 16) & 0xFF));
}

QVarLengthArray<QPoint, 16> ToQPoints(std::span<const TPoint> points) {
  QVarLengthArray<QPoint, 16> out;
  out.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) out.append(QPoint(p.X, p.Y));
  return out;
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

PainterCanvas::~PainterCanvas() = default;

void PainterCanvas::SetPenColor(int32_t color) {
  penColor_ = RgbOf(color);
  penStale_ = true;
}
void PainterCanvas::SetPenWidth(int32_t width) {
  penWidth_ = std::max(1, width);
  penStale_ = true;
}
void PainterCanvas::SetPenStyle(TPenStyle style) {
  penStyle_ = style;
  penStale_ = true;
}
void PainterCanvas::SetPenMode(TPenMode) {}
void PainterCanvas::SetBrushColor(int32_t color) {
  brushColor_ = RgbOf(color);
  brushStale_ = true;
}
void PainterCanvas::SetBrushStyle(TBrushStyle style) {
  brushStyle_ = style;
  brushStale_ = true;
}

void PainterCanvas::SetFont(const FontSpec& font) {
  fontSpec_ = font;
  fontPixels_ = 0;
  fontStyle_ = font.Style;
  fontStale_ = true;
}
void PainterCanvas::SetFontHeight(int32_t pixels) {
  fontPixels_ = std::max(0, pixels);
  fontStale_ = true;
}
void PainterCanvas::SetFontStyle(int32_t style) {
  fontStyle_ = style;
  fontStale_ = true;
}
void PainterCanvas::SetFontColor(int32_t color) { fontColor_ = RgbOf(color); }

void PainterCanvas::ApplyPen() {
  if (!penStale_) return;
  penStale_ = false;
  if (penStyle_ == TPenStyle::Clear) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen pen(QColor::fromRgb(penColor_), penWidth_ <= 1 ? 0 : penWidth_);
  pen.setCapStyle(penWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(penWidth_ <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
  if (penStyle_ == TPenStyle::Dot) pen.setStyle(Qt::DotLine);
  if (penStyle_ == TPenStyle::DashDot) pen.setStyle(Qt::DashDotLine);
  painter_.setPen(pen);
}

void PainterCanvas::ApplyBrush() {
  if (!brushStale_) return;
  brushStale_ = false;
  if (brushStyle_ == TBrushStyle::Clear) {
    painter_.setBrush(Qt::NoBrush);
  } else {
    painter_.setBrush(QColor::fromRgb(brushColor_));
  }
}

// The font is found or made when it is used: the drawing code sets face, height and
// style one after the other, and only the last combination counts.
const PainterCanvas::Font& PainterCanvas::CurrentFont() {
  if (!fontStale_) return *font_;
  fontStale_ = false;
  Font* found = nullptr;
  for (const auto& entry : fonts_) {
    if (entry->Pixels == fontPixels_ && entry->Style == fontStyle_ &&
        entry->Description == fontSpec_) {
      found = entry.get();
    }
  }
  if (found == nullptr) {
    constexpr size_t kFontsKept = 16;
    if (fonts_.size() >= kFontsKept) fonts_.erase(fonts_.begin());
    fonts_.push_back(std::make_unique<Font>(MakeFont()));
    found = fonts_.back().get();
  }
  if (found != font_) {
    font_ = found;
    painter_.setFont(font_->Face);
  }
  return *font_;
}

PainterCanvas::Font PainterCanvas::MakeFont() const {
  QPaintDevice* device = painter_.device();
  QFont face;
  if (!fontSpec_.Name.empty()) face.setFamilies({QString::fromStdString(fontSpec_.Name)});
  face.setBold((fontStyle_ & kFontBold) != 0);
  face.setItalic((fontStyle_ & kFontItalic) != 0);
  face.setUnderline((fontStyle_ & kFontUnderline) != 0);
  face.setStrikeOut((fontStyle_ & kFontStrikeOut) != 0);
  if (fontPixels_ > 0) {
    // A height in pixels is the whole cell, ascent and descent together.
    face.setPixelSize(fontPixels_);
    const double cell = QFontMetricsF(face, device).height();
    if (cell > fontPixels_) {
      face.setPixelSize(std::max(1, static_cast<int>(fontPixels_ * fontPixels_ / cell)));
    }
  } else {
    face.setPointSizeF(std::max(1, fontSpec_.Size));
  }
  return Font{fontSpec_, fontPixels_, fontStyle_, face, QFontMetricsF(face, device)};
}

void PainterCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int x = std::min(left, right);
  const int y = std::min(top, bottom);
  const int width = std::max(left, right) - x;
  const int height = std::max(top, bottom) - y;
  if (width < 1 || height < 1) return;
  ApplyPen();
  ApplyBrush();
  // As on the screen: the outline ends on the last pixel before the right and
  // bottom edges.
  painter_.drawEllipse(QRect(x, y, width - 1, height - 1));
}

void PainterCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  ApplyPen();
  ApplyBrush();
  const auto q = ToQPoints(points);
  painter_.drawPolygon(q.constData(), static_cast<int>(q.size()), Qt::WindingFill);
}

void PainterCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  ApplyPen();
  const auto q = ToQPoints(points);
  painter_.drawPolyline(q.constData(), static_cast<int>(q.size()));
}

void PainterCanvas::MoveTo(int32_t x, int32_t y) { position_ = {x, y}; }

void PainterCanvas::LineTo(int32_t x, int32_t y) {
  ApplyPen();
  painter_.drawLine(QPoint(position_.X, position_.Y), QPoint(x, y));
  position_ = {x, y};
}

void PainterCanvas::FillRect(const TRect& rect) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  painter_.fillRect(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)),
                    QColor::fromRgb(brushColor_));
}

void PainterCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  if (text.empty()) return;
  const Font& font = CurrentFont();
  const QString string = ToQString(text);
  if (brushStyle_ == TBrushStyle::Solid) {
    painter_.fillRect(QRectF(x, y, font.Metrics.horizontalAdvance(string), font.Metrics.height()),
                      QColor::fromRgb(brushColor_));
  }
  painter_.setPen(QColor::fromRgb(fontColor_));
  penStale_ = true;
  painter_.drawText(QPointF(x, y + font.Metrics.ascent()), string);
}

int32_t PainterCanvas::TextWidth(std::string_view text) {
  return static_cast<int32_t>(
      std::lround(CurrentFont().Metrics.horizontalAdvance(ToQString(text))));
}

int32_t PainterCanvas::TextHeight(std::string_view) {
  return static_cast<int32_t>(std::lround(CurrentFont().Metrics.height()));
}

void PainterCanvas::SetPixel(int32_t x, int32_t y, int32_t color) {
  painter_.fillRect(QRect(x, y, 1, 1), QColor::fromRgb(RgbOf(color)));
}

void PainterCanvas::DrawHandMark(int32_t x, int32_t y) {
  static const QImage image = [] {
    InitResources();
    return QImage(":/cursors/hand_mark.png");
  }();
  painter_.drawImage(QRect(x, y, kHandMarkSize, kHandMarkSize), image);
}

void PainterCanvas::DrawPicture(const TRect& rect, const Picture& picture) {
  const auto* qt = dynamic_cast<const QtPicture*>(&picture);
  if (qt == nullptr || qt->Image().isNull() || rect.IsEmpty()) return;
  painter_.drawImage(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
                     qt->Image());
}

}  // namespace lumaplot

#include "ui/main/PageView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

#include "model/LightPresentation.h"
#include "model/PageReach.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/PagePainter.h"
#include "util/SystemColor.h"

namespace lumaplot {

TPageBox::TPageBox(QWidget* parent) : QWidget(parent), surface_(QSize(1, 1)) {
  setObjectName("ScrBox");
  // Every pixel comes from the surface; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPageBox::ShowDrawn() {
  const QRect drawn = surface_.TakeDirtyRect();
  if (!drawn.isEmpty()) update(drawn);
}

void TPageBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (OnPaint) OnPaint(painter, event->rect());
  if (HasOverlay()) PaintOverlay(painter);
}

void TPageBox::SetOverlayBand(const QRect& band) {
  TOverlay overlay;
  overlay.What = TOverlay::Band;
  overlay.Rect = band;
  ChangeOverlay(overlay);
}

void TPageBox::SetOverlayLine(QPoint from, QPoint to) {
  TOverlay overlay;
  overlay.What = TOverlay::Line;
  overlay.From = from;
  overlay.To = to;
  ChangeOverlay(overlay);
}

void TPageBox::ClearOverlay() { ChangeOverlay({}); }

void TPageBox::ChangeOverlay(const TOverlay& overlay) {
  const QRegion area = OverlayArea(overlay_) | OverlayArea(overlay);
  overlay_ = overlay;
  if (!area.isEmpty()) update(area);
}

namespace {

// The band's outline as four strips that never overlap, so that inverting them
// inverts every pixel of the outline exactly once.
QList<QRect> BandStrips(const QRect& band) {
  const int left = std::min(band.left(), band.right());
  const int right = std::max(band.left(), band.right()) - 1;  // last column
  const int top = std::min(band.top(), band.bottom());
  const int bottom = std::max(band.top(), band.bottom()) - 1;  // last row
  QList<QRect> strips;
  if (right < left || bottom < top) return strips;
  strips << QRect(QPoint(left, top), QPoint(right, top));
  if (bottom > top) strips << QRect(QPoint(left, bottom), QPoint(right, bottom));
  if (bottom - top > 1) {
    strips << QRect(QPoint(left, top + 1), QPoint(left, bottom - 1));
    if (right > left) strips << QRect(QPoint(right, top + 1), QPoint(right, bottom - 1));
  }
  return strips;
}

}  // namespace

QRegion TPageBox::OverlayArea(const TOverlay& overlay) const {
  QRegion area;
  if (overlay.What == TOverlay::Band) {
    for (const QRect& strip : BandStrips(overlay.Rect)) area += strip;
  } else if (overlay.What == TOverlay::Line) {
    area += QRect(overlay.From, overlay.To).normalized().adjusted(-1, -1, 1, 1);
  }
  return area;
}

void TPageBox::PaintOverlay(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  if (overlay_.What == TOverlay::Band) {
    for (const QRect& strip : BandStrips(overlay_.Rect)) painter.fillRect(strip, Qt::white);
  } else {
    painter.setPen(QPen(Qt::white, 0));
    painter.drawLine(overlay_.From, overlay_.To);
  }
}

void TPageBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (surface_.Size() == size()) return;
  surface_.Resize(size().expandedTo(QSize(1, 1)));
  surface_.TakeDirtyRect();
  if (OnSurfaceResized) OnSurfaceResized();
}

TPageLayout PageLayout(QSize page, QSize viewport, int scrollBarExtent) {
  if (page.width() < viewport.width() && page.height() < viewport.height()) {
    return {page, true};
  }
  // A scroll bar in one direction narrows the view in the other, which may need a
  // scroll bar in turn.
  bool horizontal = page.width() > viewport.width();
  bool vertical = page.height() > viewport.height();
  for (int i = 0; i < 2; ++i) {
    if (horizontal) vertical = vertical || page.height() > viewport.height() - scrollBarExtent;
    if (vertical) horizontal = horizontal || page.width() > viewport.width() - scrollBarExtent;
  }
  const QSize view(viewport.width() - (vertical ? scrollBarExtent : 0),
                   viewport.height() - (horizontal ? scrollBarExtent : 0));
  return {page.expandedTo(view), false};
}

TPageView::TPageView(QWidget* parent) : QScrollArea(parent), box_(new TPageBox) {
  setObjectName("ScrollBox");
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  setAlignment(Qt::AlignCenter);
  setWidget(box_);
  horizontalScrollBar()->setSingleStep(kScrollStep);
  verticalScrollBar()->setSingleStep(kScrollStep);
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
  box_->OnPaint = [this](QPainter& painter, const QRect& area) { Paint(painter, area); };
  box_->OnSurfaceResized = [this] { stale_ = true; };
  ApplyLayout();
}

void TPageView::ShowDocument(TStageData* doc) {
  doc_ = doc;
  QSize page;
  if (doc) {
    // Objects beyond the page (a page made smaller under them) stay within reach.
    const TPoint reach = ObjectsReach(*doc, PresentationSettings());
    page = QSize(std::clamp(std::max(doc->ScrWidth, reach.X), 1, kMaxSurfaceSide),
                 std::clamp(std::max(doc->ScrHeight, reach.Y), 1, kMaxSurfaceSide));
  }
  SetPageSize(page);
  stale_ = true;
  ApplyViewColour(doc ? ToQColor(ColorToRgb(doc->BgColor)) : QColor(Qt::black));
  box_->update();
}

void TPageView::ApplyViewColour(const QColor& colour) {
  QWidget* area = viewport();
  if (area->palette().color(QPalette::Window) == colour) return;
  QPalette palette = area->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Base, colour);
  area->setPalette(palette);
  area->setAutoFillBackground(true);
}

void TPageView::Paint(QPainter& painter, const QRect& area) {
  if (!doc_) {
    painter.fillRect(area, ToQColor(ColorToRgb(kSystemColorFlag | kSysColorAppWorkspace)));
    return;
  }
  QtCanvas& surface = box_->Surface();
  if (stale_ && !frozen_) {
    PaintPage(*doc_, surface, PresentationSettings());
    surface.TakeDirtyRect();
    stale_ = false;
    ++pagePaints_;
  }
  painter.drawImage(area.topLeft(), surface.Image(), area);
}

void TPageView::RepaintPage() {
  stale_ = true;
  box_->update();
}

void TPageView::SetPageSize(QSize page) {
  page_ = page;
  ApplyLayout();
}

void TPageView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  ApplyLayout();
}

void TPageView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  QScrollBar* bar = verticalScrollBar();
  if (delta != 0 && bar->isVisible()) {
    bar->setValue(bar->value() + (delta > 0 ? -kScrollStep : kScrollStep));
  }
  event->accept();
}

void TPageView::ApplyLayout() {
  const QSize viewport = maximumViewportSize();
  if (page_.isEmpty()) {
    box_->resize(viewport);
    return;
  }
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  box_->resize(PageLayout(page_, viewport, extent).BoxSize);
}

}  // namespace lumaplot

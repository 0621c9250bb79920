#include "ui/main/PageView.h"

#include <QPaintEvent>
#include <QPainter>
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

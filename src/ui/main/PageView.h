#pragma once
// The page view of the main window: `ScrollBox`, a scroll area, and inside it
// `ScrBox`, the paint box that shows the page and takes the mouse.
//
// Layout: a page smaller than the view in both directions is shown in its own size,
// centred; otherwise the paint box fills the view's scrollable area (the larger of
// page and view in each direction), so page coordinate (0, 0) is the paint box's
// top-left corner and the scroll bars reach over the whole page.
//
// The paint box keeps its picture in a QtCanvas of its own size (the page surface,
// every document's `Canvas`). Drawing into the surface does not show by itself:
// whoever draws calls ShowDrawn(). The paint event hands the area to repaint to
// OnPaint, which copies it from the surface. A new size leaves the surface blank
// and calls OnSurfaceResized.
//
// The view shows one document (ShowDocument): it lays the paint box out for the
// document's page and paints the whole page anew into the surface at the next
// paint, unless it is frozen (while the program is busy the picture is shown as it
// was, since the documents may be changing).
//
// Over the picture the paint box can show one figure of its own, the overlay: the
// selection band or the line being drawn. It inverts what lies under it, as an
// inverting pen would, but only on the screen: the surface never holds it, so
// nothing has to draw it twice to take it away. Changing it repaints only the pixels
// it covered and covers.
//
// The wheel scrolls 16 pixels a notch, vertically only. GUI thread only.
#include <functional>

#include <QColor>
#include <QRegion>

#include <QScrollArea>
#include <QWidget>

#include "model/StageData.h"
#include "ui/qt/QtCanvas.h"

namespace lumaplot {

class TPageBox : public QWidget {
  Q_OBJECT

 public:
  explicit TPageBox(QWidget* parent = nullptr);

  QtCanvas& Surface() { return surface_; }
  // Repaints the area drawn into the surface since the last call.
  void ShowDrawn();

  // The overlay: the outline of the band (left, top, right, bottom: the pixels from
  // left to right - 1 and top to bottom - 1), a line from one point to another
  // (both ends included), or nothing.
  void SetOverlayBand(const QRect& band);
  void SetOverlayLine(QPoint from, QPoint to);
  void ClearOverlay();
  bool HasOverlay() const { return overlay_.What != TOverlay::None; }

  std::function<void(QPainter& painter, const QRect& area)> OnPaint;
  std::function<void()> OnSurfaceResized;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct TOverlay {
    enum { None, Band, Line } What = None;
    QRect Rect;  // the band: left, top, right, bottom as given
    QPoint From, To;
  };
  void ChangeOverlay(const TOverlay& overlay);
  QRegion OverlayArea(const TOverlay& overlay) const;
  void PaintOverlay(QPainter& painter) const;

  QtCanvas surface_;
  TOverlay overlay_;
};

// How the paint box sits in the view.
struct TPageLayout {
  QSize BoxSize;  // the paint box's size
  bool Centred = false;
};

// The layout rule for a page in a view whose viewport is `viewport` without scroll
// bars; `scrollBarExtent` is what a scroll bar takes from the other direction.
TPageLayout PageLayout(QSize page, QSize viewport, int scrollBarExtent);

class TPageView : public QScrollArea {
  Q_OBJECT

 public:
  static constexpr int kScrollStep = 16;
  // The page surface is an image; pages larger than this are shown cut.
  static constexpr int kMaxSurfaceSide = 8192;

  explicit TPageView(QWidget* parent = nullptr);

  // Shows `doc` (none: the empty work space): the page's size (widened to take in
  // objects that lie beyond it), its background colour around it, and a full
  // repaint at the next paint.
  void ShowDocument(TStageData* doc);
  // While frozen the surface is not repainted from the document.
  void SetFrozen(bool frozen) { frozen_ = frozen; }
  // How often the surface was painted anew from the document.
  int PagePaintCount() const { return pagePaints_; }
  // The page is painted anew from its document at the next paint (what drawing
  // objects one by one cannot restore: the grid, the picture, objects below others).
  void RepaintPage();

  TPageBox* ScrBox() const { return box_; }
  // The scroll ranges of the page shown; an empty size shows no page (the paint
  // box fills the view).
  void SetPageSize(QSize page);
  QSize PageSize() const { return page_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ApplyLayout();
  void ApplyViewColour(const QColor& colour);
  void Paint(QPainter& painter, const QRect& area);

  TPageBox* box_;
  QSize page_;
  TStageData* doc_ = nullptr;
  bool frozen_ = false;
  bool stale_ = true;  // the surface must be repainted from the document
  int pagePaints_ = 0;
};

}  // namespace lumaplot

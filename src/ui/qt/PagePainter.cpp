#include "ui/qt/PagePainter.h"

#include "model/ObjectDrawing.h"
#include "model/PageGrid.h"

namespace lumaplot {

void PaintPage(TStageData& doc, QtCanvas& canvas, const TPresentationSettings& settings) {
  const QSize size = canvas.Size();
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColor(doc.BgColor);
  canvas.FillRect({0, 0, size.width(), size.height()});
  if (doc.Background) canvas.DrawPicture(0, 0, *doc.Background);
  if (doc.ShowGrid) {
    PaintGrid(canvas, doc.GridStyle, doc.GridColor, doc.GridSize, size.width(), size.height());
  }
  Canvas* const own = doc.Canvas;
  doc.Canvas = &canvas;
  DrawAll(doc, true, true, false, settings);
  doc.Canvas = own;
}

}  // namespace lumaplot

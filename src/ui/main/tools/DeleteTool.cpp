#include "ui/main/tools/DeleteTool.h"

#include <QComboBox>

#include "model/ObjectDrawing.h"
#include "ui/main/MainBars.h"
#include "ui/main/PageView.h"
#include "ui/main/tools/ToolSupport.h"
#include "ui/qt/Cursors.h"

namespace lumaplot {

void TDeleteTool::Activate() {
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Bars.ChCombo()->setEnabled(false);
}

QCursor TDeleteTool::Cursor() const { return ToolCursor(TToolCursor::DelTool); }

void TDeleteTool::Press(const TToolEvent& event) {
  TStageData* doc = EditableDoc(context_);
  if (!doc) return;
  TLightCell* cell = ObjectUnder(*doc, event.X, event.Y);
  if (!cell) return;
  cell->SetNeedsDraw();
  DrawObject(*doc, cell, false);
  DropPrimary(*doc);
  // Out of the objects, the selection and the primary place before it is freed.
  doc->DeleteObject(cell);
  doc->Modified = true;
  context_.Host.ObjectsChanged();
  // Erasing cut into whatever lay below it.
  context_.View.RepaintPage();
}

}  // namespace lumaplot

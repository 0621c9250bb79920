#include "ui/main/tools/ShapeTool.h"

#include <QComboBox>

#include "model/Selection.h"
#include "ui/main/MainBars.h"
#include "ui/main/commands/PropertyCommands.h"
#include "ui/main/tools/ToolSupport.h"
#include "ui/qt/Cursors.h"

namespace lumaplot {

void TShapeTool::Activate() {
  if (TStageData* doc = context_.Doc()) SelectAll(*doc, false);
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Edit.AddLatch = false;
}

QCursor TShapeTool::Cursor() const { return ToolCursor(TToolCursor::ShapeTool); }

void TShapeTool::Press(const TToolEvent& event) {
  if (!EditableDoc(context_) || event.Button != Qt::LeftButton || context_.Edit.AddLatch) return;
  {
    TBusyBracket busy(context_.Host);
    ShowObjectProperties(context_, KindShape, event.X, event.Y);
  }
  context_.Host.FullRefresh();
}

void TShapeTool::Move(const TToolEvent& event) {
  const TLightCell* hit = ObjectUnder(*context_.Doc(), event.X, event.Y);
  SetPageCursor(context_, hit && hit->Kind == KindShape ? QCursor(Qt::ArrowCursor) : Cursor());
}

}  // namespace lumaplot

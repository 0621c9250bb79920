#include "ui/main/tools/TextTool.h"

#include <QComboBox>

#include "model/Selection.h"
#include "ui/main/MainBars.h"
#include "ui/main/commands/PropertyCommands.h"
#include "ui/main/tools/ToolSupport.h"
#include "ui/qt/Cursors.h"

namespace lumaplot {

void TTextTool::Activate() {
  if (TStageData* doc = context_.Doc()) SelectAll(*doc, false);
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Bars.ChCombo()->setEnabled(false);
  context_.Edit.AddLatch = false;
}

QCursor TTextTool::Cursor() const { return ToolCursor(TToolCursor::TextTool); }

void TTextTool::Press(const TToolEvent& event) {
  if (!EditableDoc(context_) || event.Button != Qt::LeftButton || context_.Edit.AddLatch) return;
  {
    TBusyBracket busy(context_.Host);
    ShowObjectProperties(context_, KindText, event.X, event.Y);
  }
  // A text that changed size or words leaves its old pixels behind.
  context_.Host.FullRefresh();
}

void TTextTool::Move(const TToolEvent& event) {
  const TLightCell* hit = ObjectUnder(*context_.Doc(), event.X, event.Y);
  SetPageCursor(context_, hit && hit->Kind == KindText ? QCursor(Qt::ArrowCursor) : Cursor());
}

}  // namespace lumaplot

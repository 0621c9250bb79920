#include "ui/main/tools/LineTool.h"

#include <QComboBox>

#include <cmath>

#include "model/MouseEdit.h"
#include "model/Selection.h"
#include "ui/main/MainBars.h"
#include "ui/main/PageView.h"
#include "ui/main/tools/ToolSupport.h"
#include "ui/qt/Cursors.h"

namespace lumaplot {

void TLineTool::Activate() {
  if (TStageData* doc = context_.Doc()) SelectAll(*doc, false);
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Edit.AddLatch = false;
}

void TLineTool::Deactivate() {
  if (!context_.Edit.DrawingLine) return;
  context_.View.ScrBox()->ClearOverlay();
  context_.Edit.DrawingLine = false;
}

QCursor TLineTool::Cursor() const { return ToolCursor(TToolCursor::LineTool); }

QString TLineTool::LineStatusText(TPoint from, TPoint to) {
  const double dx = static_cast<double>(to.X) - from.X;
  const double dy = static_cast<double>(to.Y) - from.Y;
  const auto length = static_cast<long long>(std::sqrt(dx * dx + dy * dy));
  return QString::asprintf("  直線 (%4d,%4d - %4d,%4d)  L=%4lld", from.X, from.Y, to.X, to.Y,
                           length);
}

TPoint TLineTool::EndOf(const TToolEvent& event) const {
  return LineEnd(anchor_, event.X, event.Y, (event.Modifiers & Qt::ShiftModifier) != 0);
}

void TLineTool::Press(const TToolEvent& event) {
  if (!EditableDoc(context_) || event.Button != Qt::LeftButton || context_.Edit.AddLatch) return;
  anchor_ = {event.X, event.Y};
  context_.Edit.DrawingLine = true;
  context_.View.ScrBox()->SetOverlayLine({anchor_.X, anchor_.Y}, {anchor_.X, anchor_.Y});
}

void TLineTool::Move(const TToolEvent& event) {
  if (!context_.Edit.DrawingLine) return;
  const TPoint end = EndOf(event);
  context_.View.ScrBox()->SetOverlayLine({anchor_.X, anchor_.Y}, {end.X, end.Y});
  context_.Bars.SetStatusText(2, LineStatusText(anchor_, end));
}

QPoint TLineTool::PointerAfterMove(const TToolEvent& event) const {
  if (!context_.Edit.DrawingLine) return {event.X, event.Y};
  const TPoint end = EndOf(event);
  return {end.X, end.Y};
}

void TLineTool::Release(const TToolEvent& event) {
  if (!context_.Edit.DrawingLine) return;
  context_.Edit.DrawingLine = false;
  context_.View.ScrBox()->ClearOverlay();
  TStageData* doc = EditableDoc(context_);
  const TPoint end = EndOf(event);
  if (!doc || end == anchor_) return;
  const TEnvData& env = context_.Core.Env();
  AddDrawnLine(*doc, anchor_, end, env.LineSize, env.LineColor);
  doc->Modified = true;
  context_.Host.ObjectsChanged();
}

}  // namespace lumaplot

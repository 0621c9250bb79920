#include "ui/main/tools/SelectTool.h"

#include <QComboBox>
#include <QMenu>

#include <algorithm>
#include <vector>

#include "model/MouseEdit.h"
#include "model/ObjectDrawing.h"
#include "model/PositionHistory.h"
#include "model/Selection.h"
#include "ui/main/MainBars.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/LightListLink.h"
#include "ui/main/tools/ToolSupport.h"

namespace lumaplot {
namespace {

bool IsSelectedAmongSeveral(const TStageData& doc, const TLightCell* cell) {
  return doc.Selection.size() >= 2 && cell->Selected;
}

}  // namespace

TSelectTool::TSelectTool(TCommandContext& context, QMenu* popup) : TTool(context), popup_(popup) {}

void TSelectTool::Activate() {
  context_.Bars.LightCombo()->setEnabled(false);
  context_.Bars.ChCombo()->setEnabled(false);
  context_.Edit.BandSuppress = false;
  context_.Edit.MoveSuppress = false;
}

void TSelectTool::Deactivate() {
  // Another mode chosen in the middle of a drag: the drag ends here, or it would
  // go on when this mode comes back.
  TEditState& edit = context_.Edit;
  if (TStageData* doc = context_.Doc()) {
    if (edit.MoveArmed) EndMove(*doc);
    if (edit.Rotating) EndTurn(*doc);
  }
  edit.MoveArmed = false;
  edit.Rotating = false;
  if (edit.RubberBand) {
    context_.View.ScrBox()->ClearOverlay();
    edit.RubberBand = false;
  }
}

void TSelectTool::Press(const TToolEvent& event) {
  TStageData& doc = *context_.Doc();
  const TEditState& edit = context_.Edit;
  if (event.Button == Qt::RightButton) {
    if (!edit.MoveArmed && !edit.RubberBand && !edit.Rotating && popup_ && !popup_->isEmpty()) {
      popup_->popup(event.GlobalPos);
    }
    return;
  }
  if (event.Button != Qt::LeftButton) return;
  if (TLightCell* cell = ObjectUnder(doc, event.X, event.Y)) {
    PressOnObject(doc, cell, event);
  } else {
    PressOnPage(doc, event);
  }
}

void TSelectTool::PressOnObject(TStageData& doc, TLightCell* cell, const TToolEvent& event) {
  TEditState& edit = context_.Edit;
  const int32_t startCh = edit.AddTemplate.StartCh;
  edit.AddTemplate = *cell;
  edit.AddTemplate.StartCh = startCh;
  if (cell->Kind == KindLight) {
    QComboBox* types = context_.Bars.LightCombo();
    const int found = types->findText(QString::fromStdString(cell->Fixture.Name));
    if (found >= 0) types->setCurrentIndex(found);
  }

  if (event.Modifiers & Qt::ShiftModifier) {
    SetSelected(doc, cell, !cell->Selected);
  } else if (!IsSelectedAmongSeveral(doc, cell)) {
    SelectAll(doc, false);
    SetSelected(doc, cell, true);
  }
  if (event.Modifiers & Qt::ControlModifier && cell->Kind == KindLine &&
      doc.Selection.size() == 1 && cell->Selected) {
    SelectLightsOnLine(doc, *cell, PresentationSettings());
  }

  // The press that ends a rotation arms no move, so its release ends the rotation.
  if (!edit.MoveSuppress && !doc.EditInhibit && !doc.InhibitMove && !edit.Rotating) {
    edit.MoveArmed = true;
    edit.Moved = false;
  }
  DropPrimary(doc);
  cell->SetNeedsDraw();
  if (doc.Selection.size() == 1) ShowInLightList(context_, doc.Selection.front());
}

void TSelectTool::PressOnPage(TStageData& doc, const TToolEvent& event) {
  TEditState& edit = context_.Edit;
  if (edit.BandSuppress || edit.Rotating) return;
  if (!(event.Modifiers & Qt::ShiftModifier)) {
    SelectAll(doc, false);
    context_.Bars.SetStatusText(3, {});
    DropPrimary(doc);
  }
  edit.RubberBand = true;
  band_ = {event.X, event.Y, event.X, event.Y};
  bandAnchorX_ = event.X;
  bandAnchorY_ = event.Y;
  context_.View.ScrBox()->SetOverlayBand(
      QRect(QPoint(band_.Left, band_.Top), QPoint(band_.Right, band_.Bottom)));
}

void TSelectTool::Move(const TToolEvent& event) {
  TStageData& doc = *context_.Doc();
  const TEditState& edit = context_.Edit;
  if (edit.MoveArmed) {
    MoveSelection(doc, event);
  } else if (edit.Rotating && !doc.Selection.empty()) {
    TurnTowards(doc, event);
  } else if (edit.RubberBand) {
    DragBand(event);
  }
}

void TSelectTool::MoveSelection(TStageData& doc, const TToolEvent& event) {
  TEditState& edit = context_.Edit;
  const int dx = event.X - edit.LastMouseX;
  const int dy = event.Y - edit.LastMouseY;
  if (dx == 0 && dy == 0) return;
  if (!edit.Moved) PushPositions(doc);
  // What moved is drawn, black while it moves, by the next refresh tick.
  DragSelection(doc, dx, dy, PresentationSettings());
  edit.Moved = true;
}

void TSelectTool::TurnTowards(TStageData& doc, const TToolEvent& event) {
  TEditState& edit = context_.Edit;
  if (!edit.Moved) PushPositions(doc);
  edit.Moved = true;
  if (!doc.Primary) doc.Primary = doc.Selection.front();
  const TLightCell& pivot = *doc.Primary;
  const int32_t cx = pivot.X1 + pivot.Width / 2;
  const int32_t cy = pivot.Y1 + pivot.Height / 2;
  const int32_t angle = PointerAngle(cx, cy, event.X, event.Y, context_.Core.Env().MinAngle,
                                     (event.Modifiers & Qt::ShiftModifier) != 0);
  if (angle < 0) return;
  TurnSelection(doc, angle, PresentationSettings());
  ShowDrawn(context_);
}

void TSelectTool::DragBand(const TToolEvent& event) {
  band_ = {std::min(bandAnchorX_, event.X), std::min(bandAnchorY_, event.Y),
           std::max(bandAnchorX_, event.X), std::max(bandAnchorY_, event.Y)};
  context_.View.ScrBox()->SetOverlayBand(
      QRect(QPoint(band_.Left, band_.Top), QPoint(band_.Right, band_.Bottom)));
}

void TSelectTool::Release(const TToolEvent&) {
  TStageData& doc = *context_.Doc();
  const TEditState& edit = context_.Edit;
  if (edit.MoveArmed) {
    EndMove(doc);
  } else if (edit.Rotating) {
    EndTurn(doc);
  } else if (edit.RubberBand) {
    EndBand(doc);
  }
}

void TSelectTool::EndMove(TStageData& doc) {
  TEditState& edit = context_.Edit;
  const TEnvData& env = context_.Core.Env();
  bool snapped = false;
  if (env.SnapGrid) {
    const std::vector<TPoint> positions = GridPositions(doc, env.GridSize, PresentationSettings());
    const bool changes = !std::equal(
        positions.begin(), positions.end(), doc.Selection.begin(), doc.Selection.end(),
        [](const TPoint& p, const TLightCell* cell) { return p.X == cell->X1 && p.Y == cell->Y1; });
    // A click that only snaps still changes the plot: it can be taken back and saved.
    if (changes && !edit.Moved) PushPositions(doc);
    snapped = PlaceSelection(doc, positions, PresentationSettings());
  }
  for (TLightCell* cell : doc.Selection) cell->SetMoving(false);
  if (edit.Moved || snapped) {
    // Moving erased pieces of whatever lay below: the grid, the picture, other objects.
    context_.View.RepaintPage();
    doc.Modified = true;
  }
  ShowDrawn(context_);
  edit.Moved = false;
  edit.MoveArmed = false;
}

void TSelectTool::EndTurn(TStageData& doc) {
  TEditState& edit = context_.Edit;
  for (TLightCell* cell : doc.Selection) {
    cell->SetMoving(false);
    cell->SetNeedsDraw();
  }
  if (edit.Moved) doc.Modified = true;
  edit.Moved = false;
  edit.Rotating = false;
}

void TSelectTool::EndBand(TStageData& doc) {
  context_.View.ScrBox()->ClearOverlay();
  SelectInBand(doc, band_);
  // Only what changed its look is drawn; the band never touched the picture.
  DrawAll(doc, true, false, false);
  ShowDrawn(context_);
  context_.Edit.RubberBand = false;
}

}  // namespace lumaplot

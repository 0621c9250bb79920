#pragma once
// The normal editing mode. A press on an object selects it (Shift toggles it, Ctrl
// on a line also takes the lights whose centres lie on the line), makes it the
// template of new lights and arms a move of the selection; dragging then moves the
// selection, keeping each object on the page, and the release snaps it to the
// placement grid. A press on the empty page clears the selection (not with Shift)
// and drags a selection band; the release selects what the band encloses. While the
// rotate command holds, the selection turns towards the pointer until a release.
// The right button opens the canvas pop-up menu.
// GUI thread only.
#include "model/Rect.h"
#include "ui/main/tools/Tool.h"

class QMenu;

namespace lumaplot {

class TSelectTool : public TTool {
 public:
  // `popup` is the canvas pop-up menu (it may be none).
  TSelectTool(TCommandContext& context, QMenu* popup);

  // The add-light lists wait for the add mode; a double-click's holds end.
  void Activate() override;
  void Deactivate() override;
  void Press(const TToolEvent& event) override;
  void Move(const TToolEvent& event) override;
  void Release(const TToolEvent& event) override;

  // The band being dragged: left, top, right, bottom.
  TRect BandRect() const { return band_; }

 private:
  void PressOnObject(TStageData& doc, TLightCell* cell, const TToolEvent& event);
  void PressOnPage(TStageData& doc, const TToolEvent& event);
  void MoveSelection(TStageData& doc, const TToolEvent& event);
  void TurnTowards(TStageData& doc, const TToolEvent& event);
  void DragBand(const TToolEvent& event);
  void EndMove(TStageData& doc);
  void EndTurn(TStageData& doc);
  void EndBand(TStageData& doc);

  QMenu* popup_;
  TRect band_;
  int bandAnchorX_ = 0;
  int bandAnchorY_ = 0;
};

}  // namespace lumaplot

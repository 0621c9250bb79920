#pragma once
// The line mode: a press anchors a new line, dragging shows it (with Shift only
// horizontal or vertical) and its length in the status bar, and the release adds it
// in the remembered width and colour, unless it has no length. After a double-click
// no press starts a line until a mode is chosen again. GUI thread only.
#include "model/Canvas.h"
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TLineTool : public TTool {
 public:
  using TTool::TTool;

  void Activate() override;
  void Deactivate() override;
  void Press(const TToolEvent& event) override;
  void Move(const TToolEvent& event) override;
  void Release(const TToolEvent& event) override;
  QPoint PointerAfterMove(const TToolEvent& event) const override;
  QCursor Cursor() const override;

  // Status panel 2 while a line from `from` to `to` is drawn.
  static QString LineStatusText(TPoint from, TPoint to);

 private:
  TPoint EndOf(const TToolEvent& event) const;

  TPoint anchor_;
};

}  // namespace lumaplot

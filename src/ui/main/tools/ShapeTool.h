#pragma once
// The shape mode: a press opens the shape dialog at the point, which edits the shape
// there or makes a new one. After a double-click no press opens it until a mode is
// chosen again. GUI thread only.
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TShapeTool : public TTool {
 public:
  using TTool::TTool;

  void Activate() override;
  void Press(const TToolEvent& event) override;
  void Move(const TToolEvent& event) override;
  QCursor Cursor() const override;
};

}  // namespace lumaplot

#pragma once
// The text mode: a press opens the text dialog at the point, which edits the text
// there or makes a new one. After a double-click no press opens it until a mode is
// chosen again. GUI thread only.
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TTextTool : public TTool {
 public:
  using TTool::TTool;

  void Activate() override;
  void Press(const TToolEvent& event) override;
  void Move(const TToolEvent& event) override;
  QCursor Cursor() const override;
};

}  // namespace lumaplot

#pragma once
// The delete mode: a press with any button deletes the topmost object at the point.
// Nothing keeps the deleted object: it leaves the selection and the primary place,
// and the page is painted anew without it. GUI thread only.
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TDeleteTool : public TTool {
 public:
  using TTool::TTool;

  void Activate() override;
  void Press(const TToolEvent& event) override;
  QCursor Cursor() const override;
};

}  // namespace lumaplot

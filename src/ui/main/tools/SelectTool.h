#pragma once
// The normal editing mode: a press on an object selects it (Shift toggles it, Ctrl
// on a line also takes the lights whose centres lie on the line) and makes it the
// template of new lights; a press on the empty page clears the selection.
// GUI thread only.
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TSelectTool : public TTool {
 public:
  using TTool::TTool;

  // The add-light lists wait for the add mode; a double-click's holds end.
  void Activate() override;
  void Press(const TToolEvent& event) override;

 private:
  void PressOnObject(TStageData& doc, TLightCell* cell, const TToolEvent& event);
  void PressOnPage(TStageData& doc, const TToolEvent& event);
};

}  // namespace lumaplot

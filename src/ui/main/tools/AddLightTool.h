#pragma once
// The add-light mode: a press on the page adds a light copied from the add template,
// of the type chosen in the type list, patched to the channel chosen in the channel
// list, which then steps on past the light's channels. A light that would end past
// the last channel is refused with a warning; one that takes the last channels is
// added with a warning and the channel stays. A press on a light only chooses its
// type in the list. GUI thread only.
#include "ui/main/tools/Tool.h"

namespace lumaplot {

class TAddLightTool : public TTool {
 public:
  using TTool::TTool;

  void Activate() override;
  void Press(const TToolEvent& event) override;
  void Move(const TToolEvent& event) override;
  QCursor Cursor() const override;

  // The start channel chosen in the channel list: the channel its text names, else
  // its selected entry.
  int SelectedStartChannel() const;
};

}  // namespace lumaplot

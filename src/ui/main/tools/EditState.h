#pragma once
// The state of editing with the mouse that the tools, the commands and the refresh
// tick share: where the pointer was last on the page, what the active drag is doing,
// the flags a double-click sets, and the template new lights are copied from.
// Plain data, owned by the main window. GUI thread only.
#include "model/LibItem.h"
#include "model/LightCell.h"

namespace lumaplot {

struct TEditState {
  TEditState() {
    AddTemplate.Fixture = DefaultLibItem();
    AddTemplate.StartCh = 0;
  }

  // The last pointer position on the page, set by every press and move; commands
  // started from the canvas pop-up menu work there.
  int LastMouseX = 0;
  int LastMouseY = 0;
  bool MoveArmed = false;     // a press armed a move of the selection
  bool Moved = false;         // the positions were pushed; something may have moved
  bool Rotating = false;      // the selection turns with the pointer
  bool RubberBand = false;    // a selection rectangle is being dragged
  bool DrawingLine = false;   // a new line is being drawn; status panel 2 is its own
  bool MoveSuppress = false;  // after a double-click: the next press arms no move
  bool BandSuppress = false;  // after a double-click: the next press starts no band
  bool AddLatch = false;      // after a double-click: no adding until a mode is chosen
  // New lights are copied from this; clicking an object copies it here (but the
  // start channel).
  TLightCell AddTemplate;
};

}  // namespace lumaplot

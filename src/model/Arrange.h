#pragma once
// Arranging the selection of a document: aligning and evenly spacing it, mirroring
// it, and snapping selected lights onto the line objects of the plot.
//
// Positions count from each object's reference point (X1, Y1); lights use their
// body `Width` x `Height` as their box, other kinds the 20 x 20 box they are built
// with. The second point (X2, Y2) of every object moves by the same amount as the
// first. Coordinates that would leave the 32-bit range are held at its ends.
//
// None of these functions pushes the position history; the caller pushes before
// (when the change is to be undoable) and repaints after. GUI thread only.
#include "model/StageData.h"

namespace lumaplot {

enum TAlignMode : int {
  AlignLeft = 1,        // "左に揃える": every X1 = the smallest X1
  AlignRight = 2,       // "右に揃える": every X1 = the largest X1
  AlignTop = 3,         // "上の揃える": every Y1 = the smallest Y1
  AlignBottom = 4,      // "下に揃える": every Y1 = the largest Y1
  SpaceHorizontal = 5,  // "水平方向に等間隔": X1 evenly spaced between the outermost
  SpaceVertical = 6,    // "垂直方向に等間隔": Y1 evenly spaced between the outermost
};

enum TMirrorDirection : int {
  MirrorLeftRight = 0,  // "左右反転"
  MirrorTopBottom = 1,  // "上下反転"
};

// Aligns or evenly spaces the selection (at least 2 objects; 3 for horizontal
// spacing, since 2 are already evenly spaced). Spacing sorts `Selection` by X1
// (or Y1) and uses whole-pixel steps, so the last object may move inwards. Each
// object is erased before it moves; then the whole document is redrawn, `Moving`
// cleared everywhere and `Modified` set. Fewer objects: nothing happens. An
// unknown mode moves nothing but still redraws and marks the document modified.
void Align(TStageData& doc, int mode);

// Mirrors the selection within its box: every object's box is reflected about the
// middle of the selection's box. Left-right turns every `Angle` a into -a,
// top-bottom into 180 - a, plus 360 when that is negative. Lines and shapes are
// moved, not turned over. X1 or Y1 that would fall below 0 become 0. The selected
// objects are erased before and drawn after. Other directions do nothing, and so
// does an empty selection. Mirroring twice in the same direction restores every
// position and angle unless something was held at 0.
void Mirror(TStageData& doc, int direction);

// Moves every selected light whose centre lies nearer than half its body's larger
// side to a line object (taken as unbounded) onto that line: vertically for lines
// nearer to horizontal, horizontally for lines at 45 degrees or steeper. Lines are
// taken in drawing order and a light may be moved by several of them. Only X1/Y1
// of the lights change; nothing is marked or drawn.
void SnapToLines(TStageData& doc);

}  // namespace lumaplot

#pragma once
// The position undo and redo of a document. Every object keeps its own ring of 50
// saved positions (X1, Y1, X2, Y2, Angle, see TLightCell::PushPosition); these
// functions step all objects of `Objects` together, selected or not, and keep the
// document's `CanUndo` and `CanRedo` in step with the objects' counts. An object
// added after some pushes has fewer saved steps and simply stops taking part when
// its steps run out.
//
// Undo and redo set `NeedsDraw` on the objects they move and draw nothing; none of
// these functions changes `Modified`. GUI thread only.
#include "model/StageData.h"

namespace lumaplot {

// Saves the current position of every object, clearing their redo steps. Callers
// push once before each change of positions that is to be undoable.
void PushPositions(TStageData& doc);

// Takes every object one step back. Returns whether a further undo is possible.
bool UndoPositions(TStageData& doc);

// Takes every object one step forward again. Returns whether a further redo is
// possible.
bool RedoPositions(TStageData& doc);

}  // namespace lumaplot

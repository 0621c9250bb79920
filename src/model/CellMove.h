#pragma once
// Helpers of the editing operations that move objects: moving an object's reference
// point while its second point keeps its offset, and erasing or drawing a group of
// objects around a move.
//
// Positions are computed in wide integers; values that would leave the 32-bit range
// are held at its ends, so a plot read from a file with extreme coordinates never
// overflows. GUI thread only (drawing goes to the document's canvas).
#include <cstdint>

#include "model/LightCell.h"
#include "model/LightList.h"
#include "model/StageData.h"

namespace lumaplot {

int32_t ClampToInt32(int64_t value);

// Puts (X1, Y1) at (x, y) and shifts (X2, Y2) by the same amounts.
void MoveCellTo(TLightCell& cell, int64_t x, int64_t y);

// Marks every object of `cells` and draws it in real colours, or erases it in the
// page colour when `realColours` is false.
void MarkAndDrawCells(TStageData& doc, const TLightList& cells, bool realColours);

}  // namespace lumaplot

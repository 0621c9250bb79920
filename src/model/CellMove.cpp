#include "model/CellMove.h"

#include <algorithm>
#include <limits>

#include "model/ObjectDrawing.h"

namespace lumaplot {

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void MoveCellTo(TLightCell& cell, int64_t x, int64_t y) {
  const int32_t newX = ClampToInt32(x);
  const int32_t newY = ClampToInt32(y);
  const int64_t dx = int64_t{newX} - cell.X1;
  const int64_t dy = int64_t{newY} - cell.Y1;
  cell.X1 = newX;
  cell.Y1 = newY;
  cell.X2 = ClampToInt32(cell.X2 + dx);
  cell.Y2 = ClampToInt32(cell.Y2 + dy);
}

void MarkAndDrawCells(TStageData& doc, const TLightList& cells, bool realColours) {
  for (TLightCell* cell : cells) {
    cell->SetNeedsDraw();
    DrawObject(doc, cell, realColours);
  }
}

}  // namespace lumaplot

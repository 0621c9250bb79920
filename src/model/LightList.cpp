#include "model/LightList.h"

#include <algorithm>

namespace lumaplot {

void SortCells(TLightList& list, TCellComparator compare) {
  std::stable_sort(list.begin(), list.end(), [compare](const TLightCell* a, const TLightCell* b) {
    return compare(a, b) < 0;
  });
}

void TCellClipboard::AppendCopy(const TLightCell& cell) {
  TLightCell* copy = CopyCell(cell);
  copy->Selected = false;
  cells_.push_back(copy);
}

void TCellClipboard::Clear() {
  for (TLightCell* cell : cells_) FreeCell(cell);
  cells_.clear();
}

}  // namespace lumaplot

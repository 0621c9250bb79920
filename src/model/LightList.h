#pragma once
// Lists of stage objects.
//
// TLightList is a plain list of object pointers that never frees the objects: a
// document's `Objects` (the document frees them), its `Selection`, and scratch lists
// for sorting. SortCells orders such a list stably, so objects that compare equal
// keep their relative order.
//
// TCellClipboard is the program's own clipboard of stage objects (copies made by cut
// and copy, used by paste). It owns the objects it holds and frees them when it is
// cleared or destroyed. GUI thread only.
#include <vector>

#include "model/LightCell.h"

namespace lumaplot {

using TLightList = std::vector<TLightCell*>;
using TCellComparator = int (*)(const TLightCell*, const TLightCell*);

// Stable sort of `list` by `compare`.
void SortCells(TLightList& list, TCellComparator compare);

class TCellClipboard {
 public:
  TCellClipboard() = default;
  ~TCellClipboard() { Clear(); }
  TCellClipboard(const TCellClipboard&) = delete;
  TCellClipboard& operator=(const TCellClipboard&) = delete;

  const TLightList& Cells() const { return cells_; }
  bool IsEmpty() const { return cells_.empty(); }
  int Count() const { return static_cast<int>(cells_.size()); }
  // Takes ownership of `cell` (made by NewCell or CopyCell, or taken out of a document).
  void Append(TLightCell* cell) { cells_.push_back(cell); }
  // Appends a copy of `cell`, its `Selected` cleared.
  void AppendCopy(const TLightCell& cell);
  // Frees every object held.
  void Clear();

 private:
  TLightList cells_;
};

}  // namespace lumaplot

#include "model/LightCell.h"

#include <algorithm>
#include <utility>

#include "util/CaseFold.h"

namespace lumaplot {
namespace {

// Sign of a - b without overflow.
int Sign(int64_t a, int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

void SwapPosition(TLightCell& cell, TPosEntry& entry) {
  std::swap(cell.X1, entry.X1);
  std::swap(cell.Y1, entry.Y1);
  std::swap(cell.X2, entry.X2);
  std::swap(cell.Y2, entry.Y2);
  std::swap(cell.Angle, entry.Angle);
}

}  // namespace

void TLightCell::SetNeedsDraw(bool on) {
  State = on ? (State | kStateNeedsDraw) : (State & ~kStateNeedsDraw);
}

void TLightCell::SetMoving(bool on) {
  State = on ? (State | kStateMoving) : (State & ~kStateMoving);
}

void TLightCell::PushPosition() {
  HistoryIndex = (HistoryIndex + 1) % kPosHistorySize;
  PosHistory[static_cast<size_t>(HistoryIndex)] = {X1, Y1, X2, Y2, Angle};
  if (UndoCount < kPosHistorySize) ++UndoCount;
  RedoCount = 0;
}

bool TLightCell::UndoPosition() {
  if (UndoCount <= 0 || HistoryIndex < 0) return false;
  SwapPosition(*this, PosHistory[static_cast<size_t>(HistoryIndex)]);
  SetNeedsDraw();
  HistoryIndex = HistoryIndex == 0 ? kPosHistorySize - 1 : HistoryIndex - 1;
  --UndoCount;
  if (RedoCount < kPosHistorySize) ++RedoCount;
  return true;
}

bool TLightCell::RedoPosition() {
  if (RedoCount <= 0) return false;
  HistoryIndex = (HistoryIndex + 1) % kPosHistorySize;
  SwapPosition(*this, PosHistory[static_cast<size_t>(HistoryIndex)]);
  SetNeedsDraw();
  if (UndoCount < kPosHistorySize) ++UndoCount;
  --RedoCount;
  return true;
}

TLightCell* NewCell() { return new TLightCell(); }

TLightCell* CopyCell(const TLightCell& source) { return new TLightCell(source); }

void FreeCell(TLightCell* cell) { delete cell; }

int CompareNamesNoCase(std::string_view a, std::string_view b) { return CompareFoldedCase(a, b); }

int CompareKindOrder(const TLightCell* a, const TLightCell* b) {
  if (const int c = Sign(a->Kind, b->Kind)) return c;
  return Sign(a->Order, b->Order);
}

int CompareNameChannel(const TLightCell* a, const TLightCell* b) {
  if (const int c = CompareNamesNoCase(a->Fixture.Name, b->Fixture.Name)) return c;
  if (const int c = Sign(a->StartCh, b->StartCh)) return c;
  if (const int c = Sign(a->X1, b->X1)) return c;
  return Sign(a->Y1, b->Y1);
}

int CompareChannelName(const TLightCell* a, const TLightCell* b) {
  if (const int c = Sign(a->StartCh, b->StartCh)) return c;
  if (const int c = CompareNamesNoCase(a->Fixture.Name, b->Fixture.Name)) return c;
  if (const int c = Sign(a->X1, b->X1)) return c;
  return Sign(a->Y1, b->Y1);
}

int CompareX(const TLightCell* a, const TLightCell* b) {
  if (const int c = Sign(a->X1, b->X1)) return c;
  return Sign(a->Y1, b->Y1);
}

int CompareY(const TLightCell* a, const TLightCell* b) {
  if (const int c = Sign(a->Y1, b->Y1)) return c;
  return Sign(a->X1, b->X1);
}

}  // namespace lumaplot

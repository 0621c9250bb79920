#include "model/PositionHistory.h"

#include <algorithm>

namespace lumaplot {
namespace {

// The flags follow the objects' counts, so an empty document never offers a step
// that would do nothing.
void UpdateUndoFlags(TStageData& doc) {
  doc.CanUndo = std::any_of(doc.Objects.begin(), doc.Objects.end(),
                            [](const TLightCell* cell) { return cell->UndoCount > 0; });
  doc.CanRedo = std::any_of(doc.Objects.begin(), doc.Objects.end(),
                            [](const TLightCell* cell) { return cell->RedoCount > 0; });
}

}  // namespace

void PushPositions(TStageData& doc) {
  for (TLightCell* cell : doc.Objects) cell->PushPosition();
  UpdateUndoFlags(doc);
}

bool UndoPositions(TStageData& doc) {
  for (TLightCell* cell : doc.Objects) cell->UndoPosition();
  UpdateUndoFlags(doc);
  return doc.CanUndo;
}

bool RedoPositions(TStageData& doc) {
  for (TLightCell* cell : doc.Objects) cell->RedoPosition();
  UpdateUndoFlags(doc);
  return doc.CanRedo;
}

}  // namespace lumaplot

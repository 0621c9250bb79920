#include "model/Selection.h"

#include <algorithm>

namespace lumaplot {

void SelectAll(TStageData& doc, bool select) {
  doc.Selection.clear();
  for (TLightCell* cell : doc.Objects) {
    cell->Selected = select;
    cell->SetNeedsDraw();
    if (select) doc.Selection.push_back(cell);
  }
}

void SetSelected(TStageData& doc, TLightCell* cell, bool select) {
  if (cell == nullptr || cell->Selected == select) return;
  if (std::find(doc.Objects.begin(), doc.Objects.end(), cell) == doc.Objects.end()) return;
  cell->Selected = select;
  cell->SetNeedsDraw();
  if (select) {
    doc.Selection.push_back(cell);
  } else {
    std::erase(doc.Selection, cell);
  }
}

bool GatherTemplate(TStageData& doc, int32_t kind) {
  for (TLightCell* cell : TLightList(doc.Selection)) {
    if (cell->Kind != kind) SetSelected(doc, cell, false);
  }
  if (doc.Selection.empty()) return false;

  const TLightCell& first = *doc.Selection.front();
  TLightCell& common = doc.Template;
  common = first;
  for (const TLightCell* other : doc.Selection) {
    if (other->Fixture.Name != first.Fixture.Name) common.Fixture.Name.clear();
    if (other->StartCh != first.StartCh) common.StartCh = kStartChDiffers;
    if (other->Size != first.Size) common.Size = 0;
    if (other->Size2 != first.Size2) common.Size2 = 0;
    if (other->Angle != first.Angle) common.Angle = 0;
    if (other->Color != first.Color) common.Color = kNoColor;
    if (other->Color2 != first.Color2) common.Color2 = kNoColor;
    if (other->FilterColor != first.FilterColor) common.FilterColor = kNoColor;
  }
  return true;
}

}  // namespace lumaplot

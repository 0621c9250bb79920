#pragma once
// Small builders of fixture types and stage objects for model tests.
#include <initializer_list>

#include "model/LibItem.h"
#include "model/LightCell.h"
#include "model/StageData.h"

namespace lumaplot::test {

inline TLibItem MakeType(std::initializer_list<int32_t> roles, int32_t shape = Circle,
                         int32_t width = 20, int32_t height = 20) {
  TLibItem type;
  type.Name = "test";
  type.Shape = shape;
  type.Width = width;
  type.Height = height;
  type.Channels = static_cast<int32_t>(roles.size());
  type.ChAtr = {};
  int i = 0;
  for (int32_t role : roles) type.ChAtr[static_cast<size_t>(i++)] = role;
  return type;
}

// A light of `type` at (x, y) in `doc`, patched to `startCh`.
inline TLightCell* AddLight(TStageData& doc, const TLibItem& type, int32_t x, int32_t y,
                            int32_t startCh = kNotPatched) {
  TLightCell* cell = NewCell();
  cell->Kind = KindLight;
  cell->Fixture = type;
  cell->Width = type.Width;
  cell->Height = type.Height;
  cell->X1 = x;
  cell->Y1 = y;
  cell->StartCh = startCh;
  doc.AddObject(cell);
  return cell;
}

// A shape, line or text with the given corners (texts use only the first).
inline TLightCell* AddCell(TStageData& doc, int32_t kind, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) {
  TLightCell* cell = NewCell();
  cell->Kind = kind;
  cell->X1 = x1;
  cell->Y1 = y1;
  cell->X2 = x2;
  cell->Y2 = y2;
  doc.AddObject(cell);
  return cell;
}

}  // namespace lumaplot::test

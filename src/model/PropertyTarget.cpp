#include "model/PropertyTarget.h"

#include "model/CellMove.h"
#include "model/HitTest.h"
#include "model/Selection.h"
#include "util/EnvData.h"

namespace lumaplot {

TLightCell* TopmostOfKind(TStageData& doc, int32_t kind, int32_t x, int32_t y,
                          const TPresentationSettings& settings) {
  for (size_t i = doc.Objects.size(); i-- > 0;) {
    TLightCell* cell = doc.Objects[i];
    if (cell->Kind == kind && HitTest(*cell, x, y, settings)) return cell;
  }
  return nullptr;
}

TPropertyTarget ChoosePropertyTarget(TStageData& doc, int32_t kind, int32_t x, int32_t y,
                                     const TPresentationSettings& settings) {
  GatherTemplate(doc, kind);
  const size_t selected = doc.Selection.size();
  TPropertyTarget choice;
  if (selected == 1) {
    choice.Target = doc.Selection.front();
    return choice;
  }
  choice.Multi = selected > 1;
  choice.Target = TopmostOfKind(doc, kind, x, y, settings);
  if (choice.Target) return choice;
  if (kind == KindLight) {
    choice.Target = selected > 0 ? doc.Selection.front() : nullptr;
  } else if (kind == KindText || kind == KindShape) {
    // With several selected the dialog edits them; a new object would be a surprise.
    choice.CreateNew = !choice.Multi;
  }
  return choice;
}

TLightCell* AddNewShape(TStageData& doc, int32_t x, int32_t y, const TEnvData& env) {
  TLightCell* shape = NewCell();
  shape->Kind = KindShape;
  shape->ShapeType = env.ShapeType;
  shape->X1 = x;
  shape->Y1 = y;
  shape->X2 = ClampToInt32(int64_t{x} + env.ShapeWidth);
  shape->Y2 = ClampToInt32(int64_t{y} + env.ShapeHeight);
  shape->Size = env.ShapeSize;
  shape->Color = env.ShapeColor;
  shape->Color2 = env.ShapeColor2;
  shape->Size2 = 8;
  shape->Order = ClampToInt32(int64_t{doc.MaxOrder(KindShape)} + 1);
  doc.AddObject(shape);
  return shape;
}

TLightCell* AddNewText(TStageData& doc, int32_t x, int32_t y, const TEnvData& env) {
  TLightCell* text = NewCell();
  text->Kind = KindText;
  text->X1 = x;
  text->Y1 = y;
  text->Size = env.TextSize;
  text->Color = env.TextColor;
  text->Flags = static_cast<uint32_t>(env.TextStyle);
  doc.AddObject(text);
  return text;
}

}  // namespace lumaplot

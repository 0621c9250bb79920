#pragma once
// What a property dialog edits when it is shown at a point of the page: one object,
// every selected object of its kind, or a new text or shape made on the spot. Also
// the new objects themselves, made from the remembered values of the settings.
// GUI thread only.
#include <cstdint>

#include "model/LightPresentation.h"
#include "model/StageData.h"

namespace lumaplot {

class TEnvData;

struct TPropertyTarget {
  // Single mode: the object edited. Multi mode: the light the light dialog's preview
  // shows, if any. None when there is nothing to show.
  TLightCell* Target = nullptr;
  bool Multi = false;      // more than one object of the kind is selected
  bool CreateNew = false;  // a text or shape dialog with nothing to edit: make one
};

// Prepares the property dialog of `kind` shown at (x, y): the selection is reduced to
// objects of `kind` and their common values are gathered into the document's
// `Template` (GatherTemplate). Then:
// - exactly one object of the kind selected: that object, single mode;
// - otherwise the topmost object of the kind at (x, y) when there is one, in multi
//   mode when several of the kind are selected;
// - otherwise, with several selected: multi mode (the light dialog shows the first
//   selected light); with none selected: the light dialog the first selected light
//   (none, so nothing to show), the line dialog nothing, and the text and shape
//   dialogs a new object (CreateNew).
// An object of another kind at the point is never the target.
TPropertyTarget ChoosePropertyTarget(TStageData& doc, int32_t kind, int32_t x, int32_t y,
                                     const TPresentationSettings& settings);

// The topmost object of `kind` at (x, y), or none.
TLightCell* TopmostOfKind(TStageData& doc, int32_t kind, int32_t x, int32_t y,
                          const TPresentationSettings& settings);

// A new shape at (x, y) as the shape dialog makes one: type `ShapeType`, size
// `ShapeWidth` x `ShapeHeight`, line width `ShapeSize`, fill `ShapeColor`, outline
// `ShapeColor2`, `Size2` 8, drawn above the other shapes (`Order` MaxOrder + 1).
// Added to `doc` (sorted in); `Modified` is left to the caller.
TLightCell* AddNewShape(TStageData& doc, int32_t x, int32_t y, const TEnvData& env);

// A new, empty text at (x, y) in `TextSize`, `TextColor` and `TextStyle`, `Order` 0.
// Added to `doc` (sorted in); `Modified` is left to the caller.
TLightCell* AddNewText(TStageData& doc, int32_t x, int32_t y, const TEnvData& env);

}  // namespace lumaplot

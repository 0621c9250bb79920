#pragma once
// The selection of a document and the property template gathered from it.
//
// A document's `Selection` lists its selected objects in the order in which they
// were selected; every listed object has `Selected` set and no other object has.
// These functions keep that invariant and set `NeedsDraw` on every object that
// enters or leaves the selection, so the next drawing pass shows the change. They
// draw nothing and do not mark the document modified. GUI thread only.
#include <cstdint>

#include "model/StageData.h"

namespace lumaplot {

// Selects every object of `Objects` (in list order) or none. Every object is
// marked for drawing either way.
void SelectAll(TStageData& doc, bool select);

// Puts `cell` into the selection (at its end) or takes it out. Nothing happens
// when `cell` is already in the wanted state or is not an object of `doc`.
void SetSelected(TStageData& doc, TLightCell* cell, bool select);

// Prepares `Template` for the property dialog of one kind: selected objects of
// other kinds leave the selection; `Template` becomes a copy of the first selected
// object, with the fields in which the selected objects differ set to "differs"
// (type name empty, `StartCh` -2, `Size`, `Size2`, `Angle` 0, colours kNoColor).
// Returns false, with `Template` untouched, when no object of `kind` is selected.
bool GatherTemplate(TStageData& doc, int32_t kind);

}  // namespace lumaplot

#pragma once
// Small steps the mouse tools share. GUI thread only.
#include <QCursor>

#include "model/StageData.h"

namespace lumaplot {

struct TCommandContext;

// The current document when objects may be added to it or taken from it (one read
// from a read-only file may not be changed), else none.
TStageData* EditableDoc(const TCommandContext& context);

// The topmost object at (x, y), or none.
TLightCell* ObjectUnder(TStageData& doc, int x, int y);

// Takes the hand mark off the primary object; no object is primary afterwards.
void DropPrimary(TStageData& doc);

// The pointer over the page from now on.
void SetPageCursor(TCommandContext& context, const QCursor& cursor);

// The page shows what was drawn into it since it was last shown.
void ShowDrawn(TCommandContext& context);

}  // namespace lumaplot

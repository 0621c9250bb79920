#pragma once
// Drawing the objects of a document onto the document's `Canvas`, in their real
// colours or in the page background colour (to erase them before they move or
// change). Drawing is incremental: an object is drawn only while its `NeedsDraw` is
// set, and drawing clears it. A light's level text remembers where it was drawn
// (`ValueRect`), so it is erased only when its place or size changes.
//
// GUI thread only. Nothing happens without an object or without a canvas.
#include <cstdint>

#include "model/LightPresentation.h"
#include "model/StageData.h"

namespace lumaplot {

inline constexpr int32_t kSelectionColor = 0x0000FF;  // red

// Draws `cell` if it is marked, then clears the mark. Erasing (`realColours`
// false) also removes the hand mark of the document's primary light, marked or not.
void DrawObject(TStageData& doc, TLightCell* cell, bool realColours,
                const TPresentationSettings& settings);
// As above with the program-wide PresentationSettings().
void DrawObject(TStageData& doc, TLightCell* cell, bool realColours);

// For every object in list order: mark it when `markAll`, draw it as DrawObject
// does, and clear its `Moving` when `clearMoving`.
void DrawAll(TStageData& doc, bool realColours, bool markAll, bool clearMoving,
             const TPresentationSettings& settings);
void DrawAll(TStageData& doc, bool realColours, bool markAll, bool clearMoving);

}  // namespace lumaplot

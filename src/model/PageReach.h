#pragma once
// How far a document's objects reach on its page. An object may lie beyond the
// page's size: the page was made smaller after the object was placed, or a file put
// it there. The view offers the page and everything beyond it that holds an object,
// so that nothing placed is out of the user's reach. GUI thread only (texts are
// measured on their canvas).
#include "model/Canvas.h"
#include "model/LightPresentation.h"
#include "model/StageData.h"

namespace lumaplot {

// The right and bottom edges the objects of `doc` reach, as drawn: a light's turned
// body, a line or shape with its pen, a text as measured. (0, 0) without objects;
// never negative.
TPoint ObjectsReach(const TStageData& doc, const TPresentationSettings& settings);

}  // namespace lumaplot

#pragma once
// The first channel of a document that no object uses, for the next light to add.
#include "model/StageData.h"

namespace lumaplot {

// The lowest channel below `limit` that lies in no object's range [StartCh,
// StartCh + Channels), every object counting whatever its kind (texts, lines,
// shapes and unpatched lights carry StartCh -1 and so cover [-1, 2) with the default
// type); -1 when every channel is taken.
int FirstFreeChannel(const TStageData& doc, int limit);

}  // namespace lumaplot

#pragma once
// Lights hold a copy of their fixture type and name it; after the library changed,
// they take the library's current definition of that name again. GUI thread only.
#include "model/LightCell.h"
#include "model/LightLib.h"
#include "model/StageData.h"

namespace lumaplot {

// Gives `light` the library's first type of the name its type copy carries, and that
// type's size. A name the library no longer holds keeps the name with the default
// type's definition, as when a plot naming a missing type is read: the light is
// drawn as "*default*", saving keeps the name, and a later look-up finds the type
// once the library has it again. A light whose type has no name keeps its type and
// takes its size.
void RelinkLightType(TLightCell& light, const TLightLib& library);

// RelinkLightType for every light of `doc`, marking each to be drawn.
void RelinkLightTypes(TStageData& doc, const TLightLib& library);

}  // namespace lumaplot

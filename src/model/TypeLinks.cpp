#include "model/TypeLinks.h"

namespace lumaplot {

void RelinkLightType(TLightCell& light, const TLightLib& library) {
  std::string name = light.Fixture.Name;
  if (library.IndexOfName(name, &light.Fixture) < 0 && !name.empty()) {
    light.Fixture.Name = std::move(name);
  }
  light.Width = light.Fixture.Width;
  light.Height = light.Fixture.Height;
}

void RelinkLightTypes(TStageData& doc, const TLightLib& library) {
  for (TLightCell* cell : doc.Objects) {
    if (cell == nullptr || cell->Kind != KindLight) continue;
    RelinkLightType(*cell, library);
    cell->SetNeedsDraw();
  }
}

}  // namespace lumaplot

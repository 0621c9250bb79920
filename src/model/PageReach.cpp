#include "model/PageReach.h"

#include <algorithm>
#include <cstdint>

#include "model/HitTest.h"
#include "model/LightOutline.h"

namespace lumaplot {
namespace {

int32_t Clamped(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
}

}  // namespace

TPoint ObjectsReach(const TStageData& doc, const TPresentationSettings& settings) {
  int64_t right = 0;
  int64_t bottom = 0;
  for (const TLightCell* cell : doc.Objects) {
    switch (cell->Kind) {
      case KindLight: {
        const TRect box = LightOutline(*cell).Box;
        right = std::max<int64_t>(right, box.Right);
        bottom = std::max<int64_t>(bottom, box.Bottom);
        break;
      }
      case KindText: {
        const TRect area = TextArea(*cell, settings);
        right = std::max<int64_t>(right, area.Right);
        bottom = std::max<int64_t>(bottom, area.Bottom);
        break;
      }
      default: {
        // A pen is centred on the outline: half of it lies outside.
        const int64_t pen = std::max<int32_t>(cell->Size, 1) / 2 + 1;
        right = std::max<int64_t>(right, std::max(cell->X1, cell->X2) + pen);
        bottom = std::max<int64_t>(bottom, std::max(cell->Y1, cell->Y2) + pen);
        break;
      }
    }
  }
  return {Clamped(right), Clamped(bottom)};
}

}  // namespace lumaplot

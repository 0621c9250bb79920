#include "model/FreeChannel.h"

#include <algorithm>
#include <vector>

namespace lumaplot {

int FirstFreeChannel(const TStageData& doc, int limit) {
  limit = std::clamp(limit, 0, kStageChannels);
  std::vector<bool> taken(static_cast<size_t>(limit), false);
  for (const TLightCell* cell : doc.Objects) {
    const int64_t first = std::max<int64_t>(cell->StartCh, 0);
    const int64_t end = std::min<int64_t>(int64_t{cell->StartCh} + cell->Fixture.Channels, limit);
    for (int64_t c = first; c < end; ++c) taken[static_cast<size_t>(c)] = true;
  }
  const auto free = std::find(taken.begin(), taken.end(), false);
  return free == taken.end() ? -1 : static_cast<int>(free - taken.begin());
}

}  // namespace lumaplot

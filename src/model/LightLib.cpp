#include "model/LightLib.h"

#include <cstdio>

namespace lumaplot {

TLibItem* TLibList::Add(const TLibItem& item) {
  if (IsFull()) return nullptr;
  items_.push_back(std::make_unique<TLibItem>(item));
  return items_.back().get();
}

void TLibList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

int TLightLib::IndexOfName(std::string_view name, TLibItem* dest) const {
  if (name.empty()) return -1;
  if (dest) *dest = DefaultLibItem();
  for (int i = 0; i < Items.Count(); ++i) {
    if (Items[i].Name == name) {
      if (dest) *dest = Items[i];
      return i;
    }
  }
  return -1;
}

}  // namespace lumaplot

#include "util/TextList.h"

#include "util/TextCodec.h"

namespace lumaplot {

bool LoadListSafely(const std::string& fileName, std::vector<std::string>& list,
                    std::string* error) {
  if (ReadTextLines(fileName, list, error)) return true;
  list.clear();
  return false;
}

}  // namespace lumaplot

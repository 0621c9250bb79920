#include "util/Wildcard.h"

#include <algorithm>

#include "util/AsciiCase.h"
#include "util/NumberText.h"

namespace lumaplot {
namespace {

// Length of the UTF-8 sequence starting at `i`; a stray byte counts as one character.
size_t CharLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  return std::min(length, text.size() - i);
}

}  // namespace

bool MatchesWildcard(std::string_view mask, std::string_view text) {
  constexpr size_t kNoStar = std::string_view::npos;
  size_t m = 0;
  size_t t = 0;
  // After a "*", where the mask resumes and where in the text that attempt began;
  // on a mismatch the star swallows one more character and the rest is tried again.
  size_t starMask = kNoStar;
  size_t starText = 0;
  while (t < text.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = ++m;
      starText = t;
    } else if (m < mask.size() && mask[m] == '?') {
      ++m;
      t += CharLength(text, t);
    } else if (m < mask.size() && ToUpperAscii(mask[m]) == ToUpperAscii(text[t])) {
      ++m;
      ++t;
    } else if (starMask != kNoStar) {
      starText += CharLength(text, starText);
      t = starText;
      m = starMask;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::string> SplitMaskList(std::string_view masks) {
  std::vector<std::string> result;
  while (true) {
    const size_t semicolon = masks.find(';');
    const std::string_view one = TrimControls(masks.substr(0, semicolon));
    if (!one.empty()) result.emplace_back(one);
    if (semicolon == std::string_view::npos) break;
    masks.remove_prefix(semicolon + 1);
  }
  return result;
}

}  // namespace lumaplot

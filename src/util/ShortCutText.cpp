#include "util/ShortCutText.h"

#include <array>

#include "util/AsciiCase.h"
#include "util/KeyNames.h"
#include "util/NumberText.h"

namespace lumaplot {
namespace {

struct Modifier {
  std::string_view prefix;
  ShortCut bit;
};

constexpr std::array<Modifier, 3> kModifiers{{
    {"Shift+", kShortCutShift},
    {"Ctrl+", kShortCutCtrl},
    {"Alt+", kShortCutAlt},
}};

}  // namespace

std::string ShortCutToText(ShortCut shortcut) {
  const std::string_view key = KeyNameOfCode(shortcut & kShortCutKeyMask);
  if (key.empty()) return {};
  std::string text;
  for (const Modifier& modifier : kModifiers) {
    if (shortcut & modifier.bit) text += modifier.prefix;
  }
  text += key;
  return text;
}

ShortCut TextToShortCut(std::string_view text) {
  text = TrimControls(text);
  ShortCut modifiers = 0;
  for (bool found = true; found;) {
    found = false;
    for (const Modifier& modifier : kModifiers) {
      if (StartsWithIgnoringCase(text, modifier.prefix)) {
        modifiers |= modifier.bit;
        text.remove_prefix(modifier.prefix.size());
        found = true;
      }
    }
  }
  const uint16_t key = KeyCodeOfName(text);
  if (key == 0) return kNoShortCut;
  return static_cast<ShortCut>(modifiers | key);
}

}  // namespace lumaplot

#pragma once
// Keyboard shortcuts as the settings file and the options dialog know them. A
// shortcut is one integer in the Windows form: the virtual-key code in the low byte
// (see KeyNames.h) plus the modifier bits below; 0 is no shortcut. The Qt layer turns
// it into a QKeySequence. Pure functions, safe from any thread.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumaplot {

using ShortCut = uint16_t;

inline constexpr ShortCut kNoShortCut = 0;
inline constexpr ShortCut kShortCutShift = 0x2000;
inline constexpr ShortCut kShortCutCtrl = 0x4000;
inline constexpr ShortCut kShortCutAlt = 0x8000;
inline constexpr ShortCut kShortCutKeyMask = 0x00FF;

// "Shift+", "Ctrl+", "Alt+" in this order as the bits say, then the key name:
// "Shift+Ctrl+F1". Empty for no shortcut and for a key that has no listed name.
std::string ShortCutToText(ShortCut shortcut);

// The inverse: modifier prefixes in any order, letter case ignored everywhere, blanks
// around the whole text ignored. A key name that is not listed gives kNoShortCut.
ShortCut TextToShortCut(std::string_view text);

}  // namespace lumaplot

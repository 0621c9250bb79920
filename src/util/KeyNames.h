#pragma once
// The keys a keyboard shortcut may use, by name and by Windows virtual-key code
// (the code form the settings file's shortcuts are built from, see ShortCutText.h).
// Pure functions, safe from any thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

// Clears `items` and adds the key names offered for shortcuts: letters, digits,
// F1 … F12, editing keys, the arrow keys (left out when `withoutArrows`), others.
void FillKeyNames(std::vector<std::string>& items, bool withoutArrows);

// The virtual-key code of a listed key name, letter case ignored; 0 for any other text.
uint16_t KeyCodeOfName(std::string_view name);

// The name of a listed virtual-key code; empty for any other code.
std::string_view KeyNameOfCode(uint16_t code);

}  // namespace lumaplot

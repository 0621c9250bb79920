#pragma once
// Reading integers as the stage, library and settings files write them.
#include <cstdint>
#include <string_view>

namespace lumaplot {

// Leading blanks are skipped; an optional sign; then decimal digits, or "0x", "0X",
// "x", "X" or "$" followed by 1 to 8 hexadecimal digits taken as a 32-bit pattern
// (so "$FFFFFFFF" is -1). Empty text, any other character (trailing ones included)
// or a decimal value outside the 32-bit range gives `def`.
int32_t ReadNumber(std::string_view text, int32_t def);

// `text` with blanks and control characters (bytes <= 0x20) removed at both ends.
std::string_view TrimControls(std::string_view text);

}  // namespace lumaplot

#pragma once
// Letter case of ASCII text, the way names, keys and masks are compared in the
// program's files. Bytes outside a-z / A-Z (UTF-8 sequences included) are left
// alone and compare as they are.
#include <string>
#include <string_view>

namespace lumaplot {

char ToUpperAscii(char c);
std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace lumaplot

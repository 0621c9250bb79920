#pragma once
// Letter case of names shown to the user in sorted lists (fixture type names), folded
// the one way the program knows: Unicode simple case folding, so that full-width
// Latin letters, common in Japanese type names, fold as ASCII letters do ("ＬＥＤ" and
// "ｌｅｄ" are the same name to a sort). Width and kana are not folded ("ＬＥＤ" and
// "LED" differ). Names in files and settings keys keep their ASCII-only rules
// (util/AsciiCase.h). Pure functions, any thread.
#include <string_view>

namespace lumaplot {

// The simple case folding of `c` (a lower-case letter for most letters); every
// other code point unchanged.
char32_t FoldCase(char32_t c);

// Compares two UTF-8 texts character by character after folding each: negative,
// zero or positive by code point. A byte that does not begin a well-formed UTF-8
// character compares as itself, after every character; the shorter of two texts
// that agree up to its end comes first.
int CompareFoldedCase(std::string_view a, std::string_view b);

}  // namespace lumaplot

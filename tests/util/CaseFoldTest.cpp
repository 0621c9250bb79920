#include "util/CaseFold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lumaplot {
namespace {

TEST(CaseFold, FoldsLettersOfEveryScriptButNotWidthOrKana) {
  struct Case {
    char32_t from;
    char32_t to;
    const char* what;
  };
  const Case cases[] = {
      {U'A', U'a', "ASCII"},
      {U'a', U'a', "already folded"},
      {U'@', U'@', "no letter"},
      {U'Ａ', U'ａ', "full-width Latin"},
      {U'Ｚ', U'ｚ', "full-width Latin, last"},
      {U'Ω', U'ω', "Greek"},
      {U'Ё', U'ё', "Cyrillic"},
      {U'Ⅻ', U'ⅻ', "Roman numeral"},
      {U'Ā', U'ā', "a run of every second code point"},
      {U'ā', U'ā', "between two of that run"},
      {U'ẞ', U'ß', "simple folding only"},
      {U'ß', U'ß', "no full folding"},
      {U'K', U'k', "Kelvin sign"},
      {U'ア', U'ア', "katakana"},
      {U'ｱ', U'ｱ', "half-width katakana"},
      {U'灯', U'灯', "kanji"},
      {U'𐐀', U'𐐨', "beyond the basic plane"},
      {0x10FFFF, 0x10FFFF, "last code point"},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldCase(c.from), c.to) << c.what;
}

TEST(CaseFold, ComparesUtf8TextsAfterFolding) {
  struct Case {
    std::string a;
    std::string b;
    int sign;
  };
  const Case cases[] = {
      {"ＬＥＤ", "ｌｅｄ", 0},
      {"led", "LED", 0},
      {"LED", "ＬＥＤ", -1},  // width is not folded: ASCII first
      {"LED", "LED1", -1},
      {"ＬＥＤ１", "ｌｅｄ２", -1},
      {"ＺＯＯＭ", "ａｒｃ", 1},  // folded, not by upper-case code points
      {"スポット", "ＬＥＤ", -1},
      {"𐐀", "ｚ", 1},                           // by code point, not by UTF-16 unit
      {"a\xFF", "ab", 1},                       // a stray byte comes after every character
      {"\xC0\x80", "\xC0\x81", -1},             // an overlong form is two stray bytes
      {"\xED\xA0\x80", "\xF4\x8F\xBF\xBF", 1},  // a surrogate, and U+10FFFF
      {"", "", 0},
      {"", "a", -1},
  };
  for (const Case& c : cases) {
    const int forward = CompareFoldedCase(c.a, c.b);
    EXPECT_EQ((forward > 0) - (forward < 0), c.sign) << c.a << " | " << c.b;
    const int backward = CompareFoldedCase(c.b, c.a);
    EXPECT_EQ((backward > 0) - (backward < 0), -c.sign) << c.b << " | " << c.a;
  }
}

}  // namespace
}  // namespace lumaplot

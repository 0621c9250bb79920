#include <gtest/gtest.h>

#include <string>

#include "util/Wildcard.h"

namespace lumaplot {
namespace {

TEST(WildcardTest, MatchesTheTable) {
  const struct {
    const char* mask;
    const char* text;
    bool matches;
  } cases[] = {
      {".DAT", ".dat", true},
      {"*.da?", "plot.dat", true},
      {"*", "", true},
      {"", "a", false},
      {"", "", true},
      {"*.DAT", "plot.dat", true},
      {"*.DAT", "plot.data", false},
      {"*.DAT", "plot.dat.bak", false},
      {"*.DAT", "a.b.dat", true},
      {"a*b*c", "aXbYc", true},
      {"a*b*c", "abcab", false},
      {"a*b*c", "abbbc", true},
      {"?", "", false},
      {"?", "ab", false},
      {"??", "ab", true},
      {"*?", "", false},
      {"***", "x", true},
      {"a?c",
       "a\xE3\x81\x82"
       "c",
       true},  // "?" takes a whole UTF-8 character
      {"a??c",
       "a\xE3\x81\x82"
       "c",
       false},
      {"*\xE3\x81\x82*", "x\xE3\x81\x82y", true},
      {"\xE3\x81\x82", "\xE3\x81\x83", false},
      {"*.*", "noext", false},
      {"abc", "ABC", true},
      {"abc", "abcd", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.mask, c.text), c.matches) << c.mask << " / " << c.text;
  }
}

TEST(WildcardTest, ManyStarsOnALongMismatchFinishQuickly) {
  const std::string mask = std::string(40, '*') + "b";
  const std::string text(20000, 'a');
  EXPECT_FALSE(MatchesWildcard(mask, text));
}

TEST(WildcardTest, SplitsMaskLists) {
  EXPECT_EQ(SplitMaskList(" *.dat ; ;*.TXT;"), (std::vector<std::string>{"*.dat", "*.TXT"}));
  EXPECT_TRUE(SplitMaskList("").empty());
}

}  // namespace
}  // namespace lumaplot

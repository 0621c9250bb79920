#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "util/KeyNames.h"
#include "util/ShortCutText.h"

namespace lumaplot {
namespace {

TEST(KeyNamesTest, ListsTheKeysInDialogOrder) {
  std::vector<std::string> items{"left over"};
  FillKeyNames(items, false);
  ASSERT_EQ(items.size(), 63u);
  EXPECT_EQ(items[0], "A");
  EXPECT_EQ(items[25], "Z");
  EXPECT_EQ(items[26], "0");
  EXPECT_EQ(items[35], "9");
  EXPECT_EQ(items[36], "F1");
  EXPECT_EQ(items[47], "F12");
  const std::vector<std::string> tail(items.begin() + 48, items.end());
  EXPECT_EQ(tail,
            (std::vector<std::string>{"Del", "Ins", "BkSp", "PgUp", "PgDn", "Home", "End", "Left",
                                      "Up", "Right", "Down", "Tab", "Esc", "Enter", "Space"}));
}

TEST(KeyNamesTest, WithoutArrowsLeavesOutOnlyTheArrows) {
  std::vector<std::string> items;
  FillKeyNames(items, true);
  ASSERT_EQ(items.size(), 59u);
  EXPECT_EQ(items[54], "End");
  EXPECT_EQ(items[55], "Tab");
}

TEST(KeyNamesTest, EveryNameHasADistinctCodeThatMapsBack) {
  std::vector<std::string> items;
  FillKeyNames(items, false);
  std::vector<uint16_t> seen;
  for (const std::string& name : items) {
    const uint16_t code = KeyCodeOfName(name);
    ASSERT_NE(code, 0) << name;
    EXPECT_EQ(KeyNameOfCode(code), name);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), code), 0) << name;
    seen.push_back(code);
  }
}

struct TextCase {
  ShortCut shortcut;
  const char* text;
};

TEST(ShortCutTextTest, WritesModifiersInFixedOrder) {
  const TextCase cases[] = {
      {kShortCutCtrl | 'S', "Ctrl+S"},
      {kShortCutShift | kShortCutCtrl | 0x70, "Shift+Ctrl+F1"},
      {0x2E, "Del"},
      {kShortCutAlt | kShortCutShift | '7', "Shift+Alt+7"},
      {kShortCutShift | kShortCutCtrl | kShortCutAlt | 0x25, "Shift+Ctrl+Alt+Left"},
      {kShortCutCtrl | 0x28, "Ctrl+Down"},
      {kNoShortCut, ""},
      {kShortCutCtrl, ""},         // modifiers without a key
      {kShortCutCtrl | 0x90, ""},  // a key that has no listed name
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(ShortCutToText(c.shortcut), c.text) << c.shortcut;
  }
}

TEST(ShortCutTextTest, ReadsAnyOrderAndCase) {
  const TextCase cases[] = {
      {kShortCutShift | kShortCutCtrl | 'A', "ctrl+shift+a"},
      {kShortCutShift | kShortCutCtrl | 'A', "Shift+Ctrl+A"},
      {kShortCutAlt | kShortCutCtrl | 0x22, "ALT+ctrl+pgdn"},
      {kShortCutCtrl | 'X', "  Ctrl+X  "},
      {0x1B, "esc"},
      {kShortCutCtrl | 'S', "Ctrl+Ctrl+S"},
      {kNoShortCut, ""},
      {kNoShortCut, "Ctrl+"},
      {kNoShortCut, "Ctrl+Shift"},
      {kNoShortCut, "Ctrl+F13"},
      {kNoShortCut, "Ctrl+Num +"},
      {kNoShortCut, "Ctrl+AB"},
      {kNoShortCut, "Meta+A"},
      {kNoShortCut, "Ctrl + A"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(TextToShortCut(c.text), c.shortcut) << '"' << c.text << '"';
  }
}

TEST(ShortCutTextTest, EveryKeyWithEveryModifierSetRoundTrips) {
  std::vector<std::string> items;
  FillKeyNames(items, false);
  for (const std::string& name : items) {
    for (ShortCut modifiers = 0; modifiers < 8; ++modifiers) {
      const ShortCut shortcut = static_cast<ShortCut>((modifiers << 13) | KeyCodeOfName(name));
      const std::string text = ShortCutToText(shortcut);
      ASSERT_EQ(TextToShortCut(text), shortcut) << text;
    }
  }
}

}  // namespace
}  // namespace lumaplot

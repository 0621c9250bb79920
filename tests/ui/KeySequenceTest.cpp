#include "ui/qt/KeySequence.h"

#include <gtest/gtest.h>

#include "util/KeyNames.h"

namespace lumaplot {
namespace {

TEST(KeySequence, ShortCutsAndTheirQtForm) {
  struct Case {
    const char* text;      // the settings file's form
    const char* sequence;  // QKeySequence::PortableText
  };
  const Case cases[] = {
      {"Ctrl+S", "Ctrl+S"},
      {"Shift+Ctrl+F1", "Ctrl+Shift+F1"},
      {"Del", "Del"},
      {"Alt+Enter", "Alt+Return"},
      {"BkSp", "Backspace"},
      {"Ctrl+PgDn", "Ctrl+PgDown"},
      {"Shift+Ctrl+Alt+0", "Ctrl+Alt+Shift+0"},
      {"Space", "Space"},
      {"Esc", "Esc"},
      {"Ctrl+Left", "Ctrl+Left"},
      {"F12", "F12"},
      {"Ins", "Ins"},
  };
  for (const Case& c : cases) {
    const ShortCut shortcut = TextToShortCut(c.text);
    ASSERT_NE(shortcut, kNoShortCut) << c.text;
    EXPECT_EQ(ToKeySequence(shortcut).toString(QKeySequence::PortableText).toStdString(),
              c.sequence);
    EXPECT_EQ(FromKeySequence(QKeySequence(c.sequence)), shortcut) << c.sequence;
  }
}

TEST(KeySequence, EveryNamedKeyWithEveryModifierRoundTrips) {
  std::vector<std::string> names;
  FillKeyNames(names, false);
  ASSERT_EQ(names.size(), 63u);
  for (const std::string& name : names) {
    for (int modifiers = 0; modifiers <= (kShortCutShift | kShortCutCtrl | kShortCutAlt);
         modifiers += kShortCutShift) {
      const auto shortcut = static_cast<ShortCut>(KeyCodeOfName(name) | modifiers);
      const QKeySequence sequence = ToKeySequence(shortcut);
      EXPECT_FALSE(sequence.isEmpty()) << ShortCutToText(shortcut);
      EXPECT_EQ(FromKeySequence(sequence), shortcut) << ShortCutToText(shortcut);
    }
  }
}

TEST(KeySequence, WhatTheSettingsCannotHoldIsNoShortCut) {
  EXPECT_TRUE(ToKeySequence(kNoShortCut).isEmpty());
  EXPECT_TRUE(ToKeySequence(0x4000 | 0x90).isEmpty());  // Ctrl + an unnamed key
  EXPECT_EQ(FromKeySequence(QKeySequence()), kNoShortCut);
  EXPECT_EQ(FromKeySequence(QKeySequence("Meta+A")), kNoShortCut);
  EXPECT_EQ(FromKeySequence(QKeySequence("F13")), kNoShortCut);
  EXPECT_EQ(FromKeySequence(QKeySequence("Ctrl+/")), kNoShortCut);
  // Only the first key of a sequence counts.
  EXPECT_EQ(FromKeySequence(QKeySequence("Ctrl+K, Ctrl+C")), TextToShortCut("Ctrl+K"));
  // What Qt reports for keys that have one name here.
  EXPECT_EQ(FromKeySequence(QKeySequence(Qt::KeypadModifier | Qt::Key_Enter)),
            TextToShortCut("Enter"));
  EXPECT_EQ(FromKeySequence(QKeySequence(Qt::ShiftModifier | Qt::Key_Backtab)),
            TextToShortCut("Shift+Tab"));
}

}  // namespace
}  // namespace lumaplot

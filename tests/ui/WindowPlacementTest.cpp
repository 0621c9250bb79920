#include "ui/qt/WindowPlacement.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

const std::vector<WindowBounds> kFullHd{{0, 0, 1920, 1080}};

TEST(WindowPlacement, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int number, numerator, denominator, expected;
  };
  const Case cases[] = {
      {1200, 96, 144, 800}, {800, 144, 96, 1200}, {5, 1, 2, 3},           {-5, 1, 2, -3},
      {7, 96, 120, 6},      {1, 1, 0, -1},        {2000000000, 4, 2, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

TEST(WindowPlacement, KeepOnScreenWithOneScreen) {
  struct Case {
    WindowBounds window;
    WindowBounds expected;
  };
  const Case cases[] = {
      {{100, 100, 800, 600}, {100, 100, 800, 600}},     // fits: unchanged
      {{-50, -20, 800, 600}, {0, 0, 800, 600}},         // before the screen
      {{1500, 100, 800, 600}, {1120, 100, 800, 600}},   // sticks out on the right
      {{100, 900, 800, 600}, {100, 480, 800, 600}},     // sticks out at the bottom
      {{3000, 2000, 400, 300}, {1520, 780, 400, 300}},  // far away
      // Larger than the screen: shrunk to it, top-left on the screen.
      {{-100, 50, 2500, 1400}, {0, 0, 1920, 1080}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepOnScreen(c.window, kFullHd), c.expected) << c.window.Left << "," << c.window.Top;
  }
  // The available area of a screen with a panel on the left.
  EXPECT_EQ(KeepOnScreen({0, 0, 300, 300}, {{64, 0, 1856, 1080}}), (WindowBounds{64, 0, 300, 300}));
}

TEST(WindowPlacement, KeepOnScreenWithSeveralScreensMovesOnlyLostWindows) {
  const std::vector<WindowBounds> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  // On the second screen, or partly on it: left alone.
  EXPECT_EQ(KeepOnScreen({2500, 500, 800, 600}, two), (WindowBounds{2500, 500, 800, 600}));
  EXPECT_EQ(KeepOnScreen({-50, 100, 800, 600}, two), (WindowBounds{-50, 100, 800, 600}));
  // On a monitor that is gone: brought onto the primary screen.
  EXPECT_EQ(KeepOnScreen({5000, 100, 800, 600}, two), (WindowBounds{1120, 100, 800, 600}));
  EXPECT_EQ(KeepOnScreen({5000, 100, 800, 600}, {}), (WindowBounds{5000, 100, 800, 600}));
}

TEST(WindowPlacement, MainWindowWithoutKeysOpensCentredWithTheDefaultSize) {
  IniFile ini;
  const MainWindowPlacement placement =
      ReadMainWindowPlacement(ini, {10, 10, 640, 480}, 1920, 1080, 96, kFullHd);
  EXPECT_EQ(placement.Bounds, (WindowBounds{0, 0, 1920, 1080}));
  EXPECT_EQ(placement.State, kWindowNormal);
  const MainWindowPlacement smaller =
      ReadMainWindowPlacement(ini, {10, 10, 640, 480}, 800, 600, 96, kFullHd);
  EXPECT_EQ(smaller.Bounds, (WindowBounds{560, 240, 800, 600}));
  // Without defaults the size stays as it is.
  EXPECT_EQ(ReadMainWindowPlacement(ini, {10, 10, 640, 480}, 0, 0, 96, kFullHd).Bounds,
            (WindowBounds{640, 300, 640, 480}));
}

TEST(WindowPlacement, MainWindowStoredPositionsAreKeptOnScreen) {
  IniFile ini;
  ini.LoadFromText("[General]\nWinLeft=-50\nWinTop=30\nWinWidth=800\nWinHeight=600\nWinState=2\n");
  MainWindowPlacement placement = ReadMainWindowPlacement(ini, {}, 1920, 1080, 96, kFullHd);
  EXPECT_EQ(placement.Bounds, (WindowBounds{0, 30, 800, 600}));
  EXPECT_EQ(placement.State, kWindowMaximized);

  ini.LoadFromText("[General]\nWinLeft=1500\nWinTop=0\nWinWidth=800\nWinHeight=600\n");
  EXPECT_EQ(ReadMainWindowPlacement(ini, {}, 1920, 1080, 96, kFullHd).Bounds.Left, 1120);

  // Nonsense sizes and a minimised state fall back to the defaults and normal.
  ini.LoadFromText("[General]\nWinLeft=0\nWinTop=0\nWinWidth=0\nWinHeight=abc\nWinState=1\n");
  placement = ReadMainWindowPlacement(ini, {}, 1024, 768, 96, kFullHd);
  EXPECT_EQ(placement.Bounds, (WindowBounds{0, 0, 1024, 768}));
  EXPECT_EQ(placement.State, kWindowNormal);
}

TEST(WindowPlacement, MainWindowSizeIsStoredAt96DotsPerInch) {
  const std::vector<WindowBounds> big{{0, 0, 3840, 2160}};
  IniFile ini;
  WriteMainWindowPlacement(ini, {{10, 20, 1200, 900}, kWindowNormal}, 144);
  EXPECT_EQ(ini.ReadInteger("General", "WinWidth", 0), 800);
  EXPECT_EQ(ini.ReadInteger("General", "WinHeight", 0), 600);
  const MainWindowPlacement back = ReadMainWindowPlacement(ini, {}, 3840, 2160, 144, big);
  EXPECT_EQ(back.Bounds, (WindowBounds{10, 20, 1200, 900}));
}

TEST(WindowPlacement, MinimisedIsStoredAsNormalAndMaximisedAsTwo) {
  IniFile ini;
  WriteMainWindowPlacement(ini, {{1, 2, 300, 200}, kWindowMinimized}, 96);
  EXPECT_EQ(ini.ReadInteger("General", "WinState", -1), 0);
  WriteMainWindowPlacement(ini, {{1, 2, 300, 200}, kWindowMaximized}, 96);
  EXPECT_EQ(ini.ReadInteger("General", "WinState", -1), 2);
  // The keys keep the order in which a new settings file gets them.
  EXPECT_EQ(ini.ReadSection("General"),
            (std::vector<std::string>{"WinState", "WinLeft", "WinTop", "WinWidth", "WinHeight"}));
}

TEST(WindowPlacement, FormPositionDefaultsAndPrefixes) {
  IniFile ini;
  // Nothing stored: the caller's default, main window's corner + 100.
  EXPECT_EQ(ReadFormPos(ini, "StretchDlg", {0, 0, 250, 120}, true, {110, 130, 0, 0}, kFullHd),
            (WindowBounds{110, 130, 250, 120}));
  // The light list window's default size.
  EXPECT_EQ(ReadFormPos(ini, "LtListForm", {0, 0, 50, 50}, false, {110, 130, 300, 300}, kFullHd),
            (WindowBounds{110, 130, 300, 300}));

  WriteFormPos(ini, "LtListForm", {40, 50, 640, 400}, false);
  WriteFormPos(ini, "StretchDlg", {60, 70, 250, 120}, true);
  EXPECT_TRUE(ini.KeyExists("General", "LtListFormWidth"));
  EXPECT_FALSE(ini.KeyExists("General", "StretchDlgWidth"));
  EXPECT_EQ(ReadFormPos(ini, "LtListForm", {0, 0, 50, 50}, false, {1, 1, 300, 300}, kFullHd),
            (WindowBounds{40, 50, 640, 400}));
  // A stored size is used only with default sizes above 0 and for resizable windows.
  EXPECT_EQ(ReadFormPos(ini, "LtListForm", {0, 0, 50, 50}, false, {1, 1, 0, 0}, kFullHd),
            (WindowBounds{40, 50, 50, 50}));
  EXPECT_EQ(ReadFormPos(ini, "LtListForm", {0, 0, 50, 50}, true, {1, 1, 300, 300}, kFullHd),
            (WindowBounds{40, 50, 50, 50}));
  // A zero stored size gives the default size.
  ini.WriteInteger("General", "LtListFormWidth", 0);
  EXPECT_EQ(ReadFormPos(ini, "LtListForm", {}, false, {1, 1, 300, 300}, kFullHd).Width, 300);
}

TEST(WindowPlacement, RoundTripThroughTheSettingsFile) {
  test::TempDir dir;
  const std::string path = dir.File("lumaplot.INI");
  {
    IniFile ini(path);
    WriteMainWindowPlacement(ini, {{120, 80, 1024, 700}, kWindowMaximized}, 96);
    WriteFormPos(ini, "HdrTool", {300, 400, 392, 69}, true);
    WriteFormPos(ini, "LibraryDlg", {200, 150, 500, 420}, false);
    ASSERT_TRUE(ini.Flush());
  }
  IniFile ini(path);
  ASSERT_TRUE(ini.Load());
  EXPECT_EQ(ReadMainWindowPlacement(ini, {}, 1920, 1080, 96, kFullHd),
            (MainWindowPlacement{{120, 80, 1024, 700}, kWindowMaximized}));
  EXPECT_EQ(ReadFormPos(ini, "hdrtool", {0, 0, 392, 69}, true, {0, 0, 0, 0}, kFullHd),
            (WindowBounds{300, 400, 392, 69}));
  EXPECT_EQ(ReadFormPos(ini, "LibraryDlg", {}, false, {0, 0, 1, 1}, kFullHd),
            (WindowBounds{200, 150, 500, 420}));
}

}  // namespace
}  // namespace lumaplot

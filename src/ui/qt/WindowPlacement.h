#pragma once
// Where windows are put when they open and what the settings file keeps of them:
// the plain rules behind RestoreMainWindow, SaveMainWindow, LoadFormPos and
// SaveFormPos (WindowState.h), free of widgets so that they can be tested alone.
// All keys live in section "General": the main window's under "Win" (WinLeft,
// WinTop, WinWidth, WinHeight, WinState), every other window's under its own prefix
// ("LibraryDlg" + "Left", ...). Missing or unreadable keys give the defaults; sizes
// of 0 or less are never used. Pure functions, GUI thread (IniFile is not thread safe).
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

class IniFile;

// A window's outer position and its size, or a screen's available area, in pixels.
struct WindowBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// The stored `WinState`. Minimised is never stored: a minimised window is stored as
// normal.
enum WindowShowState : int { kWindowNormal = 0, kWindowMinimized = 1, kWindowMaximized = 2 };

struct MainWindowPlacement {
  WindowBounds Bounds;  // the normal (not maximised) bounds
  int State = kWindowNormal;
  friend bool operator==(const MainWindowPlacement&, const MainWindowPlacement&) = default;
};

// number * numerator / denominator rounded half away from zero, computed without
// overflow; -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// Moves a window onto the screens. `screens` are the available areas, the primary
// first. With one screen: a window larger than the screen shrinks to it, one that
// sticks out on the right or bottom moves left or up, and its left and top never lie
// before the screen's. With several screens a window is left where it is unless it
// touches none of them (a monitor since unplugged); then it goes onto the primary
// screen as above. No screens: unchanged.
WindowBounds KeepOnScreen(WindowBounds window, const std::vector<WindowBounds>& screens);

// The main window's placement from the settings. `defaultWidth` > 0 and
// `defaultHeight` > 0 enable restoring the size (a stored size is scaled by
// dpi / 96, since sizes are stored at 96 dots per inch); otherwise `current`'s size
// is kept. Without a stored position the window is centred on the primary screen.
MainWindowPlacement ReadMainWindowPlacement(const IniFile& ini, WindowBounds current,
                                            int defaultWidth, int defaultHeight, int dpi,
                                            const std::vector<WindowBounds>& screens);

// Stores the placement; the size is stored scaled by 96 / dpi. A minimised state is
// stored as normal.
void WriteMainWindowPlacement(IniFile& ini, const MainWindowPlacement& placement, int dpi);

// Another window's bounds from the settings under `prefix`. Only a resizable window
// (`fixedSize` false) with both default sizes above 0 takes a stored size; otherwise
// `current`'s size is kept.
WindowBounds ReadFormPos(const IniFile& ini, std::string_view prefix, WindowBounds current,
                         bool fixedSize, WindowBounds defaults,
                         const std::vector<WindowBounds>& screens);

// Stores the position under `prefix`, and the size when the window is resizable.
void WriteFormPos(IniFile& ini, std::string_view prefix, WindowBounds bounds, bool fixedSize);

}  // namespace lumaplot

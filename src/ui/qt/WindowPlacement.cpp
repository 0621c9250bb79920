#include "ui/qt/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "util/IniFile.h"

namespace lumaplot {
namespace {

constexpr std::string_view kGeneralSection = "General";
constexpr int kStoredDpi = 96;

std::string Key(std::string_view prefix, std::string_view name) {
  std::string key(prefix);
  key += name;
  return key;
}

int ReadSize(const IniFile& ini, std::string_view key, int def) {
  const int value = ini.ReadInteger(kGeneralSection, key, def);
  return value > 0 ? value : def;
}

int SafeDpi(int dpi) { return dpi > 0 ? dpi : kStoredDpi; }

bool Touches(const WindowBounds& a, const WindowBounds& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
         b.Top < a.Top + a.Height;
}

// Along one axis: shrink to the screen, pull back from the far edge, then from the
// near edge, so that the window's title side is always reachable.
void Fit(int& start, int& length, int screenStart, int screenLength) {
  length = std::min(length, screenLength);
  if (start + length > screenStart + screenLength) start = screenStart + screenLength - length;
  start = std::max(start, screenStart);
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t divisor = std::llabs(denominator);
  int64_t quotient = (std::llabs(product) + divisor / 2) / divisor;
  if ((product < 0) != (denominator < 0)) quotient = -quotient;
  if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max()) {
    return -1;
  }
  return static_cast<int>(quotient);
}

WindowBounds KeepOnScreen(WindowBounds window, const std::vector<WindowBounds>& screens) {
  if (screens.empty()) return window;
  if (screens.size() > 1 &&
      std::any_of(screens.begin(), screens.end(),
                  [&window](const WindowBounds& screen) { return Touches(window, screen); })) {
    return window;
  }
  const WindowBounds& screen = screens.front();
  Fit(window.Left, window.Width, screen.Left, screen.Width);
  Fit(window.Top, window.Height, screen.Top, screen.Height);
  return window;
}

MainWindowPlacement ReadMainWindowPlacement(const IniFile& ini, WindowBounds current,
                                            int defaultWidth, int defaultHeight, int dpi,
                                            const std::vector<WindowBounds>& screens) {
  MainWindowPlacement placement;
  WindowBounds& bounds = placement.Bounds;
  bounds = current;
  // Only a stored size is scaled: the defaults come from the screen in today's pixels.
  if (defaultWidth > 0) {
    const int stored = ReadSize(ini, "WinWidth", 0);
    bounds.Width = stored > 0 ? MulDiv(stored, SafeDpi(dpi), kStoredDpi) : defaultWidth;
  }
  if (defaultHeight > 0) {
    const int stored = ReadSize(ini, "WinHeight", 0);
    bounds.Height = stored > 0 ? MulDiv(stored, SafeDpi(dpi), kStoredDpi) : defaultHeight;
  }
  // Centred with the size the window is about to get, not the size it has now.
  const WindowBounds primary = screens.empty() ? WindowBounds{} : screens.front();
  bounds.Left = ini.ReadInteger(kGeneralSection, "WinLeft",
                                primary.Left + (primary.Width - bounds.Width) / 2);
  bounds.Top = ini.ReadInteger(kGeneralSection, "WinTop",
                               primary.Top + (primary.Height - bounds.Height) / 2);
  bounds = KeepOnScreen(bounds, screens);
  const int state = ini.ReadInteger(kGeneralSection, "WinState", kWindowNormal);
  placement.State = state == kWindowMaximized ? kWindowMaximized : kWindowNormal;
  return placement;
}

void WriteMainWindowPlacement(IniFile& ini, const MainWindowPlacement& placement, int dpi) {
  const WindowBounds& bounds = placement.Bounds;
  const int state = placement.State == kWindowMaximized ? kWindowMaximized : kWindowNormal;
  ini.WriteInteger(kGeneralSection, "WinState", state);
  ini.WriteInteger(kGeneralSection, "WinLeft", bounds.Left);
  ini.WriteInteger(kGeneralSection, "WinTop", bounds.Top);
  ini.WriteInteger(kGeneralSection, "WinWidth", MulDiv(bounds.Width, kStoredDpi, SafeDpi(dpi)));
  ini.WriteInteger(kGeneralSection, "WinHeight", MulDiv(bounds.Height, kStoredDpi, SafeDpi(dpi)));
}

WindowBounds ReadFormPos(const IniFile& ini, std::string_view prefix, WindowBounds current,
                         bool fixedSize, WindowBounds defaults,
                         const std::vector<WindowBounds>& screens) {
  WindowBounds bounds = current;
  bounds.Left = ini.ReadInteger(kGeneralSection, Key(prefix, "Left"), defaults.Left);
  bounds.Top = ini.ReadInteger(kGeneralSection, Key(prefix, "Top"), defaults.Top);
  if (defaults.Width > 0 && defaults.Height > 0 && !fixedSize) {
    bounds.Width = ReadSize(ini, Key(prefix, "Width"), defaults.Width);
    bounds.Height = ReadSize(ini, Key(prefix, "Height"), defaults.Height);
  }
  return KeepOnScreen(bounds, screens);
}

void WriteFormPos(IniFile& ini, std::string_view prefix, WindowBounds bounds, bool fixedSize) {
  ini.WriteInteger(kGeneralSection, Key(prefix, "Left"), bounds.Left);
  ini.WriteInteger(kGeneralSection, Key(prefix, "Top"), bounds.Top);
  if (fixedSize) return;
  ini.WriteInteger(kGeneralSection, Key(prefix, "Width"), bounds.Width);
  ini.WriteInteger(kGeneralSection, Key(prefix, "Height"), bounds.Height);
}

}  // namespace lumaplot

#pragma once
// Storing and restoring the position, size and state of windows in the settings file
// (section "General"; the rules and key names are in WindowPlacement.h).
// The main window uses RestoreMainWindow when it is first shown and SaveMainWindow
// when it closes; every other window uses LoadFormPos/SaveFormPos with its name as
// the key prefix ("LibraryDlg", "LtListForm", ...). Positions are the outer (frame)
// top-left corner as QWidget::pos() gives it; sizes are the client size.
// A window whose size is fixed (minimum size = maximum size, like a dialog with a
// dialog border) keeps its size: only its position is stored and restored.
// The IniFile is only changed in memory; the caller flushes it. GUI thread only.
#include <string_view>

class QWidget;

namespace lumaplot {

class IniFile;

// Size (stored at 96 dots per inch, scaled to the window's logical dots per inch) and
// position from WinWidth, WinHeight, WinLeft, WinTop; maximised when WinState is 2.
// The size is restored only when the defaults are above 0; start-up passes the
// screen's available width and height.
void RestoreMainWindow(QWidget* form, const IniFile& ini, int defaultWidth, int defaultHeight);

// Stores the normal (not maximised) bounds and WinState (2 maximised or full screen,
// otherwise 0). The window itself is left as it is.
void SaveMainWindow(const QWidget* form, IniFile& ini);

// Position from prefix + "Left"/"Top" (defaults `defaultLeft`, `defaultTop`); a
// resizable window also takes prefix + "Width"/"Height" when both defaults are
// above 0. The window is then kept on the screen.
void LoadFormPos(const IniFile& ini, std::string_view prefix, QWidget* form, int defaultLeft,
                 int defaultTop, int defaultWidth, int defaultHeight);

// Stores prefix + "Left"/"Top", and "Width"/"Height" for a resizable window.
void SaveFormPos(IniFile& ini, std::string_view prefix, const QWidget* form);

}  // namespace lumaplot

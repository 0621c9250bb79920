#pragma once
// The commands of the main window, declared in one table: name, caption, category,
// built-in shortcut, hint, tool image, when the command is enabled (and checked),
// and what it runs. The main window makes one QAction per line, in table order,
// reads and writes each shortcut in the settings section "ShortCut" under the name +
// "Item", and re-evaluates the rules after every command and on every refresh
// tick. The options dialog lists the commands in this order with their categories.
// A new command is one more line here and a public handler of TLumaplotForm.
// GUI thread only.
#include <span>
#include <string_view>

namespace lumaplot {

class TLumaplotForm;

struct TActionSpec {
  const char* Name;      // "FileOpen"; the QAction's objectName
  const char* Caption;   // menu text, with "&" before the access key
  const char* Category;  // "ファイル", "表示", ...
  const char* ShortCut;  // built-in shortcut as shortcut text ("Ctrl+O"), "" for none
  const char* Hint;      // tool tip and status tip, "" for none
  const char* Icon;      // ":/tools/open.svg", "" for none
  bool (*Enabled)(const TLumaplotForm& form);
  bool (*Checked)(const TLumaplotForm& form);  // nullptr: not a checkable command
  void (*Execute)(TLumaplotForm& form);
};

std::span<const TActionSpec> MainActionTable();

// The line of `name`, or nullptr.
const TActionSpec* FindActionSpec(std::string_view name);

// Which commands each menu lists, by name, "-" for a separator.
struct TMenuSpec {
  const char* Name;     // objectName of the menu
  const char* Caption;  // "ファイル(&F)"
  std::span<const char* const> Items;
};

// The menu bar, in order. Items beginning with "@" are filled by the main window
// itself: the View menu's tool bar and tab sub-menus, the window menu's documents.
std::span<const TMenuSpec> CommandMenus();

// The commands of the tab pop-up menu and of tool bar 1.
std::span<const char* const> TabPopupItems();
std::span<const char* const> StandardToolItems();

}  // namespace lumaplot

#pragma once
// The commands of the main window, declared in one table: id, name, caption,
// category, built-in shortcut, hint, tool image, when the command is enabled (and
// checked), and what it runs. The main window makes one QAction per line, in table
// order; it reads and writes each shortcut in the settings section "ShortCut" under
// the name + "Item", and re-evaluates the rules after every command and on every
// refresh tick. The options dialog lists the commands in this order with their
// categories.
//
// A new command is one more id in ActionId.h, one more line here, and a handler in
// commands/ (a free function over TCommandContext) for its menu. Its enabling rule
// is one of the named rules of commands/CommandRules.h. GUI thread only.
#include <span>
#include <string_view>

#include "ui/main/ActionId.h"

namespace lumaplot {

struct TCommandContext;

struct TActionSpec {
  TActionId Id;
  const char* Name;      // "FileOpen": the settings key and the QAction's objectName
  const char* Caption;   // menu text, with "&" before the access key
  const char* Category;  // "ファイル", "表示", ...
  const char* ShortCut;  // built-in shortcut as shortcut text ("Ctrl+O"), "" for none
  const char* Hint;      // tool tip and status tip, "" for none
  const char* Icon;      // ":/tools/open.svg", "" for none
  bool (*Enabled)(const TCommandContext& context);
  bool (*Checked)(const TCommandContext& context);  // nullptr: not a checkable command
  void (*Execute)(TCommandContext& context);
};

// Every line, in the order of TActionId.
std::span<const TActionSpec> MainActionTable();
const TActionSpec& ActionSpec(TActionId id);

// One entry of a menu or a tool bar: a command, a separator, or a place the main
// window fills itself (the View menu's tool bar and tab sub-menus, the window
// menu's documents).
struct TMenuEntry {
  enum Kind { Command, Separator, ToolBarsMenu, TabsMenu, DocumentItems };
  Kind What = Command;
  TActionId Id = TActionId::Count;
};

struct TMenuSpec {
  const char* Name;     // objectName of the menu
  const char* Caption;  // "ファイル(&F)"
  std::span<const TMenuEntry> Items;
};

// The menu bar, in order.
std::span<const TMenuSpec> CommandMenus();
// The tab pop-up menu and the commands of tool bars 1 (standard) and 2 (modes).
std::span<const TMenuEntry> TabPopupItems();
std::span<const TMenuEntry> StandardToolItems();
std::span<const TMenuEntry> ModeToolItems();
// The canvas pop-up menu (`PopupMenu1`), opened by the right button in normal mode.
std::span<const TMenuEntry> CanvasPopupItems();

}  // namespace lumaplot

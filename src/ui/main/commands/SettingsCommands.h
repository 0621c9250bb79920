#pragma once
// The Option menu's settings dialogs: the options of the program and the screen
// settings of the current document, with what the window re-applies after them.
// GUI thread only.
#include <vector>

#include "ui/dialogs/OptionDlg.h"

namespace lumaplot {

struct TCommandContext;

// The options dialog; after OK the channel lists, the tab look, COM1, the
// presentation and (by the busy bracket) the refresh interval follow the settings.
void OptSetupItemClick(TCommandContext& context);
// The screen settings of the current document; the page is laid out and painted anew.
void OptScreenExecute(TCommandContext& context);

// Every command of the action table with the window's action for it, in table order,
// as the options dialog's shortcut page edits them.
std::vector<TShortCutCommand> ShortCutCommands(TCommandContext& context);

}  // namespace lumaplot

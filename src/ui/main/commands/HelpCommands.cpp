#include "ui/main/commands/HelpCommands.h"

#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/qt/HelpPages.h"

namespace lumaplot {

void HelpContentsExecute(TCommandContext&) { ShowHelpContents(); }

void HelpAbautItemClick(TCommandContext& context) {
  TBusyBracket busy(context.Host);
  context.Dialogs.Get<TAboutBox>().exec();
}

}  // namespace lumaplot

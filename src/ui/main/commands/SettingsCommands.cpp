#include "ui/main/commands/SettingsCommands.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

#include "ui/dialogs/DialogHost.h"
#include "ui/dialogs/OptScrDlg.h"
#include "ui/main/MainActions.h"
#include "ui/main/TabControl.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

std::vector<TShortCutCommand> ShortCutCommands(TCommandContext& context) {
  std::vector<TShortCutCommand> commands;
  QWidget* window = context.Host.Window();
  for (const TActionSpec& entry : MainActionTable()) {
    // The window names each of its actions after its table line.
    auto* action = window->findChild<QAction*>(entry.Name, Qt::FindDirectChildrenOnly);
    if (!action) continue;
    commands.push_back({QString::fromUtf8(entry.Name), QString::fromUtf8(entry.Caption),
                        QString::fromUtf8(entry.Category), action});
  }
  return commands;
}

void OptSetupItemClick(TCommandContext& context) {
  TOptionDlg& dialog = context.Dialogs.Get<TOptionDlg>();
  dialog.SetCommands(ShortCutCommands(context));
  {
    TBusyBracket busy(context.Host);
    if (dialog.exec() == QDialog::Accepted) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      TAppCore& core = context.Core;
      const TEnvData& env = core.Env();
      context.Host.UpdateChannelLists();
      context.Tabs.SetTabLook(env.TabStyle, env.TabMultiLine, env.TabWidth);
      core.OpenCom1();
      core.ApplyPresentationSettings();
      // The channel form may have changed, which every list of lights shows.
      context.Host.ObjectsChanged();
      QApplication::restoreOverrideCursor();
    }
  }  // the end of the bracket starts the refresh timer with the new interval
  context.Host.FullRefresh();
}

void OptScreenExecute(TCommandContext& context) {
  if (!context.Doc()) return;
  {
    TBusyBracket busy(context.Host);
    context.Dialogs.Get<TOptScrDlg>().exec();
  }
  // Lays the view out for the page size and repaints the page.
  context.Host.FullRefresh();
}

}  // namespace lumaplot

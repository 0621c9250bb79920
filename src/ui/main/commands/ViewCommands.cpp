#include "ui/main/commands/ViewCommands.h"

#include "ui/main/MainBars.h"
#include "ui/main/TabControl.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

void ShowSttBarItemClick(TCommandContext& context) {
  context.Bars.SetStatusBarVisible(!context.Bars.StatusBarVisible());
}

bool StatusBarShown(const TCommandContext& context) { return context.Bars.StatusBarVisible(); }

void ShowRepaintItemClick(TCommandContext& context) { context.Host.FullRefresh(); }

void ShowToolItemClick(TCommandContext& context, int tag) { context.Bars.ToggleToolBar(tag); }

void ShowAllToolItemClick(TCommandContext& context) { context.Bars.ToggleControlBar(); }

void ShowTabItemClick(TCommandContext& context, int tag) {
  if (tag == 0) {
    context.Tabs.SetTabsVisible(false);
    return;
  }
  context.Tabs.SetTabPosition(tag - 1);
  context.Tabs.SetTabsVisible(true);
}

}  // namespace lumaplot

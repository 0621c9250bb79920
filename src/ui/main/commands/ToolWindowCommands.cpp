#include "ui/main/commands/ToolWindowCommands.h"

#include <QScrollBar>

#include "ui/dialogs/DialogHost.h"
#include "ui/dialogs/HdrToolFrm.h"
#include "ui/dialogs/LtListForm.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

TLtListForm& LightListWindow(TCommandContext& context) {
  TLtListForm& list = context.Dialogs.Get<TLtListForm>();
  if (!list.MainBusy) {
    // The context lives as long as the main window, which owns the list window.
    TCommandContext* main = &context;
    list.MainBusy = [main] { return main->Host.Busy(); };
    list.CentreOnLight = [main](TLightCell&) { ShowPrimary(*main); };
    list.RepaintMain = [main] { main->Host.FullRefresh(); };
  }
  return list;
}

void ShowListItemClick(TCommandContext& context) {
  TLtListForm& list = LightListWindow(context);
  if (list.isVisible()) {
    list.close();
    context.Host.FullRefresh();
    return;
  }
  list.show();
}

bool LightListShown(const TCommandContext& context) {
  const TLtListForm* list = context.Dialogs.Find<TLtListForm>();
  return list != nullptr && list->isVisible();
}

void ToolHdrActionExecute(TCommandContext& context) {
  THdrToolFrm& recorder = context.Dialogs.Get<THdrToolFrm>();
  recorder.show();
  recorder.raise();
  recorder.activateWindow();
}

void ShowPrimary(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (!doc || !doc->Primary) return;
  const TLightCell& primary = *doc->Primary;
  const QWidget* area = context.View.viewport();
  context.View.horizontalScrollBar()->setValue(primary.X1 - area->width() / 2);
  context.View.verticalScrollBar()->setValue(primary.Y1 - area->height() / 2);
  context.Host.FullRefresh();
  if (TLtListForm* list = context.Dialogs.Find<TLtListForm>(); list && list->isVisible()) {
    list->SelectLight(doc->Primary);
  }
}

}  // namespace lumaplot

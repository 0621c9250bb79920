#include "ui/main/commands/WindowCommands.h"

#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

void ChgActDataExecute(TCommandContext& context, int tag) {
  if (tag < 0 || tag >= context.Core.Documents().Count()) return;
  {
    TBusyBracket busy(context.Host);
    context.Core.Documents().SetCurrent(tag);
  }
  context.Host.FullRefresh();
}

}  // namespace lumaplot

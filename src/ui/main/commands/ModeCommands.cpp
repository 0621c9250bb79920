#include "ui/main/commands/ModeCommands.h"

#include "ui/main/commands/CommandContext.h"
#include "ui/main/tools/ToolManager.h"

namespace lumaplot {

void ModeNormalExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Normal); }

bool NormalModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Normal;
}

}  // namespace lumaplot

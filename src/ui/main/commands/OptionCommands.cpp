#include "ui/main/commands/OptionCommands.h"

#include "ui/main/MainBars.h"
#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

void OptTestModeExecute(TCommandContext& context) {
  if (!context.Doc()) return;
  TArtnetThread& engine = context.Core.Engine();
  const bool on = !engine.TestMode;
  engine.TestMode = on;
  context.Bars.SetTestFaderWanted(TestFaderWanted(context));
  // The engine clears its levels at its next cycle, so the lights fall back to what
  // is received.
  if (!on) engine.ClearRequest = true;
}

bool InTestMode(const TCommandContext& context) { return context.Core.Engine().TestMode; }

void OptInhMoveExecute(TCommandContext& context) {
  TStageData* doc = context.Doc();
  if (!doc) return;
  doc->InhibitMove = !doc->InhibitMove;
  doc->Modified = true;
  context.Host.FullRefresh();
}

bool MoveInhibited(const TCommandContext& context) {
  return context.Doc() != nullptr && context.Doc()->InhibitMove;
}

bool TestFaderWanted(const TCommandContext& context) {
  return context.Core.Engine().TestMode && context.Core.Env().DebugMode == 1;
}

}  // namespace lumaplot

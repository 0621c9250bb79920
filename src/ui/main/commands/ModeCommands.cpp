#include "ui/main/commands/ModeCommands.h"

#include <QComboBox>

#include "dmx/ArtnetPackets.h"
#include "model/FreeChannel.h"
#include "ui/main/MainBars.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/main/tools/ToolManager.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {

void ModeNormalExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Normal); }
void ModeAddExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Add); }
void ModeTextExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Text); }
void ModeLineExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Line); }
void ModeShapeExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Shape); }
void ModeDelExecute(TCommandContext& context) { context.Tools.Activate(TToolMode::Del); }

bool NormalModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Normal;
}
bool AddModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Add;
}
bool TextModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Text;
}
bool LineModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Line;
}
bool ShapeModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Shape;
}
bool DelModeActive(const TCommandContext& context) {
  return context.Tools.ActiveMode() == TToolMode::Del;
}

void LastChBtnClick(TCommandContext& context) {
  const TStageData* doc = context.Doc();
  const int ports = context.Core.Engine().InCount();
  if (!doc || ports <= 0) return;
  const int free = FirstFreeChannel(*doc, kDmxChannels * ports);
  if (free < 0) {
    context.Prompts.Warning("空チャンネルがありません", {});
    return;
  }
  context.Bars.ChCombo()->setCurrentIndex(free);
}

}  // namespace lumaplot

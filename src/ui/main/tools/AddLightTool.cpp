#include "ui/main/tools/AddLightTool.h"

#include <QComboBox>

#include "dmx/ArtnetPackets.h"
#include "model/MouseEdit.h"
#include "model/Selection.h"
#include "ui/main/MainBars.h"
#include "ui/main/tools/ToolSupport.h"
#include "ui/qt/ChannelLists.h"
#include "ui/qt/Cursors.h"
#include "ui/qt/Prompts.h"
#include "util/ChannelText.h"

namespace lumaplot {

void TAddLightTool::Activate() {
  if (TStageData* doc = context_.Doc()) SelectAll(*doc, false);
  QComboBox* types = context_.Bars.LightCombo();
  FillLightCombo(types, context_.Core.Library());
  const int found = types->findText(QString::fromStdString(context_.Edit.AddTemplate.Fixture.Name));
  types->setCurrentIndex(found >= 0 ? found : 0);
  types->setEnabled(true);
  context_.Bars.ChCombo()->setEnabled(true);
  context_.Edit.AddLatch = false;
}

QCursor TAddLightTool::Cursor() const { return ToolCursor(TToolCursor::AddTool); }

int TAddLightTool::SelectedStartChannel() const {
  const QComboBox* channels = context_.Bars.ChCombo();
  const int named = ParseChannelName(channels->currentText().toStdString(), kStageChannels);
  return named >= 0 ? named : channels->currentIndex();
}

void TAddLightTool::Press(const TToolEvent& event) {
  TStageData* doc = EditableDoc(context_);
  if (!doc || event.Button != Qt::LeftButton) return;
  QComboBox* types = context_.Bars.LightCombo();
  if (const TLightCell* hit = ObjectUnder(*doc, event.X, event.Y); hit && hit->Kind == KindLight) {
    const int found = types->findText(QString::fromStdString(hit->Fixture.Name));
    if (found >= 0) types->setCurrentIndex(found);
    return;
  }
  const TEnvData& env = context_.Core.Env();
  const int ports = context_.Core.Engine().InCount();
  const int start = SelectedStartChannel();
  const TAddedLight added = AddLightFromTemplate(
      *doc, context_.Edit.AddTemplate, context_.Core.Library(),
      types->currentIndex() >= 0 ? types->currentText().toStdString() : std::string(), start,
      kDmxChannels * ports, event.X, event.Y, env.SnapGrid ? env.GridSize : 0);
  if (added.Result == TAddedLight::Refused) {
    context_.Prompts.Warning("チャンネル範囲がオーバーします", {});
    return;
  }
  doc->Modified = true;
  context_.Host.ObjectsChanged();
  if (added.Result == TAddedLight::Added) {
    context_.Bars.ChCombo()->setCurrentIndex(added.NextChannel);
  } else {
    context_.Prompts.Warning("最終チャンネルに達しました", {});
  }
}

void TAddLightTool::Move(const TToolEvent& event) {
  const TLightCell* hit = ObjectUnder(*context_.Doc(), event.X, event.Y);
  SetPageCursor(context_, hit && hit->Kind == KindLight ? QCursor(Qt::ArrowCursor) : Cursor());
}

}  // namespace lumaplot

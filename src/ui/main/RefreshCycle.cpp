// The refresh cycle of the main window: each tick carries the current document's
// levels into its lights and redraws the lights that changed, rewrites the status
// panels, takes the test fader and follows the COM1 document switch. Also the test
// mode and move inhibition commands and the tool bars' channel and type lists.
#include <QComboBox>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include <mutex>

#include "model/LightPresentation.h"
#include "model/ObjectDrawing.h"
#include "ui/main/ChannelLists.h"
#include "ui/main/FormTexts.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "util/ChannelText.h"

namespace lumaplot {

void TLumaplotForm::Timer1Timer() {
  if (CurrentDoc_) {
    {
      std::lock_guard lock(EnvData_->LevelLock);
      UpdateLights(*CurrentDoc_);
    }
    DrawAll(*CurrentDoc_, true, false, false);
    ScrollBox_->ScrBox()->ShowDrawn();
  }
  SetStatusText(1, SignalStatusText(SignalStateOf(*Engine_, Recorder_.get())));
  if (!DrawingLine) SetStatusText(2, SelectionStatusText(CurrentDoc_, EnvData_->DmxChMode == 0));
  const bool faderShown = !debugToolBar_->isHidden();
  EnvData_->TestLevel = EnvData_->DebugMode == 1 && faderShown ? DebugBar_->value() : 0;
  ReadCom1Switch();
  UpdateActions();
}

void TLumaplotForm::ReadCom1Switch() {
  if (!Com1Open()) return;
  ModemStatus status;
  if (!Com1_->ReadStatus(status) || status == LastModemStatus_) return;
  LastModemStatus_ = status;
  // The first line that is on chooses the document; a line held on does nothing more.
  const int index = status.Cts ? 0 : status.Dsr ? 1 : status.Ring ? 2 : status.Rlsd ? 3 : -1;
  QTabBar* tabs = TabControl1_->Tabs();
  if (index < 0 || index >= tabs->count()) return;
  {
    const QSignalBlocker quiet(tabs);
    tabs->setCurrentIndex(index);
  }
  TabControl1Change();
}

void TLumaplotForm::OptTestModeExecute() {
  if (!CurrentDoc_) return;
  const bool on = !Engine_->TestMode;
  Engine_->TestMode = on;
  Action("OptTestMode")->setChecked(on);
  if (EnvData_->DebugMode == 1) ApplyToolBarVisibility();
  // The engine clears its levels at its next cycle, so the lights fall back to what
  // is received.
  if (!on) Engine_->ClearRequest = true;
}

void TLumaplotForm::OptInhMoveExecute() {
  if (!CurrentDoc_) return;
  CurrentDoc_->InhibitMove = !CurrentDoc_->InhibitMove;
  CurrentDoc_->Modified = true;
  ShowRepaintItemClick();
}

void TLumaplotForm::UpdateChannelLists() {
  const bool letterForm = EnvData_->DmxChMode == 0;
  const QString firstName = QString::fromStdString(ChannelName(0, letterForm));
  const bool rebuild = ChCombo_->count() == 0 || ChCombo_->itemText(0) != firstName;
  if (rebuild) {
    const QStringList names = ChannelNames(letterForm);
    ChCombo_->clear();
    ChCombo_->addItems(names);
    if (CurrentDoc_ && Engine_->InCount() > 0) {
      const int free = FirstFreeChannel(*CurrentDoc_, 512 * Engine_->InCount());
      if (free >= 0) ChCombo_->setCurrentIndex(free);
    }
  }
  // "All" stays first, ahead of the sorted type names, so that it is the default.
  FindMaskCombo_->clear();
  FindMaskCombo_->addItem("All");
  FindMaskCombo_->addItems(SortedTypeNames(*LightLib_));
  FindMaskCombo_->setCurrentIndex(0);
  if (rebuild) {
    FindChCombo_->clear();
    FindChCombo_->addItems(ChannelNames(letterForm));
    FindChCombo_->addItem("All");
    FindChCombo_->setCurrentIndex(0);
  }
}

}  // namespace lumaplot

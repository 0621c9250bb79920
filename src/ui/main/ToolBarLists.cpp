#include "ui/main/ToolBarLists.h"

#include <QComboBox>

#include "core/AppCore.h"
#include "dmx/ArtnetPackets.h"
#include "model/FreeChannel.h"
#include "ui/main/MainBars.h"
#include "ui/qt/ChannelLists.h"
#include "util/ChannelText.h"

namespace lumaplot {

void UpdateChannelLists(TMainBars& bars, TAppCore& core) {
  const bool letterForm = core.Env().DmxChMode == 0;
  QComboBox* startChannels = bars.ChCombo();
  const QString firstName = QString::fromStdString(ChannelName(0, letterForm));
  const bool rebuild = startChannels->count() == 0 || startChannels->itemText(0) != firstName;
  if (rebuild) {
    const QStringList names = ChannelNames(letterForm);
    startChannels->clear();
    startChannels->addItems(names);
    const int ports = core.Engine().InCount();
    if (core.CurrentDoc() && ports > 0) {
      const int free = FirstFreeChannel(*core.CurrentDoc(), kDmxChannels * ports);
      if (free >= 0) startChannels->setCurrentIndex(free);
    }
    QComboBox* findChannels = bars.FindChCombo();
    findChannels->clear();
    findChannels->addItems(names);
    findChannels->addItem("All");
    findChannels->setCurrentIndex(0);
  }
  // "All" stays first, ahead of the sorted type names, so that it is the default.
  QComboBox* findTypes = bars.FindMaskCombo();
  findTypes->clear();
  findTypes->addItem("All");
  findTypes->addItems(SortedTypeNames(core.Library()));
  findTypes->setCurrentIndex(0);
}

}  // namespace lumaplot

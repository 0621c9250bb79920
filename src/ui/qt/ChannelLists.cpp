#include "ui/qt/ChannelLists.h"

#include <QComboBox>

#include "util/ChannelText.h"

namespace lumaplot {

QStringList SortedTypeNames(const TLightLib& library) {
  QStringList list;
  for (const std::string& name : library.SortedNames()) list << QString::fromStdString(name);
  return list;
}

void FillLightCombo(QComboBox* combo, const TLightLib& library) {
  combo->clear();
  combo->addItems(SortedTypeNames(library));
}

QStringList ChannelNames(bool letterForm) {
  QStringList names;
  names.reserve(kStageChannels);
  for (int channel = 0; channel < kStageChannels; ++channel) {
    names << QString::fromStdString(ChannelName(channel, letterForm));
  }
  return names;
}

}  // namespace lumaplot

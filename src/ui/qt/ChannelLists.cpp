#include "ui/qt/ChannelLists.h"

#include <QComboBox>

#include <algorithm>
#include <vector>

#include "util/ChannelText.h"

namespace lumaplot {

QStringList SortedTypeNames(const TLightLib& library) {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(library.Items.Count()));
  for (int i = 0; i < library.Items.Count(); ++i) names.push_back(library.Items[i].Name);
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareNamesNoCase(a, b) < 0;
  });
  QStringList list;
  list.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string& name : names) list << QString::fromStdString(name);
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

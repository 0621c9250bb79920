#pragma once
// The lists of the main window's tool bars: fixture type names and channel names,
// and the first channel no object of a document uses. GUI thread only.
#include <QStringList>

#include "model/LightLib.h"
#include "model/StageData.h"

class QComboBox;

namespace lumaplot {

// The names of every type of `library`, sorted without regard to letter case, as
// the sorted type lists show them.
QStringList SortedTypeNames(const TLightLib& library);

// Replaces the items of `combo` by SortedTypeNames(library).
void FillLightCombo(QComboBox* combo, const TLightLib& library);

// ChannelName(0) … ChannelName(4095) in the letter ("A001") or number ("1") form.
QStringList ChannelNames(bool letterForm);

// The lowest channel below `limit` that lies in no object's range [StartCh,
// StartCh + Channels), every object counting whatever its kind; -1 when every
// channel is taken.
int FirstFreeChannel(const TStageData& doc, int limit);

}  // namespace lumaplot

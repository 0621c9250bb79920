#pragma once
// The lists of fixture type names and channel names that tool bars and dialogs
// show. GUI thread only.
#include <QStringList>

#include "model/LightLib.h"
#include "model/StageData.h"

class QComboBox;

namespace lumaplot {

// The names of every type of `library` in the order of every sorted type list
// (TLightLib::SortedNames).
QStringList SortedTypeNames(const TLightLib& library);

// Replaces the items of `combo` by SortedTypeNames(library).
void FillLightCombo(QComboBox* combo, const TLightLib& library);

// ChannelName(0) … ChannelName(4095) in the letter ("A001") or number ("1") form.
QStringList ChannelNames(bool letterForm);

}  // namespace lumaplot

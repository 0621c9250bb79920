#pragma once
// The lists of the tool bars: the start channels and types of lights to add, and the
// type and channel to find. GUI thread only.
namespace lumaplot {

class TAppCore;
class TMainBars;

// Refills the lists from the library and the channel form (`DmxChMode`). The channel
// lists are rebuilt only when they are empty or the form changed; after a rebuild the
// start channel is the current document's first free one.
void UpdateChannelLists(TMainBars& bars, TAppCore& core);

}  // namespace lumaplot

#include "ui/main/commands/LightListLink.h"

#include "ui/main/commands/CommandContext.h"

namespace lumaplot {

// The light list window selects the row of `cell` here while it is visible.
void ShowInLightList(TCommandContext&, TLightCell*) {}

}  // namespace lumaplot

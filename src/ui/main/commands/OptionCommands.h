#pragma once
// The Option menu: the test mode and holding the current document's objects in place.
// GUI thread only.
namespace lumaplot {

struct TCommandContext;

void OptTestModeExecute(TCommandContext& context);
bool InTestMode(const TCommandContext& context);
void OptInhMoveExecute(TCommandContext& context);
bool MoveInhibited(const TCommandContext& context);

// Whether the test fader should be on screen: test mode in debug mode 1.
bool TestFaderWanted(const TCommandContext& context);

}  // namespace lumaplot

#pragma once
// The mode commands of tool bar 2: which mouse tool edits the page. GUI thread only.
namespace lumaplot {

struct TCommandContext;

void ModeNormalExecute(TCommandContext& context);
bool NormalModeActive(const TCommandContext& context);

}  // namespace lumaplot

#pragma once
// The Help menu: the help pages and the about box. GUI thread only.
namespace lumaplot {

struct TCommandContext;

void HelpContentsExecute(TCommandContext& context);
void HelpAbautItemClick(TCommandContext& context);

}  // namespace lumaplot

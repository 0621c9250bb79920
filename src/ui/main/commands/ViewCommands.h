#pragma once
// The View menu: the status bar, the tool bars, the tabs and the full repaint.
// GUI thread only.
namespace lumaplot {

struct TCommandContext;

void ShowSttBarItemClick(TCommandContext& context);
bool StatusBarShown(const TCommandContext& context);
void ShowRepaintItemClick(TCommandContext& context);
// Tool bar `tag` (0 standard, 1 modes, 2 find) shown or hidden.
void ShowToolItemClick(TCommandContext& context, int tag);
// The control bar (every tool bar) shown or hidden.
void ShowAllToolItemClick(TCommandContext& context);
// `tag` 0 hides the tabs; 1 … 4 shows them on top, bottom, left or right.
void ShowTabItemClick(TCommandContext& context, int tag);

}  // namespace lumaplot

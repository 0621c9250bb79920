#pragma once
// The tool windows of the main window: the light list (View menu, "灯体一覧(&L)")
// and the recorder window (Tools menu, "HDレコーダ(&R)"), and the main window's side
// of the light list: going to a light centres the plot on it. GUI thread only.
namespace lumaplot {

struct TCommandContext;
class TLtListForm;

// Closes the light list window (then the full refresh) when it is shown, else shows it.
void ShowListItemClick(TCommandContext& context);
// The light list window is shown (the check mark of ShowList).
bool LightListShown(const TCommandContext& context);
// Shows the recorder window (brings it to the front when it is shown already).
void ToolHdrActionExecute(TCommandContext& context);

// The light list window, made on first use, with the main window's side connected:
// the busy state, centring the plot on a light and the full refresh.
TLtListForm& LightListWindow(TCommandContext& context);

// Shows the current document's primary object: the view scrolls so that its X1, Y1
// is at the centre, the full refresh follows, and the light list (when shown)
// selects its row.
void ShowPrimary(TCommandContext& context);

}  // namespace lumaplot

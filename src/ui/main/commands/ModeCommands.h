#pragma once
// The mode commands of tool bar 2: which mouse tool edits the page; and the button
// beside the channel list that picks the first free channel. GUI thread only.
namespace lumaplot {

struct TCommandContext;

void ModeNormalExecute(TCommandContext& context);
void ModeAddExecute(TCommandContext& context);
void ModeTextExecute(TCommandContext& context);
void ModeLineExecute(TCommandContext& context);
void ModeShapeExecute(TCommandContext& context);
void ModeDelExecute(TCommandContext& context);

bool NormalModeActive(const TCommandContext& context);
bool AddModeActive(const TCommandContext& context);
bool TextModeActive(const TCommandContext& context);
bool LineModeActive(const TCommandContext& context);
bool ShapeModeActive(const TCommandContext& context);
bool DelModeActive(const TCommandContext& context);

// `LastChBtn` "↓": the channel list shows the current document's first free channel
// (every object's channels count, whatever its kind); a warning when none is free.
void LastChBtnClick(TCommandContext& context);

}  // namespace lumaplot

#pragma once
// Where editing on the page tells the light list window what it needs to follow
// besides the objects changing (TCommandHost::ObjectsChanged): the object the user
// just picked alone on the page, whose row the list shows. GUI thread only.
namespace lumaplot {

struct TCommandContext;
struct TLightCell;

// `cell` became the only selected object by a click on the page.
void ShowInLightList(TCommandContext& context, TLightCell* cell);

}  // namespace lumaplot

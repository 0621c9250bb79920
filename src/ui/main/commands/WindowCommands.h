#pragma once
// The Window menu: switching to document `tag` (0 … 19). GUI thread only.
namespace lumaplot {

struct TCommandContext;

// Makes document `tag` current, in the busy bracket, then the full refresh; a tag
// past the open documents does nothing.
void ChgActDataExecute(TCommandContext& context, int tag);

}  // namespace lumaplot

#pragma once
// The enabling rules of the main window's commands, one function per rule, shared
// by every command that follows it. GUI thread only.
namespace lumaplot {

struct TCommandContext;

bool Always(const TCommandContext& context);
// A document is current.
bool HasDocument(const TCommandContext& context);
// Another document may be opened or created.
bool BelowDocumentLimit(const TCommandContext& context);
// A current document that was not read from a read-only file.
bool Editable(const TCommandContext& context);
// Editable, and its objects are not held in place.
bool Movable(const TCommandContext& context);
// The current document has selected objects.
bool HasSelection(const TCommandContext& context);

}  // namespace lumaplot

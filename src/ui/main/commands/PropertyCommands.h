#pragma once
// The one way to the property dialogs of the objects of the current document: the
// double-click on the page, the text and shape modes, and the properties command of
// the edit menu and of the light list window all come through here. GUI thread only.
#include <cstdint>

namespace lumaplot {

struct TCommandContext;

// True for the kinds that have a property dialog: shape, line, text, light.
bool HasPropertyDialog(int32_t kind);

// Shows the property dialog of `kind` for the page point (x, y) modally; the dialog
// decides what it edits there (one object, the selected objects of the kind, or a
// new text or shape). Without an editable document, for a
// kind without a dialog, or with nothing to edit, nothing is shown. After OK the
// document is marked modified and the window hears that its objects changed; the
// caller repaints. Returns whether the dialog ended with OK.
bool ShowObjectProperties(TCommandContext& context, int32_t kind, int x, int y);

}  // namespace lumaplot

#pragma once
// The program's shortcut integers (ShortCutText.h: virtual-key code plus Shift, Ctrl
// and Alt bits) and QKeySequence, for the actions of the main window. Only the keys
// that have a name in KeyNames.h convert; anything else (a Meta modifier, a second
// key of a sequence, an unnamed key) gives no shortcut. Pure functions, any thread.
#include <QKeySequence>

#include "util/ShortCutText.h"

namespace lumaplot {

// kNoShortCut and unnamed keys give an empty sequence.
QKeySequence ToKeySequence(ShortCut shortcut);

// The first key of `sequence`; kNoShortCut when it cannot be expressed. The keypad
// modifier is ignored, so keypad Enter reads as Enter.
ShortCut FromKeySequence(const QKeySequence& sequence);

}  // namespace lumaplot

#pragma once
// What every dialog and tool window is given: the application core and the way to
// ask the user. A window keeps the references; the main window's owner keeps both
// alive longer than any window. GUI thread only.
namespace lumaplot {

class TAppCore;
struct TPrompts;

struct TDialogContext {
  TAppCore& Core;
  TPrompts& Prompts;
};

}  // namespace lumaplot

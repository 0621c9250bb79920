#pragma once
// What a command of the main window (and a mouse tool) works with: the application
// core with the current document, the shared editing state, the page view, the bars,
// the dialogs, the way to ask the user, and the few things only the window itself
// can do (TCommandHost). Commands are free functions over this context, grouped by
// menu in commands/; none of them includes the main window.
//
// The main window owns every part and builds the context once. GUI thread only.
#include <QString>

#include "core/AppCore.h"
#include "ui/main/tools/EditState.h"

class QWidget;

namespace lumaplot {

class TDialogHost;
class TMainBars;
class TPageView;
class TTabControl;
class TToolManager;
struct TPrompts;

// The window's side of a command.
class TCommandHost {
 public:
  virtual ~TCommandHost() = default;
  // The full refresh: the page repainted from the current document, the caption,
  // the counter panel, the current tab's text and every command's state.
  virtual void FullRefresh() = 0;
  // The busy bracket: while busy the refresh timer is off and the page is not
  // repainted from its document. Use TBusyBracket.
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
  virtual bool Busy() const = 0;
  // Closes the main window as its close box does (the close query asks first).
  virtual void CloseWindow() = 0;
  // Refills the channel and type lists of the tool bars.
  virtual void UpdateChannelLists() = 0;
  // The current document's objects were added, removed, re-patched or re-ordered,
  // or another document became current: what lists them (the light list window)
  // rebuilds before it is painted next.
  virtual void ObjectsChanged() = 0;
  // The window the dialogs of a command belong to.
  virtual QWidget* Window() = 0;
};

// The busy bracket as a scope; brackets may nest.
class TBusyBracket {
 public:
  explicit TBusyBracket(TCommandHost& host) : host_(host) { host_.BeginBusy(); }
  ~TBusyBracket() { host_.EndBusy(); }
  TBusyBracket(const TBusyBracket&) = delete;
  TBusyBracket& operator=(const TBusyBracket&) = delete;

 private:
  TCommandHost& host_;
};

struct TCommandContext {
  TAppCore& Core;
  TCommandHost& Host;
  TPrompts& Prompts;
  TDialogHost& Dialogs;
  TEditState& Edit;
  TMainBars& Bars;
  TTabControl& Tabs;
  TPageView& View;
  TToolManager& Tools;

  TStageData* Doc() const { return Core.CurrentDoc(); }
};

}  // namespace lumaplot

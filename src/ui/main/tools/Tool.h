#pragma once
// TTool: one mouse mode of the page. The tool manager routes the page view's mouse
// events to the active tool, on the page's own coordinates, and only while a
// document is current. Each tool keeps the state of its own drag; what the tools
// share (pointer, template, latch flags) is the context's TEditState.
//
// The manager sets LastMouseX/LastMouseY to the press point before Press, and after
// Move to what PointerAfterMove answers. GUI thread only.
#include <QCursor>
#include <QPoint>

#include "ui/main/commands/CommandContext.h"

class QKeyEvent;

namespace lumaplot {

// A mouse event on the page.
struct TToolEvent {
  int X = 0;  // page coordinates
  int Y = 0;
  Qt::MouseButton Button = Qt::NoButton;  // pressed or released; none on a move
  Qt::KeyboardModifiers Modifiers;
  QPoint GlobalPos;  // on the screen, for pop-up menus
};

class TTool {
 public:
  explicit TTool(TCommandContext& context) : context_(context) {}
  virtual ~TTool() = default;
  TTool(const TTool&) = delete;
  TTool& operator=(const TTool&) = delete;

  // The mode becomes active or gives way to another.
  virtual void Activate() {}
  virtual void Deactivate() {}
  virtual void Press(const TToolEvent&) {}
  virtual void Move(const TToolEvent&) {}
  virtual void Release(const TToolEvent&) {}
  // The point remembered as the last pointer position after a move.
  virtual QPoint PointerAfterMove(const TToolEvent& event) const { return {event.X, event.Y}; }
  // The pointer over the page while the mode is active.
  virtual QCursor Cursor() const { return QCursor(Qt::ArrowCursor); }

 protected:
  TCommandContext& context_;
};

}  // namespace lumaplot

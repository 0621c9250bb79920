#pragma once
// TDialogHost: every dialog and tool window of the program is made here, once, the
// first time it is asked for, and then reused, so a showing that does not set a
// control keeps what the previous showing left in it.
//
// Adding a dialog is writing it: a window class with a constructor taking
// (const TDialogContext&, QWidget* parent), or only the parent, is made by Get<T>()
// with the host's context and parent. Callers show it as they need (exec, show).
//
// Ownership: the parent widget owns the windows; a window destroyed from outside is
// made again on the next Get. GUI thread only.
#include <QPointer>
#include <QWidget>

#include <type_traits>
#include <typeindex>
#include <unordered_map>

#include "ui/dialogs/DialogContext.h"

namespace lumaplot {

class TDialogHost {
 public:
  TDialogHost(TDialogContext context, QWidget* parent) : context_(context), parent_(parent) {}
  TDialogHost(const TDialogHost&) = delete;
  TDialogHost& operator=(const TDialogHost&) = delete;

  template <class Window>
  Window& Get() {
    QPointer<QWidget>& slot = windows_[std::type_index(typeid(Window))];
    if (!slot) slot = Make<Window>();
    return *static_cast<Window*>(slot.data());
  }

  // The window of type `Window` when it has been made, else none.
  template <class Window>
  Window* Find() const {
    const auto found = windows_.find(std::type_index(typeid(Window)));
    return found == windows_.end() ? nullptr : static_cast<Window*>(found->second.data());
  }

  const TDialogContext& Context() const { return context_; }

 private:
  template <class Window>
  Window* Make() {
    static_assert(std::is_base_of_v<QWidget, Window>);
    if constexpr (std::is_constructible_v<Window, const TDialogContext&, QWidget*>) {
      return new Window(context_, parent_);
    } else {
      return new Window(parent_);
    }
  }

  TDialogContext context_;
  QWidget* parent_;
  std::unordered_map<std::type_index, QPointer<QWidget>> windows_;
};

}  // namespace lumaplot

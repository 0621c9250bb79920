#pragma once
// TToolManager: owns the mouse tools, one per editing mode, and the group of mode
// actions on tool bar 2; routes the page view's mouse events to the active tool.
//
// Every route needs a current document; without one nothing happens. Around the
// tool's own handling it keeps what every mode shares: the last pointer position,
// and after a press the double-click flags are spent. A double-click on the page
// (whatever the mode) opens the property dialog of the object under the pointer and
// then sets the latch flags, so the press of the second click neither arms a move
// nor starts a band, and no object is added until a mode is chosen. The double-click
// comes before the press of its second click.
// GUI thread only.
#include <QObject>

#include <array>
#include <memory>

#include "ui/main/tools/Tool.h"

class QAction;
class QActionGroup;
class QMouseEvent;

namespace lumaplot {

// The editing modes, one tool each.
enum class TToolMode { Normal, Add, Text, Line, Shape, Del, Count };

class TToolManager : public QObject {
  Q_OBJECT

 public:
  explicit TToolManager(QObject* parent = nullptr);
  ~TToolManager() override;

  // Installs the tool of `mode` and the action that chooses it (checkable, grouped
  // with the others so one is checked at a time).
  void AddTool(TToolMode mode, std::unique_ptr<TTool> tool, QAction* action);
  // Makes `mode` the active one: the old tool gives way, the new one takes the
  // page's cursor.
  void Activate(TToolMode mode);
  TToolMode ActiveMode() const { return active_; }
  TTool* ActiveTool() const { return tools_[static_cast<size_t>(active_)].get(); }

  // The page view's mouse events, routed to the active tool.
  void Press(const TToolEvent& event);
  void Move(const TToolEvent& event);
  void Release(const TToolEvent& event);
  void DoubleClick(const TToolEvent& event);

  // Routes the mouse events of `page` (press, move, release, double-click).
  void Watch(QWidget* page, TCommandContext& context);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HasDocument() const;
  void ApplyCursor();

  std::array<std::unique_ptr<TTool>, static_cast<size_t>(TToolMode::Count)> tools_;
  QActionGroup* modeGroup_;
  TToolMode active_ = TToolMode::Normal;
  QWidget* page_ = nullptr;
  TCommandContext* context_ = nullptr;
};

// The page event of a mouse event on the page.
TToolEvent ToolEventOf(const QMouseEvent& event);

}  // namespace lumaplot

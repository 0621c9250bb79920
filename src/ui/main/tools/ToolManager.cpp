#include "ui/main/tools/ToolManager.h"

#include <QAction>
#include <QActionGroup>
#include <QMouseEvent>
#include <QWidget>

#include "ui/main/commands/PropertyCommands.h"
#include "ui/main/tools/ToolSupport.h"

namespace lumaplot {

TToolManager::TToolManager(QObject* parent) : QObject(parent), modeGroup_(new QActionGroup(this)) {
  modeGroup_->setExclusive(true);
}

TToolManager::~TToolManager() = default;

void TToolManager::AddTool(TToolMode mode, std::unique_ptr<TTool> tool, QAction* action) {
  tools_[static_cast<size_t>(mode)] = std::move(tool);
  action->setCheckable(true);
  modeGroup_->addAction(action);
}

void TToolManager::Activate(TToolMode mode) {
  if (!tools_[static_cast<size_t>(mode)]) return;
  if (TTool* old = ActiveTool()) old->Deactivate();
  active_ = mode;
  ActiveTool()->Activate();
  ApplyCursor();
}

bool TToolManager::HasDocument() const {
  return context_ != nullptr && context_->Doc() != nullptr && ActiveTool() != nullptr;
}

void TToolManager::ApplyCursor() {
  if (page_ && ActiveTool()) page_->setCursor(ActiveTool()->Cursor());
}

void TToolManager::Press(const TToolEvent& event) {
  if (!HasDocument()) return;
  TEditState& edit = context_->Edit;
  edit.LastMouseX = event.X;
  edit.LastMouseY = event.Y;
  ActiveTool()->Press(event);
  edit.MoveSuppress = false;
  edit.BandSuppress = false;
}

void TToolManager::Move(const TToolEvent& event) {
  if (!HasDocument()) return;
  ActiveTool()->Move(event);
  const QPoint pointer = ActiveTool()->PointerAfterMove(event);
  context_->Edit.LastMouseX = pointer.x();
  context_->Edit.LastMouseY = pointer.y();
}

void TToolManager::Release(const TToolEvent& event) {
  if (!HasDocument()) return;
  ActiveTool()->Release(event);
}

void TToolManager::DoubleClick(const TToolEvent&) {
  if (!HasDocument() || context_->Doc()->EditInhibit) return;
  TEditState& edit = context_->Edit;
  if (const TLightCell* cell = ObjectUnder(*context_->Doc(), edit.LastMouseX, edit.LastMouseY)) {
    // No busy bracket: the refresh tick goes on while the dialog is open.
    ShowObjectProperties(*context_, cell->Kind, edit.LastMouseX, edit.LastMouseY);
    context_->Host.FullRefresh();
  }
  edit.AddLatch = true;
  edit.BandSuppress = true;
  edit.MoveSuppress = true;
}

void TToolManager::Watch(QWidget* page, TCommandContext& context) {
  page_ = page;
  context_ = &context;
  page->setMouseTracking(true);
  page->installEventFilter(this);
  ApplyCursor();
}

bool TToolManager::eventFilter(QObject* watched, QEvent* event) {
  if (watched != page_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      Press(ToolEventOf(*static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::MouseMove:
      Move(ToolEventOf(*static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::MouseButtonRelease:
      Release(ToolEventOf(*static_cast<QMouseEvent*>(event)));
      return true;
    case QEvent::MouseButtonDblClick: {
      // The second press of a double-click comes as this one event; it is the
      // double-click first and then that press, which the latches now hold back.
      const TToolEvent toolEvent = ToolEventOf(*static_cast<QMouseEvent*>(event));
      DoubleClick(toolEvent);
      Press(toolEvent);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

TToolEvent ToolEventOf(const QMouseEvent& event) {
  const QPoint point = event.position().toPoint();
  return {point.x(), point.y(), event.button(), event.modifiers(),
          event.globalPosition().toPoint()};
}

}  // namespace lumaplot

#pragma once
// TLumaplotForm, the main window: the page view in its tabs, the menus, the tool
// bars and the status bar; it routes the user's commands, the page's mouse events
// and the refresh tick, and follows the application core's documents with its tabs.
// Everything the program holds for its whole run belongs to the core (TAppCore),
// which must outlive the window.
//
// Life: the constructor builds the widgets, the actions and the tools. The first
// showing (FormShow) restores the layout, reopens the documents open at the last
// exit, reads the shortcuts, starts the engine and the refresh timer. Closing asks
// about every modified document (FormCloseQuery), then stops the core's input and
// writes all state back (FormClose).
//
// Busy bracket: commands that change the document list or show a modal dialog hold
// a TBusyBracket. While one is held the refresh timer is off and the page is not
// repainted from its document; when the last one ends the timer restarts with the
// interval `UpdateInterval`. GUI thread only.
#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/AppCore.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainFormSetup.h"
#include "ui/main/commands/CommandContext.h"
#include "ui/main/tools/EditState.h"

class QAction;
class QMenu;
class QTimer;

namespace lumaplot {

class TMainBars;
class TPageView;
class TTabControl;
class TToolManager;

class TLumaplotForm : public QMainWindow, public TCommandHost, private TDocumentList::Listener {
  Q_OBJECT

 public:
  // FormCreate.
  TLumaplotForm(TAppCore& core, TMainFormSetup setup, QWidget* parent = nullptr);
  ~TLumaplotForm() override;

  TAppCore& Core() const { return core_; }
  TDialogHost& Dialogs() { return dialogs_; }
  TCommandContext& Context() { return *context_; }
  TEditState& Edit() { return edit_; }
  TMainBars& Bars() const { return *bars_; }
  TToolManager& Tools() const { return *tools_; }

  // The QAction of a command of the action table.
  QAction* Action(TActionId id) const { return actions_[static_cast<size_t>(ActionIndex(id))]; }
  // Re-evaluates every command's enabling rule and check mark.
  void UpdateActions();

  // --- Routing ---
  // The refresh tick: the current document's lights take their levels and the
  // changed ones are drawn; the status panels, the test fader and the COM1 switch.
  void Timer1Timer();
  // The tab chosen by the user (or the COM1 switch) becomes the current document.
  void TabControl1Change();
  // The window menu opens: its items show the open documents.
  void Window1Click();
  // Opens the ".DAT" files among `paths` (folders are searched) as documents.
  void FilesDropped(const std::vector<std::string>& paths);
  // Ends the program at once, as for a logout or a kill: no questions; copies of
  // the plots with unsaved changes are kept for the next start, then everything is
  // written back as at exit and the window closes.
  void EndSession();
  // Writes the recovery copies of the plots with unsaved changes (every 30 s).
  void KeepRecoveryCopies();

  // --- TCommandHost ---
  void FullRefresh() override;
  void BeginBusy() override;
  void EndBusy() override;
  bool Busy() const override { return busyDepth_ > 0; }
  void CloseWindow() override { close(); }
  void UpdateChannelLists() override;
  void ObjectsChanged() override;
  QWidget* Window() override { return this; }

  // --- What the tests look at ---
  QTimer* Timer1() const { return Timer1_; }
  TPageView* ScrollBox() const { return ScrollBox_; }
  TTabControl* TabControl1() const { return TabControl1_; }
  QString StatusText(int panel) const;
  int PagePaintCount() const;
  QMenu* WindowMenu() const { return Window1_; }
  QMenu* TabPopupMenu() const { return PopupMenu2_; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  // TDocumentList::Listener: the tabs follow the documents.
  void DocumentAdded(int index) override;
  void DocumentRemoved(int index) override;
  void CurrentChanged() override;

  // FormCreate steps.
  void CreateWidgets();
  void CreateActions();
  void CreateMenus();
  void CreateTools();
  void AddMenuItems(QMenu* menu, std::span<const TMenuEntry> items);
  void AddToolBarMenu(QMenu* menu);
  void AddTabMenu(QMenu* menu);
  void FillWindowMenu(QMenu* menu);
  void Show1Click();
  void PrepareDocument(TStageData& doc);
  // FormShow and its steps.
  void FormShow();
  void SplashMessage(const QString& text);
  void ShowPendingErrors();
  void OfferRecoveredPlots();
  void ReadShortCuts();
  // FormCloseQuery, FormClose and the window's part of the state.
  bool FormCloseQuery();
  void FormClose();
  void WriteShortCuts();

  void ApplyHideTitleMenu();
  void TabControl1MouseUp(QMouseEvent* event);
  void FollowCom1Switch();

  TAppCore& core_;
  TMainFormSetup setup_;
  TEditState edit_;
  TDialogHost dialogs_;

  int busyDepth_ = 1;  // busy from creation until the end of the first showing
  bool shown_ = false;
  bool closed_ = false;
  std::vector<TCoreMessage> pendingErrors_;

  // Widgets and their parts.
  TTabControl* TabControl1_ = nullptr;
  TPageView* ScrollBox_ = nullptr;
  TMainBars* bars_ = nullptr;
  TToolManager* tools_ = nullptr;
  std::unique_ptr<TCommandContext> context_;
  std::array<QAction*, kActionCount> actions_{};
  QMenu* Window1_ = nullptr;
  std::array<QAction*, TDocumentList::kMaxDocuments> windowItems_{};
  std::array<QAction*, 3> toolItems_{};
  QAction* allToolsItem_ = nullptr;
  std::array<QAction*, 5> tabItems_{};  // by tag: hidden, top, bottom, left, right
  QMenu* PopupMenu2_ = nullptr;
  QTimer* Timer1_ = nullptr;
  QTimer* recoveryTimer_ = nullptr;
};

}  // namespace lumaplot

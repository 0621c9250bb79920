#include "ui/main/LumaplotForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

#include "model/ObjectDrawing.h"
#include "ui/dialogs/ChgLtypeDlg.h"
#include "ui/dialogs/HdrToolFrm.h"
#include "ui/dialogs/LtListForm.h"
#include "ui/main/FormTexts.h"
#include "ui/main/MainBars.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "ui/main/ToolBarLists.h"
#include "ui/main/commands/FileCommands.h"
#include "ui/main/commands/ModeCommands.h"
#include "ui/main/commands/ToolWindowCommands.h"
#include "ui/main/commands/ViewCommands.h"
#include "ui/main/commands/WindowCommands.h"
#include "ui/main/tools/AddLightTool.h"
#include "ui/main/tools/DeleteTool.h"
#include "ui/main/tools/LineTool.h"
#include "ui/main/tools/SelectTool.h"
#include "ui/main/tools/ShapeTool.h"
#include "ui/main/tools/TextTool.h"
#include "ui/main/tools/ToolManager.h"
#include "ui/qt/ChannelLists.h"
#include "ui/qt/KeySequence.h"
#include "ui/qt/ProgramFace.h"
#include "ui/qt/WindowState.h"
#include "util/ShortCutText.h"

namespace lumaplot {
namespace {

// Copies of modified plots are written this often, so a crash loses at most this.
constexpr int kRecoveryIntervalMs = 30000;

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  }
  return files;
}

// The documents draw onto the window's page surface; once the window is gone they
// must not reach it.
void DetachFromSurface(TDocumentList& documents) {
  for (int i = 0; i < documents.Count(); ++i) {
    TStageData* doc = documents.At(i);
    doc->Canvas = nullptr;
    for (TLightCell* cell : doc->Objects) cell->Canvas = nullptr;
  }
}

}  // namespace

TLumaplotForm::TLumaplotForm(TAppCore& core, TMainFormSetup setup, QWidget* parent)
    : QMainWindow(parent),
      core_(core),
      setup_(std::move(setup)),
      dialogs_(TDialogContext{core, setup_.Prompts}, this) {
  setObjectName("LumaplotForm");
  SplashMessage("初期化中...");
  pendingErrors_ = core_.TakeMessages();
  CreateWidgets();
  const QFont boxFont = ScrollBox_->ScrBox()->font();
  core_.Env().DefaultFont = FontSpec{boxFont.family().toStdString(), boxFont.pointSize(), 0};
  core_.ApplyPresentationSettings();
  QFont tabFont = boxFont;
  tabFont.setPointSize(12);
  tabFont.setBold(true);
  TabControl1_->Tabs()->setFont(tabFont);

  CreateActions();
  CreateMenus();
  bars_->AddItems(0, StandardToolItems(), [this](TActionId id) { return Action(id); });
  bars_->AddItems(1, ModeToolItems(), [this](TActionId id) { return Action(id); });
  bars_->AddLists();
  FillLightCombo(bars_->LightCombo(), core_.Library());
  CreateTools();

  core_.PrepareDocument = [this](TStageData& doc) { PrepareDocument(doc); };
  core_.Documents().SetListener(this);
  Timer1_ = new QTimer(this);
  Timer1_->setObjectName("Timer1");
  connect(Timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setInterval(kRecoveryIntervalMs);
  connect(recoveryTimer_, &QTimer::timeout, this, [this] { KeepRecoveryCopies(); });
}

TLumaplotForm::~TLumaplotForm() {
  if (Timer1_) Timer1_->stop();
  ScrollBox_->ScrBox()->removeEventFilter(tools_);
  core_.PrepareDocument = nullptr;
  core_.Documents().SetListener(nullptr);
  DetachFromSurface(core_.Documents());
}

void TLumaplotForm::CreateWidgets() {
  ScrollBox_ = new TPageView;
  ScrollBox_->SetFrozen(true);
  TabControl1_ = new TTabControl(ScrollBox_);
  setCentralWidget(TabControl1_);
  connect(TabControl1_->Tabs(), &QTabBar::currentChanged, this, [this] { TabControl1Change(); });
  TabControl1_->Tabs()->installEventFilter(this);
  bars_ = new TMainBars(*this);
  tools_ = new TToolManager(this);
  context_ = std::make_unique<TCommandContext>(TCommandContext{
      core_, *this, setup_.Prompts, dialogs_, edit_, *bars_, *TabControl1_, *ScrollBox_, *tools_});
}

void TLumaplotForm::CreateActions() {
  for (const TActionSpec& entry : MainActionTable()) {
    auto* action = new QAction(QString::fromUtf8(entry.Caption), this);
    action->setObjectName(entry.Name);
    if (*entry.Hint) {
      action->setToolTip(QString::fromUtf8(entry.Hint));
      action->setStatusTip(QString::fromUtf8(entry.Hint));
    }
    if (*entry.Icon) action->setIcon(QIcon(entry.Icon));
    action->setCheckable(entry.Checked != nullptr);
    action->setShortcut(ToKeySequence(TextToShortCut(entry.ShortCut)));
    connect(action, &QAction::triggered, this, [this, &entry] {
      entry.Execute(*context_);
      UpdateActions();
    });
    // Added to the window itself, so its shortcut works with the menu bar hidden.
    addAction(action);
    actions_[static_cast<size_t>(ActionIndex(entry.Id))] = action;
  }
}

void TLumaplotForm::CreateTools() {
  auto* popup = new QMenu(this);
  popup->setObjectName("PopupMenu1");
  AddMenuItems(popup, CanvasPopupItems());
  connect(popup, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
  tools_->AddTool(TToolMode::Normal, std::make_unique<TSelectTool>(*context_, popup),
                  Action(TActionId::ModeNormal));
  tools_->AddTool(TToolMode::Add, std::make_unique<TAddLightTool>(*context_),
                  Action(TActionId::ModeAdd));
  tools_->AddTool(TToolMode::Text, std::make_unique<TTextTool>(*context_),
                  Action(TActionId::ModeText));
  tools_->AddTool(TToolMode::Line, std::make_unique<TLineTool>(*context_),
                  Action(TActionId::ModeLine));
  tools_->AddTool(TToolMode::Shape, std::make_unique<TShapeTool>(*context_),
                  Action(TActionId::ModeShape));
  tools_->AddTool(TToolMode::Del, std::make_unique<TDeleteTool>(*context_),
                  Action(TActionId::ModeDel));
  tools_->Watch(ScrollBox_->ScrBox(), *context_);
  connect(bars_->LastChBtn(), &QToolButton::clicked, this, [this] {
    LastChBtnClick(*context_);
    UpdateActions();
  });
}

void TLumaplotForm::UpdateActions() {
  for (const TActionSpec& entry : MainActionTable()) {
    QAction* action = Action(entry.Id);
    action->setEnabled(entry.Enabled(*context_));
    if (entry.Checked) action->setChecked(entry.Checked(*context_));
  }
}

void TLumaplotForm::PrepareDocument(TStageData& doc) {
  doc.Owner = ScrollBox_;
  doc.Canvas = &ScrollBox_->ScrBox()->Surface();
  std::function<std::string(const std::string&)> ask = setup_.AskMissingType;
  if (!ask) ask = MissingTypeHandler(dialogs_.Get<TChgLtypeDlg>());
  // At start-up the question comes while the splash window, which stays on top,
  // could cover it; the splash steps aside until it is answered.
  doc.OnMissingType = [this, ask](const std::string& name) {
    const bool splashShown = setup_.Splash && setup_.Splash->isVisible();
    if (splashShown) setup_.Splash->hide();
    const std::string answer = ask(name);
    if (splashShown && setup_.Splash) setup_.Splash->show();
    return answer;
  };
}

// --- Menus ---

void TLumaplotForm::CreateMenus() {
  for (const TMenuSpec& entry : CommandMenus()) {
    if (entry.Items.empty()) continue;  // a menu whose commands are still to come
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.Caption));
    menu->setObjectName(entry.Name);
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
    AddMenuItems(menu, entry.Items);
  }
  PopupMenu2_ = new QMenu(this);
  PopupMenu2_->setObjectName("PopupMenu2");
  AddMenuItems(PopupMenu2_, TabPopupItems());
}

void TLumaplotForm::AddMenuItems(QMenu* menu, std::span<const TMenuEntry> items) {
  for (const TMenuEntry& item : items) {
    switch (item.What) {
      case TMenuEntry::Command:
        menu->addAction(Action(item.Id));
        break;
      case TMenuEntry::Separator:
        menu->addSeparator();
        break;
      case TMenuEntry::ToolBarsMenu:
        AddToolBarMenu(menu);
        break;
      case TMenuEntry::TabsMenu:
        AddTabMenu(menu);
        break;
      case TMenuEntry::DocumentItems:
        FillWindowMenu(menu);
        break;
    }
  }
}

void TLumaplotForm::AddToolBarMenu(QMenu* menu) {
  QMenu* tools = menu->addMenu("ツールバー(&T)");
  constexpr const char* kCaptions[] = {"基本(&S)", "モード切替(&M)", "検索(&F)"};
  for (int tag = 0; tag < TMainBars::kToolBarCount; ++tag) {
    QAction* item =
        tools->addAction(kCaptions[tag], this, [this, tag] { ShowToolItemClick(*context_, tag); });
    item->setObjectName(QString("ShowToolItem%1").arg(tag + 1));
    item->setCheckable(true);
    toolItems_[static_cast<size_t>(tag)] = item;
  }
  tools->addSeparator();
  allToolsItem_ = tools->addAction("全体(&A)", this, [this] { ShowAllToolItemClick(*context_); });
  allToolsItem_->setObjectName("ShowAllToolItem");
  allToolsItem_->setCheckable(true);
  connect(menu, &QMenu::aboutToShow, this, [this] { Show1Click(); });
}

void TLumaplotForm::AddTabMenu(QMenu* menu) {
  QMenu* tabs = menu->addMenu("画面切り替えタブ(&B)");
  constexpr const char* kCaptions[] = {"非表示(&N)", "上(&T)", "下(&B)", "左(&L)", "右(&R)"};
  for (int tag : {1, 2, 3, 4, 0}) {
    if (tag == 0) tabs->addSeparator();
    QAction* item =
        tabs->addAction(kCaptions[tag], this, [this, tag] { ShowTabItemClick(*context_, tag); });
    item->setObjectName(QString("ShowTabItem%1").arg(tag));
    item->setCheckable(true);
    tabItems_[static_cast<size_t>(tag)] = item;
  }
}

void TLumaplotForm::FillWindowMenu(QMenu* menu) {
  Window1_ = menu;
  for (int tag = 0; tag < TDocumentList::kMaxDocuments; ++tag) {
    QAction* item =
        menu->addAction(QString(), this, [this, tag] { ChgActDataExecute(*context_, tag); });
    item->setCheckable(true);
    item->setVisible(false);
    windowItems_[static_cast<size_t>(tag)] = item;
  }
  connect(menu, &QMenu::aboutToShow, this, [this] { Window1Click(); });
}

void TLumaplotForm::Show1Click() {
  for (int i = 0; i < TMainBars::kToolBarCount; ++i) {
    toolItems_[static_cast<size_t>(i)]->setChecked(bars_->ToolBarShown(i));
  }
  allToolsItem_->setChecked(bars_->ControlBarVisible());
  const bool tabsShown = TabControl1_->TabsVisible();
  tabItems_[0]->setChecked(!tabsShown);
  for (int tag = 1; tag <= 4; ++tag) {
    tabItems_[static_cast<size_t>(tag)]->setChecked(tabsShown &&
                                                    TabControl1_->TabPosition() == tag - 1);
  }
  UpdateActions();
}

void TLumaplotForm::Window1Click() {
  const TDocumentList& documents = core_.Documents();
  for (int i = 0; i < TDocumentList::kMaxDocuments; ++i) {
    QAction* item = windowItems_[static_cast<size_t>(i)];
    const TStageData* doc = documents.At(i);
    item->setVisible(doc != nullptr);
    if (!doc) continue;
    item->setText(WindowMenuCaption(*doc, i));
    item->setChecked(doc == documents.Current());
  }
}

QMenu* TLumaplotForm::createPopupMenu() {
  // The bars are shown and hidden through the View menu only, so that its state
  // and the settings stay the truth.
  return nullptr;
}

// The hints of tool buttons and lists go to the last panel; the other panels, the
// signal state among them, stay on screen.
bool TLumaplotForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    bars_->SetStatusText(TMainBars::kStatusPanels - 1, static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

// --- First showing ---

void TLumaplotForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TLumaplotForm::SplashMessage(const QString& text) {
  if (setup_.Splash) setup_.Splash->SetMessage(text);
}

void TLumaplotForm::FormShow() {
  SplashMessage("メインウィンドウ初期化中...");
  IniFile& ini = core_.Ini();
  TEnvData& env = core_.Env();
  const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
  RestoreMainWindow(this, ini, screen.width(), screen.height());
  ScrollBox_->ShowDocument(nullptr);
  TabControl1_->SetTabsVisible(ini.ReadBool(kGeneralSection, "ShowTab", true));
  TabControl1_->SetTabPosition(ini.ReadInteger(kGeneralSection, "TabPos", 0));
  bars_->Restore(ini);
  TabControl1_->SetTabLook(env.TabStyle, env.TabMultiLine, env.TabWidth);
  bars_->SetFlat(env.FlatToolBar);
  bars_->SetStatusBarVisible(ini.ReadBool(kGeneralSection, "ShowStatusBar", true));

  SplashMessage("データ読み込み中...");
  OfferRecoveredPlots();
  if (env.OpenLastData) core_.ReopenLastFiles();

  SplashMessage("画面準備中...");
  core_.Documents().SetCurrent(0);
  FullRefresh();
  ReadShortCuts();
  UpdateChannelLists();
  if (ini.ReadBool(kGeneralSection, "ShowLightGrid", false)) {
    LightListWindow(*context_).show();
    activateWindow();
  }
  Action(TActionId::ModeNormal)->trigger();
  setAcceptDrops(true);
  if (setup_.Splash) setup_.Splash->close();

  core_.StartEngine();
  recoveryTimer_->start();
  EndBusy();
  UpdateActions();
  // Problems met while the program started are told once the window is on the screen.
  QTimer::singleShot(0, this, [this] { ShowPendingErrors(); });
}

void TLumaplotForm::ShowPendingErrors() {
  for (const TCoreMessage& message : pendingErrors_) {
    setup_.Prompts.Error(QString::fromStdString(message.Text),
                         QString::fromStdString(message.Caption));
  }
  pendingErrors_.clear();
}

void TLumaplotForm::OfferRecoveredPlots() {
  for (const TRecoveryStore::TCopy& copy : core_.Recovery().Found()) {
    const QString name = QString::fromStdString(!copy.Title.empty()      ? copy.Title
                                                : !copy.FileName.empty() ? copy.FileName
                                                                         : "無題");
    const bool splashShown = setup_.Splash && setup_.Splash->isVisible();
    if (splashShown) setup_.Splash->hide();
    const bool restore =
        !core_.Documents().Full() &&
        setup_.Prompts.YesNo("[" + name + "] の保存されていない変更が残っています。\n復元しますか",
                             {});
    if (splashShown && setup_.Splash) setup_.Splash->show();
    std::string error;
    std::unique_ptr<TStageData> doc = restore ? core_.RestoreCopy(copy, &error) : nullptr;
    if (doc) {
      core_.Documents().Add(std::move(doc));
    } else {
      TRecoveryStore::Discard(copy.Path);
    }
  }
}

void TLumaplotForm::KeepRecoveryCopies() {
  std::string error;
  // A copy that cannot be written is tried again next time; the plot itself is
  // untouched either way, so there is nothing to ask the user.
  core_.Recovery().Update(core_.Documents(), &error);
}

void TLumaplotForm::ReadShortCuts() {
  std::vector<const TActionSpec*> builtIn;
  std::vector<ShortCut> taken;
  for (const TActionSpec& entry : MainActionTable()) {
    const std::string text =
        core_.Env().ReadQuotedString(kShortCutSection, std::string(entry.Name) + "Item");
    if (text.empty()) {
      builtIn.push_back(&entry);
      continue;
    }
    const ShortCut shortcut = TextToShortCut(text);
    Action(entry.Id)->setShortcut(ToKeySequence(shortcut));
    if (shortcut != kNoShortCut) taken.push_back(shortcut);
  }
  // An empty text takes the built-in shortcut, unless the user has given that key to
  // another command meanwhile: one key runs one command.
  for (const TActionSpec* entry : builtIn) {
    ShortCut shortcut = TextToShortCut(entry->ShortCut);
    if (std::find(taken.begin(), taken.end(), shortcut) != taken.end()) shortcut = kNoShortCut;
    Action(entry->Id)->setShortcut(ToKeySequence(shortcut));
  }
}

void TLumaplotForm::WriteShortCuts() {
  for (const TActionSpec& entry : MainActionTable()) {
    core_.Ini().WriteString(kShortCutSection, std::string(entry.Name) + "Item",
                            ShortCutToText(FromKeySequence(Action(entry.Id)->shortcut())));
  }
}

void TLumaplotForm::UpdateChannelLists() { lumaplot::UpdateChannelLists(*bars_, core_); }

// The lights take their levels anew on the next tick, and the light list rebuilds
// its rows before it shows them again (a hidden list rebuilds when it is shown).
void TLumaplotForm::ObjectsChanged() {
  core_.MarkLightsStale();
  TLtListForm* list = dialogs_.Find<TLtListForm>();
  if (list && list->isVisible()) list->RefreshLights();
}

// --- Busy bracket and the full refresh ---

void TLumaplotForm::BeginBusy() {
  ++busyDepth_;
  Timer1_->stop();
  ScrollBox_->SetFrozen(true);
}

void TLumaplotForm::EndBusy() {
  if (busyDepth_ > 0) --busyDepth_;
  if (busyDepth_ > 0) return;
  ScrollBox_->SetFrozen(false);
  if (closed_) return;
  Timer1_->setInterval(std::max(core_.Env().UpdateInterval, 1));
  Timer1_->start();
}

void TLumaplotForm::FullRefresh() {
  // Whatever the command changed, the lights take their levels anew.
  core_.MarkLightsStale();
  TStageData* doc = core_.CurrentDoc();
  ScrollBox_->ShowDocument(doc);
  if (!doc) {
    setWindowTitle(ProgramName());
    bars_->SetStatusText(0, " 0/0");
    UpdateActions();
    return;
  }
  const TDocumentList& documents = core_.Documents();
  setWindowTitle(MainCaption(ProgramName(), core_.Engine().AltNetwork(), doc));
  bars_->SetStatusText(0, DocumentCounterText(documents.CurrentIndex(), documents.Count()));
  QTabBar* tabs = TabControl1_->Tabs();
  if (tabs->currentIndex() >= 0) {
    tabs->setTabText(tabs->currentIndex(), TabText(*doc, tabs->currentIndex()));
  }
  UpdateActions();
}

QString TLumaplotForm::StatusText(int panel) const { return bars_->StatusText(panel); }

int TLumaplotForm::PagePaintCount() const { return ScrollBox_->PagePaintCount(); }

// --- The refresh tick ---

void TLumaplotForm::Timer1Timer() {
  if (TStageData* doc = core_.CurrentDoc()) {
    core_.UpdateCurrentLights();
    DrawAll(*doc, true, false, false);
    ScrollBox_->ScrBox()->ShowDrawn();
  }
  TEnvData& env = core_.Env();
  bars_->SetStatusText(1, SignalStatusText(SignalStateOf(core_.Engine(), &core_.Recorder())));
  if (!edit_.DrawingLine) {
    bars_->SetStatusText(2, SelectionStatusText(core_.CurrentDoc(), env.DmxChMode == 0));
  }
  env.TestLevel = env.DebugMode == 1 && bars_->TestFaderShown() ? bars_->DebugBar()->value() : 0;
  FollowCom1Switch();
  UpdateActions();
}

void TLumaplotForm::FollowCom1Switch() {
  const int index = core_.Com1Selection();
  QTabBar* tabs = TabControl1_->Tabs();
  if (index < 0 || index >= tabs->count()) return;
  {
    const QSignalBlocker quiet(tabs);
    tabs->setCurrentIndex(index);
  }
  TabControl1Change();
}

// --- Documents and tabs ---

void TLumaplotForm::DocumentAdded(int index) {
  const QSignalBlocker quiet(TabControl1_->Tabs());
  TabControl1_->Tabs()->insertTab(index, NewTabText(*core_.Documents().At(index), index + 1));
}

void TLumaplotForm::DocumentRemoved(int index) {
  QTabBar* tabs = TabControl1_->Tabs();
  const QSignalBlocker quiet(tabs);
  tabs->removeTab(index);
  if (tabs->count() > 0) tabs->setCurrentIndex(0);
}

void TLumaplotForm::CurrentChanged() {
  const int index = core_.Documents().CurrentIndex();
  if (index >= 0) {
    const QSignalBlocker quiet(TabControl1_->Tabs());
    TabControl1_->Tabs()->setCurrentIndex(index);
  }
  ScrollBox_->ShowDocument(core_.CurrentDoc());
  ObjectsChanged();
}

void TLumaplotForm::TabControl1Change() {
  if (!core_.CurrentDoc()) return;
  {
    TBusyBracket busy(*this);
    core_.Documents().SetCurrent(TabControl1_->Tabs()->currentIndex());
  }
  FullRefresh();
}

bool TLumaplotForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TabControl1_->Tabs() && event->type() == QEvent::MouseButtonRelease) {
    TabControl1MouseUp(static_cast<QMouseEvent*>(event));
  }
  return QMainWindow::eventFilter(watched, event);
}

void TLumaplotForm::TabControl1MouseUp(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) return;
  // The tab under the pointer becomes current first, as a left click would make it.
  QTabBar* tabs = TabControl1_->Tabs();
  const int index = tabs->tabAt(event->position().toPoint());
  if (index >= 0 && index != tabs->currentIndex()) tabs->setCurrentIndex(index);
  UpdateActions();
  PopupMenu2_->popup(event->globalPosition().toPoint());
}

// --- Files dropped on the window ---

void TLumaplotForm::FilesDropped(const std::vector<std::string>& paths) {
  OpenDroppedFiles(*context_, paths);
}

void TLumaplotForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void TLumaplotForm::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = LocalFiles(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  // Opened once the drop has ended, so that no question blocks the program the
  // files came from.
  QTimer::singleShot(0, this, [this, files] { FilesDropped(files); });
}

// --- Closing ---

void TLumaplotForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    if (!FormCloseQuery()) {
      event->ignore();
      return;
    }
    // What was not saved now was not meant to be kept.
    core_.Recovery().ForgetAll();
    FormClose();
  }
  event->accept();
}

void TLumaplotForm::EndSession() {
  if (closed_) return;
  KeepRecoveryCopies();
  FormClose();
  close();
}

bool TLumaplotForm::FormCloseQuery() {
  bool canClose = true;
  // Every modified document is asked about, even after a Cancel.
  const TDocumentList& documents = core_.Documents();
  for (int i = 0; i < documents.Count(); ++i) {
    TStageData& doc = *documents.At(i);
    if (doc.Modified && !SaveChangesFirst(*context_, doc, ExitQuestion(doc))) canClose = false;
  }
  return canClose;
}

void TLumaplotForm::FormClose() {
  Timer1_->stop();
  recoveryTimer_->stop();
  BeginBusy();
  closed_ = true;
  core_.StopInput();

  IniFile& ini = core_.Ini();
  SaveMainWindow(this, ini);
  std::string error;
  bool saved = core_.Env().Save(&error);
  ini.WriteBool(kGeneralSection, "ShowTab", TabControl1_->TabsVisible());
  ini.WriteInteger(kGeneralSection, "TabPos", TabControl1_->TabPosition());
  ini.WriteBool(kGeneralSection, "ShowStatusBar", bars_->StatusBarVisible());
  // The tool windows store their own state as they close, before the file is flushed.
  TLtListForm* list = dialogs_.Find<TLtListForm>();
  ini.WriteBool(kGeneralSection, "ShowLightGrid", list && list->isVisible());
  if (list && list->isVisible()) list->close();
  THdrToolFrm* recorder = dialogs_.Find<THdrToolFrm>();
  if (recorder && recorder->isVisible()) recorder->close();
  bars_->Save(ini);
  core_.WriteLastFiles();
  WriteShortCuts();
  if (saved) saved = ini.Flush(&error);
  if (!saved) {
    setup_.Prompts.Error("設定を保存できませんでした。\n" + QString::fromStdString(error), {});
  }
}

// --- Window state ---

void TLumaplotForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ApplyHideTitleMenu();
}

void TLumaplotForm::ApplyHideTitleMenu() {
  if (!core_.Env().HideTitleMenu) return;
  // Maximised with the title and menu hidden is the whole screen without a menu
  // bar; the state is changed once the current change has been handled.
  if (windowState() & Qt::WindowMaximized && !(windowState() & Qt::WindowFullScreen)) {
    QTimer::singleShot(0, this, [this] {
      menuBar()->hide();
      setWindowState(windowState() | Qt::WindowFullScreen);
    });
  } else if (!(windowState() & Qt::WindowFullScreen)) {
    menuBar()->show();
  }
}

void TLumaplotForm::keyPressEvent(QKeyEvent* event) {
  // Escape leaves the full screen, since there is no title bar to do it with.
  if (event->key() == Qt::Key_Escape && isFullScreen()) {
    setWindowState(Qt::WindowNoState);
    menuBar()->show();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace lumaplot

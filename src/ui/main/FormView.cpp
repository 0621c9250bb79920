// The main window's view: the page, the tabs, the menus, tool bars and status bar,
// the full refresh, and the state of the bars in the settings file.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "model/LightPresentation.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/main/FormTexts.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/HelpPages.h"
#include "ui/qt/PagePainter.h"
#include "util/SystemColor.h"

namespace lumaplot {
namespace {

constexpr int kPanelWidths[TLumaplotForm::kStatusPanels] = {100, 160, 350, 50};
constexpr const char* kToolBarTitles[TLumaplotForm::kToolBarCount] = {"基本", "モード切替", "検索"};
// Tool bars whose stored tops differ by less than this share a row.
constexpr int kRowTolerance = 8;
// The page surface is an image; pages larger than this are shown cut.
constexpr int kMaxSurfaceSide = 8192;

std::string ToolKey(const char* prefix, int index, const char* suffix = "") {
  return prefix + std::to_string(index + 1) + suffix;
}

QString AppTitle() {
  const QString title = QApplication::applicationDisplayName();
  return title.isEmpty() ? QString("Lumaplot") : title;
}

QComboBox* NewCombo(const char* name, const QString& hint, int width) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  combo->setToolTip(hint.section('|', 0, 0));
  combo->setStatusTip(hint.section('|', -1));
  combo->setMinimumWidth(width);
  return combo;
}

}  // namespace

// --- Widgets ---

void TLumaplotForm::CreateWidgets() {
  ScrollBox_ = new TPageView;
  TabControl1_ = new TTabControl(ScrollBox_);
  setCentralWidget(TabControl1_);
  TPageBox* box = ScrollBox_->ScrBox();
  box->OnPaint = [this](QPainter& painter, const QRect& area) { ScrPaint(painter, area); };
  box->OnSurfaceResized = [this] { pageStale_ = true; };
  connect(TabControl1_->Tabs(), &QTabBar::currentChanged, this, [this] { TabControl1Change(); });
  TabControl1_->Tabs()->installEventFilter(this);
}

void TLumaplotForm::CreateMenus() {
  for (const TMenuSpec& entry : CommandMenus()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.Caption));
    menu->setObjectName(entry.Name);
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
    for (const std::string_view item : entry.Items) {
      if (item == "-") {
        menu->addSeparator();
      } else if (item == "@ToolBars") {
        AddToolBarMenu(menu);
      } else if (item == "@Tabs") {
        AddTabMenu(menu);
      } else if (item == "@Documents") {
        FillWindowMenu(menu);
      } else if (QAction* action = Action(item)) {
        menu->addAction(action);
      }
    }
  }
  PopupMenu2_ = new QMenu(this);
  PopupMenu2_->setObjectName("PopupMenu2");
  for (const std::string_view item : TabPopupItems()) {
    if (item == "-") {
      PopupMenu2_->addSeparator();
    } else if (QAction* action = Action(item)) {
      PopupMenu2_->addAction(action);
    }
  }
}

void TLumaplotForm::AddToolBarMenu(QMenu* menu) {
  QMenu* tools = menu->addMenu("ツールバー(&T)");
  constexpr const char* kCaptions[kToolBarCount] = {"基本(&S)", "モード切替(&M)", "検索(&F)"};
  for (int tag = 0; tag < kToolBarCount; ++tag) {
    QAction* item = tools->addAction(kCaptions[tag], this, [this, tag] { ShowToolItemClick(tag); });
    item->setCheckable(true);
    toolItems_[static_cast<size_t>(tag)] = item;
  }
  tools->addSeparator();
  allToolsItem_ = tools->addAction("全体(&A)", this, [this] { ShowAllToolItemClick(); });
  allToolsItem_->setCheckable(true);
  connect(menu, &QMenu::aboutToShow, this, [this] { Show1Click(); });
}

void TLumaplotForm::AddTabMenu(QMenu* menu) {
  QMenu* tabs = menu->addMenu("画面切り替えタブ(&B)");
  constexpr const char* kCaptions[] = {"非表示(&N)", "上(&T)", "下(&B)", "左(&L)", "右(&R)"};
  for (int tag : {1, 2, 3, 4, 0}) {
    if (tag == 0) tabs->addSeparator();
    QAction* item = tabs->addAction(kCaptions[tag], this, [this, tag] { ShowTabItemClick(tag); });
    item->setCheckable(true);
    tabItems_[static_cast<size_t>(tag)] = item;
  }
}

void TLumaplotForm::FillWindowMenu(QMenu* menu) {
  Window1_ = menu;
  for (int tag = 0; tag < kMaxDocuments; ++tag) {
    QAction* item = menu->addAction(QString(), this, [this, tag] { ChgActDataExecute(tag); });
    item->setCheckable(true);
    item->setVisible(false);
    windowItems_[static_cast<size_t>(tag)] = item;
  }
  connect(menu, &QMenu::aboutToShow, this, [this] { Window1Click(); });
}

void TLumaplotForm::CreateToolBars() {
  for (int i = 0; i < kToolBarCount; ++i) {
    auto* bar = new QToolBar(kToolBarTitles[i], this);
    bar->setObjectName(QString::fromStdString(ToolKey("ToolBar", i)));
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setMovable(true);
    bar->setFloatable(true);
    addToolBar(Qt::TopToolBarArea, bar);
    ToolBars_[static_cast<size_t>(i)] = bar;
  }
  for (const std::string_view item : StandardToolItems()) {
    if (item == "-") {
      ToolBars_[0]->addSeparator();
    } else if (QAction* action = Action(item)) {
      ToolBars_[0]->addAction(action);
    }
  }
  LightCombo_ = NewCombo("LightCombo", "灯体の種類|追加する灯体の種類", 160);
  ChCombo_ = NewCombo("ChCombo", "トップチャンネル", 80);
  ChCombo_->setEditable(true);
  ChCombo_->setMaxVisibleItems(16);
  ToolBars_[1]->addWidget(LightCombo_);
  ToolBars_[1]->addWidget(ChCombo_);
  FindMaskCombo_ = NewCombo("FindMaskCombo", "検索する灯体の種類", 160);
  FindChCombo_ = NewCombo("FindChCombo", "検索するチャンネル", 80);
  FindChCombo_->setMaxVisibleItems(16);
  ToolBars_[2]->addWidget(FindMaskCombo_);
  ToolBars_[2]->addWidget(FindChCombo_);

  debugToolBar_ = new QToolBar("テストフェーダ", this);
  debugToolBar_->setObjectName("DebugToolBar");
  debugToolBar_->setMovable(false);
  DebugBar_ = new QSlider(Qt::Horizontal);
  DebugBar_->setObjectName("DebugBar");
  DebugBar_->setRange(0, 255);
  DebugBar_->setTickInterval(32);
  DebugBar_->setTickPosition(QSlider::TicksBelow);
  DebugBar_->setToolTip("テストフェーダ");
  DebugBar_->setFixedWidth(200);
  debugToolBar_->addWidget(DebugBar_);
  addToolBar(Qt::TopToolBarArea, debugToolBar_);
  debugToolBar_->hide();
}

QMenu* TLumaplotForm::createPopupMenu() {
  // The bars are shown and hidden through the View menu only, so that its state
  // and the settings stay the truth.
  return nullptr;
}

void TLumaplotForm::CreateStatusBar() {
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* panel = new QLabel;
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i + 1 < kStatusPanels) {
      panel->setFixedWidth(kPanelWidths[i]);
      statusBar()->addWidget(panel);
    } else {
      panel->setMinimumWidth(kPanelWidths[i]);
      statusBar()->addWidget(panel, 1);
    }
    panels_[static_cast<size_t>(i)] = panel;
  }
  statusBar()->setObjectName("StatusBar1");
}

QString TLumaplotForm::StatusText(int panel) const {
  if (panel < 0 || panel >= kStatusPanels) return {};
  return panels_[static_cast<size_t>(panel)]->text();
}

void TLumaplotForm::SetStatusText(int panel, const QString& text) {
  QLabel* label = panels_[static_cast<size_t>(panel)];
  if (label->text() != text) label->setText(text);
}

// --- Page ---

void TLumaplotForm::ShowPage() {
  QSize page;
  if (CurrentDoc_) {
    page = QSize(std::clamp(CurrentDoc_->ScrWidth, 1, kMaxSurfaceSide),
                 std::clamp(CurrentDoc_->ScrHeight, 1, kMaxSurfaceSide));
  }
  ScrollBox_->SetPageSize(page);
  pageStale_ = true;
  ApplyViewColour();
  ScrollBox_->ScrBox()->update();
}

void TLumaplotForm::ApplyViewColour() {
  const QColor colour = CurrentDoc_ ? ToQColor(ColorToRgb(CurrentDoc_->BgColor)) : Qt::black;
  QWidget* view = ScrollBox_->viewport();
  if (view->palette().color(QPalette::Window) == colour) return;
  QPalette palette = view->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Base, colour);
  view->setPalette(palette);
  view->setAutoFillBackground(true);
}

void TLumaplotForm::ScrPaint(QPainter& painter, const QRect& area) {
  if (!CurrentDoc_) {
    painter.fillRect(area, ToQColor(ColorToRgb(kSystemColorFlag | kSysColorAppWorkspace)));
    return;
  }
  QtCanvas& surface = ScrollBox_->ScrBox()->Surface();
  // While busy the document list may be changing: the picture is shown as it was.
  if (pageStale_ && !Busy()) {
    PaintPage(*CurrentDoc_, surface, PresentationSettings());
    surface.TakeDirtyRect();
    pageStale_ = false;
    ++pagePaints_;
  }
  painter.drawImage(area.topLeft(), surface.Image(), area);
}

void TLumaplotForm::ShowRepaintItemClick() {
  ShowPage();
  if (!CurrentDoc_) {
    setWindowTitle(AppTitle());
    SetStatusText(0, " 0/0");
    UpdateActions();
    return;
  }
  const int index = IndexOfDocument(CurrentDoc_);
  setWindowTitle(MainCaption(AppTitle(), Engine_->AltNetwork(), CurrentDoc_));
  SetStatusText(0, DocumentCounterText(index, DocumentCount()));
  QTabBar* tabs = TabControl1_->Tabs();
  if (tabs->currentIndex() >= 0) {
    tabs->setTabText(tabs->currentIndex(), TabText(*CurrentDoc_, tabs->currentIndex()));
  }
  UpdateActions();
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

// --- View menu ---

void TLumaplotForm::Show1Click() {
  for (int i = 0; i < kToolBarCount; ++i) {
    toolItems_[static_cast<size_t>(i)]->setChecked(toolShown_[static_cast<size_t>(i)]);
  }
  allToolsItem_->setChecked(controlBarVisible_);
  const bool tabsShown = TabControl1_->TabsVisible();
  tabItems_[0]->setChecked(!tabsShown);
  for (int tag = 1; tag <= 4; ++tag) {
    tabItems_[static_cast<size_t>(tag)]->setChecked(tabsShown &&
                                                    TabControl1_->TabPosition() == tag - 1);
  }
  UpdateActions();
}

void TLumaplotForm::ShowToolItemClick(int tag) {
  if (tag < 0 || tag >= kToolBarCount) return;
  toolShown_[static_cast<size_t>(tag)] = !toolShown_[static_cast<size_t>(tag)];
  ApplyToolBarVisibility();
}

void TLumaplotForm::ShowAllToolItemClick() {
  controlBarVisible_ = !controlBarVisible_;
  ApplyToolBarVisibility();
}

void TLumaplotForm::ApplyToolBarVisibility() {
  for (int i = 0; i < kToolBarCount; ++i) {
    ToolBars_[static_cast<size_t>(i)]->setVisible(controlBarVisible_ &&
                                                  toolShown_[static_cast<size_t>(i)]);
  }
  debugToolBar_->setVisible(controlBarVisible_ && Engine_->TestMode && EnvData_->DebugMode == 1);
}

void TLumaplotForm::ShowTabItemClick(int tag) {
  if (tag == 0) {
    TabControl1_->SetTabsVisible(false);
    return;
  }
  TabControl1_->SetTabPosition(tag - 1);
  TabControl1_->SetTabsVisible(true);
}

void TLumaplotForm::ShowSttBarItemClick() { statusBar()->setVisible(statusBar()->isHidden()); }

void TLumaplotForm::ApplyFlatToolBars() {
  for (QToolBar* bar : ToolBars_) {
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
      button->setAutoRaise(EnvData_->FlatToolBar);
    }
  }
}

// --- Tool bar state ---

QPoint TLumaplotForm::DockedPosition(const QToolBar* bar) const {
  const QWidget* menu = menuWidget();
  const int menuHeight = menu && menu->isVisible() ? menu->height() : 0;
  return bar->pos() - QPoint(0, menuHeight);
}

void TLumaplotForm::RestoreToolBars() {
  const IniFile& ini = *IniFile_;
  controlBarVisible_ = ini.ReadBool(kToolBarSection, "ShowAllTools", true);
  struct Docked {
    QToolBar* bar;
    int top;
    int left;
  };
  std::vector<Docked> docked;
  for (int i = 0; i < kToolBarCount; ++i) {
    QToolBar* bar = ToolBars_[static_cast<size_t>(i)];
    toolShown_[static_cast<size_t>(i)] =
        ini.ReadBool(kToolBarSection, ToolKey("ShowTool", i), true);
    if (ini.ReadInteger(kToolBarSection, ToolKey("Tool", i, "Floating"), 0) == 1) {
      const QPoint topLeft(ini.ReadInteger(kToolBarSection, ToolKey("Tool", i, "FLeft"), 100),
                           ini.ReadInteger(kToolBarSection, ToolKey("Tool", i, "FTop"), 100));
      // A floating bar takes the size its buttons need; only its place is kept.
      bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
      bar->setGeometry(QRect(topLeft, bar->sizeHint()));
      continue;
    }
    const QPoint current = DockedPosition(bar);
    docked.push_back({bar, ini.ReadInteger(kToolBarSection, ToolKey("Tool", i, "Top"), current.y()),
                      ini.ReadInteger(kToolBarSection, ToolKey("Tool", i, "Left"), current.x())});
  }
  std::stable_sort(docked.begin(), docked.end(), [](const Docked& a, const Docked& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  // Rows from the stored tops, each row's bars from left to right.
  for (size_t i = 0; i < docked.size(); ++i) {
    removeToolBar(docked[i].bar);
    if (i > 0 && docked[i].top - docked[i - 1].top >= kRowTolerance) {
      addToolBarBreak(Qt::TopToolBarArea);
    }
    addToolBar(Qt::TopToolBarArea, docked[i].bar);
  }
  removeToolBar(debugToolBar_);
  addToolBar(Qt::TopToolBarArea, debugToolBar_);
  ApplyToolBarVisibility();
}

void TLumaplotForm::SaveToolBars() {
  IniFile& ini = *IniFile_;
  ini.WriteBool(kToolBarSection, "ShowAllTools", controlBarVisible_);
  int controlBarHeight = 0;
  for (int i = 0; i < kToolBarCount; ++i) {
    const QToolBar* bar = ToolBars_[static_cast<size_t>(i)];
    ini.WriteBool(kToolBarSection, ToolKey("ShowTool", i), toolShown_[static_cast<size_t>(i)]);
    const bool floating = bar->isFloating();
    ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "Floating"), floating ? 1 : 0);
    if (floating) {
      const QRect rect = bar->geometry();
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "FLeft"), rect.left());
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "FTop"), rect.top());
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "FRight"), rect.left() + rect.width());
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "FBottom"), rect.top() + rect.height());
    } else {
      const QPoint position = DockedPosition(bar);
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "Left"), position.x());
      ini.WriteInteger(kToolBarSection, ToolKey("Tool", i, "Top"), position.y());
      if (!bar->isHidden())
        controlBarHeight = std::max(controlBarHeight, position.y() + bar->height());
    }
  }
  ini.WriteInteger(kToolBarSection, "CtrlBarHeight", controlBarHeight);
}

// --- Help ---

void TLumaplotForm::HelpContentsExecute() { ShowHelpContents(); }

void TLumaplotForm::HelpAbautItemClick() {
  if (!dialogs_.AboutBox) return;
  BusyBracket busy(*this);
  dialogs_.AboutBox->exec();
}

}  // namespace lumaplot

#include "ui/main/MainBars.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <string>
#include <vector>

#include "util/EnvData.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

constexpr int kPanelWidths[TMainBars::kStatusPanels] = {100, 160, 350, 50};
constexpr const char* kToolBarTitles[TMainBars::kToolBarCount] = {"基本", "モード切替", "検索"};
// Tool bars whose stored tops differ by less than this share a row.
constexpr int kRowTolerance = 8;

std::string ToolKey(const char* prefix, int index, const char* suffix = "") {
  return prefix + std::to_string(index + 1) + suffix;
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

TMainBars::TMainBars(QMainWindow& window) : QObject(&window), window_(window) {
  CreateToolBars();
  CreateLists();
  CreateTestFader();
  CreateStatusBar();
}

void TMainBars::CreateToolBars() {
  for (int i = 0; i < kToolBarCount; ++i) {
    auto* bar = new QToolBar(kToolBarTitles[i], &window_);
    bar->setObjectName(QString::fromStdString(ToolKey("ToolBar", i)));
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setMovable(true);
    bar->setFloatable(true);
    window_.addToolBar(Qt::TopToolBarArea, bar);
    toolBars_[static_cast<size_t>(i)] = bar;
  }
}

void TMainBars::CreateLists() {
  lightCombo_ = NewCombo("LightCombo", "灯体の種類|追加する灯体の種類", 160);
  chCombo_ = NewCombo("ChCombo", "トップチャンネル", 80);
  chCombo_->setEditable(true);
  chCombo_->setMaxVisibleItems(16);
  // A channel typed in is read, not added to the list.
  chCombo_->setInsertPolicy(QComboBox::NoInsert);
  lastChBtn_ = new QToolButton;
  lastChBtn_->setObjectName("LastChBtn");
  lastChBtn_->setText("↓");
  lastChBtn_->setToolTip("最初の空きチャンネル");
  lastChBtn_->setAutoRaise(true);
  findMaskCombo_ = NewCombo("FindMaskCombo", "検索する灯体の種類", 160);
  findChCombo_ = NewCombo("FindChCombo", "検索するチャンネル", 80);
  findChCombo_->setMaxVisibleItems(16);
}

void TMainBars::AddLists() {
  toolBars_[1]->addWidget(lightCombo_);
  toolBars_[1]->addWidget(chCombo_);
  toolBars_[1]->addWidget(lastChBtn_);
  toolBars_[2]->addWidget(findMaskCombo_);
  toolBars_[2]->addWidget(findChCombo_);
}

void TMainBars::CreateTestFader() {
  debugToolBar_ = new QToolBar("テストフェーダ", &window_);
  debugToolBar_->setObjectName("DebugToolBar");
  debugToolBar_->setMovable(false);
  // The last bar of its row gets the rest of the row; the spacer puts the fader at
  // the right end of the control bar.
  auto* spacer = new QWidget;
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  debugToolBar_->addWidget(spacer);
  debugBar_ = new QSlider(Qt::Horizontal);
  debugBar_->setObjectName("DebugBar");
  debugBar_->setRange(0, 255);
  debugBar_->setTickInterval(32);
  debugBar_->setTickPosition(QSlider::TicksBelow);
  debugBar_->setToolTip("テストフェーダ");
  debugBar_->setFixedWidth(200);
  debugToolBar_->addWidget(debugBar_);
  window_.addToolBar(Qt::TopToolBarArea, debugToolBar_);
  debugToolBar_->hide();
}

void TMainBars::CreateStatusBar() {
  QStatusBar* bar = window_.statusBar();
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* panel = new QLabel;
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i + 1 < kStatusPanels) {
      panel->setFixedWidth(kPanelWidths[i]);
      bar->addWidget(panel);
    } else {
      panel->setMinimumWidth(kPanelWidths[i]);
      bar->addWidget(panel, 1);
    }
    panels_[static_cast<size_t>(i)] = panel;
  }
  bar->setObjectName("StatusBar1");
}

void TMainBars::AddSeparator(int index) { ToolBar(index)->addSeparator(); }

void TMainBars::AddAction(int index, QAction* action) {
  if (action) ToolBar(index)->addAction(action);
}

void TMainBars::ToggleToolBar(int index) {
  if (index < 0 || index >= kToolBarCount) return;
  toolShown_[static_cast<size_t>(index)] = !toolShown_[static_cast<size_t>(index)];
  ApplyVisibility();
}

void TMainBars::ToggleControlBar() {
  controlBarVisible_ = !controlBarVisible_;
  ApplyVisibility();
}

void TMainBars::SetTestFaderWanted(bool wanted) {
  testFaderWanted_ = wanted;
  ApplyVisibility();
}

bool TMainBars::TestFaderShown() const { return !debugToolBar_->isHidden(); }

void TMainBars::ApplyVisibility() {
  for (int i = 0; i < kToolBarCount; ++i) {
    toolBars_[static_cast<size_t>(i)]->setVisible(controlBarVisible_ &&
                                                  toolShown_[static_cast<size_t>(i)]);
  }
  debugToolBar_->setVisible(controlBarVisible_ && testFaderWanted_);
}

void TMainBars::SetFlat(bool flat) {
  for (QToolBar* bar : toolBars_) {
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
      if (button != lastChBtn_) button->setAutoRaise(flat);  // flat whatever the bars are
    }
  }
}

bool TMainBars::StatusBarVisible() const { return !window_.statusBar()->isHidden(); }

void TMainBars::SetStatusBarVisible(bool visible) { window_.statusBar()->setVisible(visible); }

QString TMainBars::StatusText(int panel) const {
  if (panel < 0 || panel >= kStatusPanels) return {};
  return panels_[static_cast<size_t>(panel)]->text();
}

void TMainBars::SetStatusText(int panel, const QString& text) {
  if (panel < 0 || panel >= kStatusPanels) return;
  QLabel* label = panels_[static_cast<size_t>(panel)];
  if (label->text() != text) label->setText(text);
}

QPoint TMainBars::DockedPosition(const QToolBar* bar) const {
  const QWidget* menu = window_.menuWidget();
  const int menuHeight = menu && menu->isVisible() ? menu->height() : 0;
  return bar->pos() - QPoint(0, menuHeight);
}

void TMainBars::Restore(const IniFile& ini) {
  controlBarVisible_ = ini.ReadBool(kToolBarSection, "ShowAllTools", true);
  struct Docked {
    QToolBar* bar;
    int top;
    int left;
  };
  std::vector<Docked> docked;
  for (int i = 0; i < kToolBarCount; ++i) {
    QToolBar* bar = toolBars_[static_cast<size_t>(i)];
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
    window_.removeToolBar(docked[i].bar);
    if (i > 0 && docked[i].top - docked[i - 1].top >= kRowTolerance) {
      window_.addToolBarBreak(Qt::TopToolBarArea);
    }
    window_.addToolBar(Qt::TopToolBarArea, docked[i].bar);
  }
  window_.removeToolBar(debugToolBar_);
  window_.addToolBar(Qt::TopToolBarArea, debugToolBar_);
  ApplyVisibility();
}

void TMainBars::Save(IniFile& ini) const {
  ini.WriteBool(kToolBarSection, "ShowAllTools", controlBarVisible_);
  int controlBarHeight = 0;
  for (int i = 0; i < kToolBarCount; ++i) {
    const QToolBar* bar = toolBars_[static_cast<size_t>(i)];
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
      if (!bar->isHidden()) {
        controlBarHeight = std::max(controlBarHeight, position.y() + bar->height());
      }
    }
  }
  ini.WriteInteger(kToolBarSection, "CtrlBarHeight", controlBarHeight);
}

}  // namespace lumaplot

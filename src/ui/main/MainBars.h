#pragma once
// TMainBars: the bars around the page of the main window: the three tool bars
// (standard, modes with the add-light lists, find with the find lists), the test
// fader, and the status bar with its four panels. It keeps which bars the user
// shows, applies that, and stores and restores the bars' places in the settings
// section "ToolBar".
//
// Docked bars come back in the rows their stored tops give, left to right; a bar
// stored floating floats at its stored place. The bars are created by the window
// and live as long as it. GUI thread only.
#include <QObject>
#include <QString>

#include <array>
#include <span>

#include "ui/main/MainActions.h"

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QSlider;
class QToolBar;
class QToolButton;

namespace lumaplot {

class IniFile;

class TMainBars : public QObject {
  Q_OBJECT

 public:
  static constexpr int kToolBarCount = 3;
  static constexpr int kStatusPanels = 4;

  explicit TMainBars(QMainWindow& window);

  // Puts the commands of `items` on tool bar `index`; `actionOf` gives each id's action.
  template <class ActionOf>
  void AddItems(int index, std::span<const TMenuEntry> items, ActionOf actionOf) {
    for (const TMenuEntry& item : items) {
      if (item.What == TMenuEntry::Separator) {
        AddSeparator(index);
      } else if (item.What == TMenuEntry::Command) {
        AddAction(index, actionOf(item.Id));
      }
    }
  }
  // Places the find and add-light lists after the commands of their bars.
  void AddLists();

  QToolBar* ToolBar(int index) const { return toolBars_.at(static_cast<size_t>(index)); }
  QSlider* DebugBar() const { return debugBar_; }
  QComboBox* LightCombo() const { return lightCombo_; }
  QComboBox* ChCombo() const { return chCombo_; }
  QToolButton* LastChBtn() const { return lastChBtn_; }
  QComboBox* FindMaskCombo() const { return findMaskCombo_; }
  QComboBox* FindChCombo() const { return findChCombo_; }

  // Which bars the user shows (the View menu).
  bool ToolBarShown(int index) const { return toolShown_.at(static_cast<size_t>(index)); }
  bool ControlBarVisible() const { return controlBarVisible_; }
  void ToggleToolBar(int index);
  void ToggleControlBar();
  // The test fader is on screen while wanted and the control bar is.
  void SetTestFaderWanted(bool wanted);
  bool TestFaderShown() const;
  void SetFlat(bool flat);

  bool StatusBarVisible() const;
  void SetStatusBarVisible(bool visible);
  QString StatusText(int panel) const;
  // Changes the panel only when the text differs.
  void SetStatusText(int panel, const QString& text);

  void Restore(const IniFile& ini);
  void Save(IniFile& ini) const;

 private:
  void AddSeparator(int index);
  void AddAction(int index, QAction* action);
  void CreateToolBars();
  void CreateLists();
  void CreateTestFader();
  void CreateStatusBar();
  void ApplyVisibility();
  QPoint DockedPosition(const QToolBar* bar) const;

  QMainWindow& window_;
  std::array<QToolBar*, kToolBarCount> toolBars_{};
  std::array<bool, kToolBarCount> toolShown_{true, true, true};
  bool controlBarVisible_ = true;
  bool testFaderWanted_ = false;
  QToolBar* debugToolBar_ = nullptr;
  QSlider* debugBar_ = nullptr;
  QComboBox* lightCombo_ = nullptr;
  QComboBox* chCombo_ = nullptr;
  QToolButton* lastChBtn_ = nullptr;
  QComboBox* findMaskCombo_ = nullptr;
  QComboBox* findChCombo_ = nullptr;
  std::array<QLabel*, kStatusPanels> panels_{};
};

}  // namespace lumaplot

#pragma once
// TOptionDlg ("オプション設定"): the program's preferences, the Art-Net input port
// addresses, the keyboard shortcuts of the main window's commands, the Art-Net nodes
// on the network, and where the engine listens and sends.
//
// Pages: "一般" (grid, angles, level and channel forms, tabs, editor), "DMX" (the
// eight input port addresses, the node list with its scan and details), "ショートカット"
// (every command by category, its key and modifiers), "高度な設定" (refresh interval,
// change filter, COM1, UTF-8 saving) and "ネットワーク" (listening address and
// destination of the Art-Net engine).
//
// Most preferences reach the settings record only through OK. Taking effect at once,
// and not undone by Cancel: the port addresses (settings and engine), the shortcut
// changes (the commands' actions), a node scan, and a network choice applied on its
// page (settings, and the engine restarted). After OK the caller re-applies what the
// main window shows from the settings.
//
// The shortcut page knows the commands only as the neutral list SetCommands gives it;
// the actions belong to the main window and must outlive the dialog's showing.
// Every control carries the objectName of its role ("GridEdit", "InetComboBox", ...).
// Created once and reused; every showing reloads the controls from the settings.
// GUI thread only.
#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "dmx/ArtNode.h"
#include "ui/dialogs/DialogContext.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidget;

namespace lumaplot {

class NumberEdit;
class TArtNetPropDlg;

// One command of the main window as the shortcut page lists it.
struct TShortCutCommand {
  QString Name;               // "FileOpen"
  QString Caption;            // the menu text, "開く(&O)"
  QString Category;           // "ファイル"
  QAction* Action = nullptr;  // whose shortcut the page reads and sets
};

class TOptionDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 552;
  static constexpr int kClientHeight = 490;
  static constexpr int kNodeListIntervalMs = 100;

  TOptionDlg(const TDialogContext& context, QWidget* parent);

  // The commands of the shortcut page, in the main window's order. Set before showing.
  void SetCommands(std::vector<TShortCutCommand> commands);

  // The node dialog the details button opens (made on first use).
  TArtNetPropDlg& PropDlg();
  // The nodes as the list shows them, one per line.
  const std::vector<TArtNode>& ListedNodes() const { return listedNodes_; }

  // Ends the dialog; OK first stores the preferences (OKBtnClick).
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QWidget* CreateGeneralPage();
  QWidget* CreateDmxPage();
  QWidget* CreateShortCutPage();
  QWidget* CreateAdvancedPage();
  QWidget* CreateNetworkPage();

  void FormShow();
  void OKBtnClick();
  void RefEditorBtnClick();
  void DatBufNComboBoxChange();
  void IuniComboBoxChange();
  // The node list, when the table changed or an age shown is out of date.
  void Timer1Timer();
  void ClearNodeList();
  void NodeScanBtnClick();
  void PropActionUpdate();
  void PropActionExecute();
  // Shortcut page.
  void FillShortCutList();
  void ParentComboClick();
  void ShortCutListClick();
  void SKChgBtnUpdate();
  void SKChgBtnClick();
  void ClrBtnClick();
  int SelectedCommand() const;
  // Network page.
  void FillNetworkChoices();
  void ShowEngineState();
  void NetChoiceChange();
  void NetApplyBtnClick();
  QString ChosenBind() const;
  // The destination as the settings store it; none while the typed text is not valid.
  std::optional<QString> ChosenDest() const;

  TDialogContext context_;
  std::vector<TShortCutCommand> commands_;
  std::vector<TArtNode> listedNodes_;
  QStringList listedLines_;
  TArtNetPropDlg* propDlg_ = nullptr;

  QTabWidget* PageControl1_;
  // General.
  NumberEdit* GridEdit_;
  QCheckBox* SnapCheckBox_;
  NumberEdit* MinAngEdit_;
  QButtonGroup* ValRadioGroup_;  // ids 0 "%", 1 "DEC", 2 "HEX"
  QButtonGroup* ChRadioGroup_;   // ids 0 letter form, 1 number form
  QCheckBox* ExValChCheckBox_;
  QLineEdit* TabWidthEdit_;
  QComboBox* TabStyleComboBox_;
  QCheckBox* TabMltCheckBox_;
  QCheckBox* OpenLastCheckBox_;
  QCheckBox* HideTitleCheckBox_;
  QLineEdit* EditorEdit_;
  QPushButton* RefEditorBtn_;
  // DMX.
  QComboBox* InetComboBox_;
  std::vector<QComboBox*> isub_;
  std::vector<QComboBox*> iunv_;
  QLabel* IpAdrLabel_;
  QListWidget* NodeListBox_;
  QPushButton* NodeScanBtn_;
  QAction* PropAction_;
  QPushButton* Button1_;
  // Shortcuts.
  QComboBox* ParentCombo_;
  QTreeWidget* ShortCutList_;
  QComboBox* KeyComboBox_;
  QCheckBox* CtrlCheckBox_;
  QCheckBox* ShiftCheckBox_;
  QCheckBox* AltCheckBox_;
  QPushButton* SKChgBtn_;
  QPushButton* ClrBtn_;
  // Advanced.
  QComboBox* IntervalComboBox_;
  QComboBox* DatBufNComboBox_;
  QComboBox* ThresholdComboBox_;
  QCheckBox* UseCom1CheckBox_;
  QCheckBox* SaveUTF8CheckBox_;
  // Network.
  QComboBox* BindComboBox_;
  QComboBox* DestComboBox_;
  QPushButton* NetApplyBtn_;
  QLabel* NetFixedLabel_;
  QLabel* NetStateLabel_;

  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  QTimer* Timer1_;
};

}  // namespace lumaplot

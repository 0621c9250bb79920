#pragma once
// TLumaplotForm, the main window. It creates and owns the program-wide objects in
// this order: the settings file (IniFile), the settings record (EnvData), the
// fixture library (LightLib), the open documents (Documents, at most 20, one tab
// each), the recorder and the Art-Net engine; and it destroys them the other way
// round, the engine first. It is the only place where the current document
// (CurrentDoc) changes.
//
// Life: the constructor reads the settings and the library, creates the recorder and
// the engine (not yet running) and opens the COM1 switch port when the settings ask
// for it. The first showing (FormShow) restores the layout, reopens the documents
// open at the last exit, reads the shortcuts, starts the engine and the refresh
// timer. Closing asks about every modified document (FormCloseQuery), then stops the
// engine's input and writes all state back (FormClose).
//
// Threads: everything here runs on the GUI thread, except that the engine thread
// reads CurrentDoc through the level intake. CurrentDoc therefore changes, and
// documents are destroyed, only while LevelLock is held.
//
// Busy bracket: commands that change the document list or show a modal dialog hold
// a BusyBracket. While one is held the refresh timer is off and the page is not
// repainted from its document; when the last one ends the timer restarts with the
// interval `UpdateInterval`.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "dmx/ArtnetThread.h"
#include "dmx/HdrRecorder.h"
#include "dmx/LevelIntake.h"
#include "model/LightCell.h"
#include "model/LightLib.h"
#include "model/StageData.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainFormSetup.h"
#include "ui/qt/QtPictureLoader.h"
#include "util/EnvData.h"
#include "util/IniFile.h"
#include "util/ModemLines.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSlider;
class QTimer;
class QToolBar;

namespace lumaplot {

class TAboutBox;
class TChgLtypeDlg;
class TPageView;
class TTabControl;

// The windows that start-up creates after the main window and the main window uses.
struct TMainDialogs {
  TChgLtypeDlg* ChgLtypeDlg = nullptr;  // asks for types the library lacks
  TAboutBox* AboutBox = nullptr;
};

class TLumaplotForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMaxDocuments = 20;
  static constexpr int kToolBarCount = 3;
  static constexpr int kStatusPanels = 4;

  // FormCreate.
  explicit TLumaplotForm(TMainFormSetup setup, QWidget* parent = nullptr);
  // FormDestroy.
  ~TLumaplotForm() override;

  void SetDialogs(const TMainDialogs& dialogs);

  // RAII form of the busy bracket; brackets may nest.
  class BusyBracket {
   public:
    explicit BusyBracket(TLumaplotForm& form);
    ~BusyBracket();
    BusyBracket(const BusyBracket&) = delete;
    BusyBracket& operator=(const BusyBracket&) = delete;

   private:
    TLumaplotForm& form_;
  };

  // --- Program-wide objects ---
  IniFile& Ini() const { return *IniFile_; }
  TEnvData& EnvData() const { return *EnvData_; }
  TLightLib& LightLib() const { return *LightLib_; }
  THdrRecorder& Recorder() const { return *Recorder_; }
  TArtnetThread& Engine() const { return *Engine_; }
  const TMainFormSetup& Setup() const { return setup_; }
  TFormPrompts& Prompts() { return setup_.Prompts; }

  // --- Documents ---
  int DocumentCount() const { return static_cast<int>(Documents_.size()); }
  TStageData* Document(int index) const;
  int IndexOfDocument(const TStageData* doc) const;
  TStageData* CurrentDoc() const { return CurrentDoc_; }
  bool Busy() const { return busyDepth_ > 0; }

  // A new empty document wired to the page surface and the missing-type question.
  std::unique_ptr<TStageData> CreateDocument();
  // Appends `doc` and gives it a tab.
  TStageData* AddDocument(std::unique_ptr<TStageData> doc);
  // Destroys `doc` and removes its tab; the first remaining document becomes current.
  void RemoveDocument(TStageData* doc);
  // Makes Documents[index] current: its tab selected, the view's ranges its page.
  void MakeCurrent(int index);
  // A new document loaded from `path`; none when it cannot be loaded.
  std::unique_ptr<TStageData> LoadDocument(const std::string& path, std::string* error = nullptr);

  // --- Handlers (named as the events they serve) ---
  void TabControl1Change();
  void ChgActDataExecute(int tag);
  void Window1Click();
  void UpdateChannelLists();
  void ShowRepaintItemClick();  // the full refresh
  void Timer1Timer();
  void OptTestModeExecute();
  void OptInhMoveExecute();
  void ShowSttBarItemClick();
  void ShowToolItemClick(int tag);
  void ShowAllToolItemClick();
  void ShowTabItemClick(int tag);
  void HelpContentsExecute();
  void HelpAbautItemClick();
  void FileNewItemClick();
  void FileOpenItemClick();
  void FileSaveItemClick();
  void FileSaveAsItemClick();
  void FileCloseExecute();
  void FileExitItemClick();
  // Opens the ".DAT" files among `paths` (folders are searched) as documents.
  void FilesDropped(const std::vector<std::string>& paths);

  // Closes the COM1 switch port and, when `UseCom1Switch` is on, opens it again and
  // raises RTS (at creation and after the preferences changed). A port that cannot
  // be opened only leaves the switch off.
  void OpenCom1();

  // Saves `doc` to its file, or asks for one when it has none; false when it was not
  // saved (cancelled or failed; a failure has been shown to the user).
  bool SaveDocument(TStageData& doc);
  bool SaveDocumentAs(TStageData& doc);

  // --- Commands ---
  // The QAction of every line of MainActionTable(), in table order.
  const std::vector<QAction*>& Actions() const { return actions_; }
  QAction* Action(std::string_view name) const;
  // Re-evaluates every command's enabling rule and check mark.
  void UpdateActions();

  // --- State the tests and later commands look at ---
  QTimer* Timer1() const { return Timer1_; }
  TPageView* ScrollBox() const { return ScrollBox_; }
  TTabControl* TabControl1() const { return TabControl1_; }
  QString StatusText(int panel) const;
  // How often the page surface was painted anew from the current document.
  int PagePaintCount() const { return pagePaints_; }
  QMenu* WindowMenu() const { return Window1_; }
  QMenu* TabPopupMenu() const { return PopupMenu2_; }
  QToolBar* ToolBar(int index) const { return ToolBars_.at(static_cast<size_t>(index)); }
  QSlider* DebugBar() const { return DebugBar_; }
  bool ControlBarVisible() const { return controlBarVisible_; }
  bool ToolBarShown(int index) const { return toolShown_.at(static_cast<size_t>(index)); }
  bool Com1Open() const { return Com1_ && Com1_->IsOpen(); }
  QComboBox* ChCombo() const { return ChCombo_; }
  QComboBox* LightCombo() const { return LightCombo_; }
  QComboBox* FindMaskCombo() const { return FindMaskCombo_; }
  QComboBox* FindChCombo() const { return FindChCombo_; }
  // Set while a new line is drawn with the mouse; panel 2 is then left alone.
  bool DrawingLine = false;
  // The template lights added with the mouse are copied from.
  TLightCell AddTemplate;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  // FormCreate steps.
  void CreateEngine();
  void CreateWidgets();
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateStatusBar();
  void AddToolBarMenu(QMenu* menu);
  void AddTabMenu(QMenu* menu);
  void FillWindowMenu(QMenu* menu);
  void Show1Click();
  void ApplyToolBarVisibility();
  QPoint DockedPosition(const QToolBar* bar) const;
  // FormShow and its steps.
  void FormShow();
  void SplashMessage(const QString& text);
  void ShowPendingErrors();
  void RestoreToolBars();
  void ReopenLastFiles();
  void ReadShortCuts();
  // FormCloseQuery and FormClose.
  bool FormCloseQuery();
  void FormClose();
  void SaveToolBars();
  void FormDestroy();

  void BeginBusy();
  void EndBusy();
  void SetCurrentDoc(TStageData* doc);
  // The view's ranges from the current document's page; the page is drawn anew.
  void ShowPage();
  void SetStatusText(int panel, const QString& text);
  void ScrPaint(QPainter& painter, const QRect& area);
  void ApplyViewColour();
  void ApplyHideTitleMenu();
  void ApplyFlatToolBars();
  void TabControl1MouseUp(QMouseEvent* event);
  void ReadCom1Switch();
  // Opens `path` as a new current document; false when it cannot be loaded.
  bool OpenDocumentFile(const std::string& path, std::string* error);

  TMainFormSetup setup_;
  TMainDialogs dialogs_;

  // Program-wide objects, in the order of creation.
  std::unique_ptr<IniFile> IniFile_;
  std::unique_ptr<TEnvData> EnvData_;
  std::unique_ptr<TLightLib> LightLib_;
  std::vector<std::unique_ptr<TStageData>> Documents_;
  std::unique_ptr<THdrRecorder> Recorder_;
  std::unique_ptr<TArtnetThread> Engine_;
  std::unique_ptr<TLevelIntake> intake_;
  std::unique_ptr<ModemLines> Com1_;  // the COM1 switch port; closed: no switch

  TStageData* CurrentDoc_ = nullptr;  // changed only with LevelLock held
  ModemStatus LastModemStatus_;
  QtPictureLoader pictures_;
  int busyDepth_ = 1;  // busy from creation until the end of the first showing
  bool shown_ = false;
  bool closed_ = false;
  bool pageStale_ = true;  // the surface must be repainted from the document
  int pagePaints_ = 0;
  std::vector<std::pair<QString, QString>> pendingErrors_;  // text, caption

  // Widgets.
  TTabControl* TabControl1_ = nullptr;
  TPageView* ScrollBox_ = nullptr;
  std::array<QLabel*, kStatusPanels> panels_{};
  std::array<QToolBar*, kToolBarCount> ToolBars_{};
  std::array<bool, kToolBarCount> toolShown_{true, true, true};
  bool controlBarVisible_ = true;
  QToolBar* debugToolBar_ = nullptr;
  QSlider* DebugBar_ = nullptr;
  QComboBox* LightCombo_ = nullptr;
  QComboBox* ChCombo_ = nullptr;
  QComboBox* FindMaskCombo_ = nullptr;
  QComboBox* FindChCombo_ = nullptr;
  QMenu* Window1_ = nullptr;
  std::array<QAction*, kMaxDocuments> windowItems_{};
  std::array<QAction*, kToolBarCount> toolItems_{};
  QAction* allToolsItem_ = nullptr;
  std::array<QAction*, 5> tabItems_{};  // by tag: hidden, top, bottom, left, right
  QMenu* PopupMenu2_ = nullptr;
  QTimer* Timer1_ = nullptr;
  std::vector<QAction*> actions_;
};

}  // namespace lumaplot

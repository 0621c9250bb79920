#include "ui/main/LumaplotForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "model/LightPresentation.h"
#include "model/StageFile.h"
#include "ui/dialogs/ChgLtypeDlg.h"
#include "ui/main/ChannelLists.h"
#include "ui/main/FormTexts.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "ui/qt/KeySequence.h"
#include "ui/qt/WindowState.h"
#include "util/ShortCutText.h"

namespace lumaplot {
namespace {

constexpr int kRecorderPorts = 8;
constexpr int kEngineCycleMs = 20;
// After the input ports are disabled, the engine gets this long to finish the cycle
// it is in before it is told to end.
constexpr auto kEngineWindDown = std::chrono::milliseconds(250);

std::string LastFileKey(int n) { return "LastFile" + std::to_string(n); }

// A value that would lose blanks at its ends, or a pair of enclosing quotes, when
// read back is written in quotes.
std::string QuotedIfNeeded(const std::string& value) {
  if (value.empty()) return value;
  const bool blankEnds = std::isspace(static_cast<unsigned char>(value.front())) ||
                         std::isspace(static_cast<unsigned char>(value.back()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  return blankEnds || quoted ? '"' + value + '"' : value;
}

}  // namespace

TLumaplotForm::BusyBracket::BusyBracket(TLumaplotForm& form) : form_(form) { form_.BeginBusy(); }
TLumaplotForm::BusyBracket::~BusyBracket() { form_.EndBusy(); }

TLumaplotForm::TLumaplotForm(TMainFormSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
  setObjectName("LumaplotForm");
  SplashMessage("初期化中...");
  IniFile_ = std::make_unique<IniFile>(setup_.SettingsPath, TextEncoding::Utf8);
  std::string error;
  if (!IniFile_->Load(&error)) {
    pendingErrors_.push_back(
        {"設定ファイルを読み込めませんでした。\n" + QString::fromStdString(error), {}});
  }
  EnvData_ = std::make_unique<TEnvData>(*IniFile_, setup_.ProgramFolder);
  CreateWidgets();
  const QFont boxFont = ScrollBox_->ScrBox()->font();
  EnvData_->DefaultFont = FontSpec{boxFont.family().toStdString(), boxFont.pointSize(), 0};
  PresentationSettings() = PresentationSettingsOf(*EnvData_);
  std::error_code ignored;
  std::filesystem::create_directories(EnvData_->HdrDir, ignored);
  QFont tabFont = boxFont;
  tabFont.setPointSize(12);
  tabFont.setBold(true);
  TabControl1_->Tabs()->setFont(tabFont);

  LightLib_ = std::make_unique<TLightLib>(EnvData_->ProgramFolder() + "/LIBRARY.INI");
  if (LightLib_->LoadFromFile(LightLib_->FileName, false, &error) == kLibReadFailed) {
    pendingErrors_.push_back(
        {"灯体ライブラリを読み込めませんでした。\n" + QString::fromStdString(error), {}});
  }
  AddTemplate.Fixture = DefaultLibItem();
  AddTemplate.StartCh = 0;

  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateStatusBar();
  FillLightCombo(LightCombo_, *LightLib_);

  OpenCom1();
  Recorder_ = std::make_unique<THdrRecorder>(kRecorderPorts);
  CreateEngine();

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName("Timer1");
  connect(Timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TLumaplotForm::~TLumaplotForm() { FormDestroy(); }

void TLumaplotForm::SetDialogs(const TMainDialogs& dialogs) { dialogs_ = dialogs; }

void TLumaplotForm::CreateEngine() {
  const bool altNetwork = IniFile_->ReadBool(kGeneralSection, "DebugMode", false);
  Engine_ = std::make_unique<TArtnetThread>(true, kInputPortCount, kInputPortCount, altNetwork,
                                            setup_.Artnet);
  Engine_->SetNodeNames("TintviewV", "TintviewV");
  intake_ = std::make_unique<TLevelIntake>(
      TLevelIntake{*EnvData_, Recorder_.get(), [this] { return CurrentDoc_; }});
  Engine_->OnFrame = [this](TArtnetThread::LevelTable& levels) {
    LevelIntake(*intake_, levels.data());
  };
  Engine_->OnTestFrame = [this](TArtnetThread::LevelTable& levels) {
    TestPattern(*EnvData_, levels.data());
  };
  for (int i = 0; i < Engine_->InCount(); ++i) {
    Engine_->InAddr[i] = EnvData_->RxUniverse[static_cast<size_t>(i)];
    Engine_->InEnabled[i] = true;
  }
  Engine_->CycleMs = kEngineCycleMs;
  if (!Engine_->Message.empty()) {
    pendingErrors_.push_back({QString::fromStdString(Engine_->Message), "ArtNet初期化エラー"});
    Engine_->Message.clear();
  }
}

void TLumaplotForm::OpenCom1() {
  Com1_.reset();
  if (!EnvData_->UseCom1Switch) return;
  Com1_ = setup_.MakeModemLines ? setup_.MakeModemLines() : std::make_unique<SerialModemLines>();
  if (!Com1_) return;
  const std::string device =
      IniFile_->ReadString(kGeneralSection, "Com1Device", kDefaultCom1Device);
  if (Com1_->Open(device)) Com1_->RaiseRts();
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
      entry.Execute(*this);
      UpdateActions();
    });
    // Added to the window itself, so its shortcut works with the menu bar hidden.
    addAction(action);
    actions_.push_back(action);
  }
}

QAction* TLumaplotForm::Action(std::string_view name) const {
  const auto table = MainActionTable();
  for (size_t i = 0; i < table.size(); ++i) {
    if (name == table[i].Name) return actions_[i];
  }
  return nullptr;
}

void TLumaplotForm::UpdateActions() {
  const auto table = MainActionTable();
  for (size_t i = 0; i < table.size(); ++i) {
    actions_[i]->setEnabled(table[i].Enabled(*this));
    if (table[i].Checked) actions_[i]->setChecked(table[i].Checked(*this));
  }
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
  const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
  RestoreMainWindow(this, *IniFile_, screen.width(), screen.height());
  ApplyViewColour();
  TabControl1_->SetTabsVisible(IniFile_->ReadBool(kGeneralSection, "ShowTab", true));
  TabControl1_->SetTabPosition(IniFile_->ReadInteger(kGeneralSection, "TabPos", 0));
  debugToolBar_->hide();
  RestoreToolBars();
  TabControl1_->SetTabLook(EnvData_->TabStyle, EnvData_->TabMultiLine, EnvData_->TabWidth);
  ApplyFlatToolBars();
  statusBar()->setVisible(IniFile_->ReadBool(kGeneralSection, "ShowStatusBar", true));

  SplashMessage("データ読み込み中...");
  if (EnvData_->OpenLastData) ReopenLastFiles();

  SplashMessage("画面準備中...");
  if (!Documents_.empty()) MakeCurrent(0);
  ShowRepaintItemClick();
  ReadShortCuts();
  UpdateChannelLists();
  // Normal editing mode: the add-light lists wait for the add mode.
  LightCombo_->setEnabled(false);
  ChCombo_->setEnabled(false);
  setAcceptDrops(true);
  if (setup_.Splash) setup_.Splash->close();

  Engine_->Start();
  Engine_->SendPoll();
  EndBusy();
  UpdateActions();
  // Problems met while the window was created are told once it is on the screen.
  QTimer::singleShot(0, this, [this] { ShowPendingErrors(); });
}

void TLumaplotForm::ShowPendingErrors() {
  for (const auto& [text, caption] : pendingErrors_) Prompts().Error(text, caption);
  pendingErrors_.clear();
}

void TLumaplotForm::ReopenLastFiles() {
  for (int n = 1; n <= kMaxDocuments; ++n) {
    // A relative name is taken from the program folder, as every other file name.
    std::string path = EnvData_->ReadQuotedString(kGeneralSection, LastFileKey(n));
    if (!EnvData_->ResolvePath(path)) continue;
    // A file that no longer loads is left out without a word, as a missing one.
    if (auto doc = LoadDocument(path)) AddDocument(std::move(doc));
  }
}

void TLumaplotForm::ReadShortCuts() {
  const auto table = MainActionTable();
  for (size_t i = 0; i < table.size(); ++i) {
    std::string text =
        EnvData_->ReadQuotedString(kShortCutSection, std::string(table[i].Name) + "Item");
    if (text.empty()) text = table[i].ShortCut;
    actions_[i]->setShortcut(ToKeySequence(TextToShortCut(text)));
  }
}

// --- Busy bracket ---

void TLumaplotForm::BeginBusy() {
  ++busyDepth_;
  Timer1_->stop();
}

void TLumaplotForm::EndBusy() {
  if (busyDepth_ > 0) --busyDepth_;
  if (busyDepth_ > 0 || closed_) return;
  Timer1_->setInterval(std::max(EnvData_->UpdateInterval, 1));
  Timer1_->start();
}

// --- Documents ---

TStageData* TLumaplotForm::Document(int index) const {
  if (index < 0 || index >= DocumentCount()) return nullptr;
  return Documents_[static_cast<size_t>(index)].get();
}

int TLumaplotForm::IndexOfDocument(const TStageData* doc) const {
  for (int i = 0; i < DocumentCount(); ++i) {
    if (Documents_[static_cast<size_t>(i)].get() == doc) return i;
  }
  return -1;
}

std::unique_ptr<TStageData> TLumaplotForm::CreateDocument() {
  auto doc = std::make_unique<TStageData>(ScrollBox_);
  doc->Canvas = &ScrollBox_->ScrBox()->Surface();
  if (!dialogs_.ChgLtypeDlg) return doc;
  // At start-up the question comes while the splash window, which stays on top,
  // could cover it; the splash steps aside until it is answered.
  doc->OnMissingType = [this,
                        ask = MissingTypeHandler(*dialogs_.ChgLtypeDlg)](const std::string& name) {
    const bool splashShown = setup_.Splash && setup_.Splash->isVisible();
    if (splashShown) setup_.Splash->hide();
    const std::string answer = ask(name);
    if (splashShown && setup_.Splash) setup_.Splash->show();
    return answer;
  };
  return doc;
}

std::unique_ptr<TStageData> TLumaplotForm::LoadDocument(const std::string& path,
                                                        std::string* error) {
  auto doc = CreateDocument();
  TStageReadContext context;
  context.Library = LightLib_.get();
  context.Pictures = &pictures_;
  context.ResolvePath = [this](std::string& file) { return EnvData_->ResolvePath(file); };
  if (!LoadStage(*doc, path, context, error)) return nullptr;
  return doc;
}

TStageData* TLumaplotForm::AddDocument(std::unique_ptr<TStageData> doc) {
  TStageData* added = doc.get();
  Documents_.push_back(std::move(doc));
  const QSignalBlocker quiet(TabControl1_->Tabs());
  TabControl1_->Tabs()->addTab(NewTabText(*added, DocumentCount()));
  return added;
}

void TLumaplotForm::RemoveDocument(TStageData* doc) {
  const int index = IndexOfDocument(doc);
  if (index < 0) return;
  {
    // The engine thread may be writing the document's levels right now.
    std::lock_guard lock(EnvData_->LevelLock);
    std::unique_ptr<TStageData> removed = std::move(Documents_[static_cast<size_t>(index)]);
    Documents_.erase(Documents_.begin() + index);
    CurrentDoc_ = Documents_.empty() ? nullptr : Documents_.front().get();
  }
  const QSignalBlocker quiet(TabControl1_->Tabs());
  TabControl1_->Tabs()->removeTab(index);
  if (TabControl1_->Tabs()->count() > 0) TabControl1_->Tabs()->setCurrentIndex(0);
  ShowPage();
}

void TLumaplotForm::SetCurrentDoc(TStageData* doc) {
  std::lock_guard lock(EnvData_->LevelLock);
  CurrentDoc_ = doc;
}

void TLumaplotForm::MakeCurrent(int index) {
  TStageData* doc = Document(index);
  if (!doc) return;
  SetCurrentDoc(doc);
  const QSignalBlocker quiet(TabControl1_->Tabs());
  TabControl1_->Tabs()->setCurrentIndex(index);
  ShowPage();
}

void TLumaplotForm::TabControl1Change() {
  if (!CurrentDoc_) return;
  {
    BusyBracket busy(*this);
    const int index = TabControl1_->Tabs()->currentIndex();
    if (TStageData* doc = Document(index)) {
      SetCurrentDoc(doc);
      ShowPage();
    }
  }
  ShowRepaintItemClick();
}

void TLumaplotForm::ChgActDataExecute(int tag) {
  if (tag < 0 || tag >= DocumentCount()) return;
  {
    BusyBracket busy(*this);
    MakeCurrent(tag);
  }
  ShowRepaintItemClick();
}

void TLumaplotForm::Window1Click() {
  for (int i = 0; i < kMaxDocuments; ++i) {
    QAction* item = windowItems_[static_cast<size_t>(i)];
    const TStageData* doc = Document(i);
    item->setVisible(doc != nullptr);
    if (!doc) continue;
    item->setText(WindowMenuCaption(*doc, i));
    item->setChecked(doc == CurrentDoc_);
  }
}

// --- Closing ---

void TLumaplotForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    if (!FormCloseQuery()) {
      event->ignore();
      return;
    }
    FormClose();
  }
  event->accept();
}

bool TLumaplotForm::FormCloseQuery() {
  bool canClose = true;
  // Every modified document is asked about, even after a Cancel.
  for (int i = 0; i < DocumentCount(); ++i) {
    TStageData& doc = *Documents_[static_cast<size_t>(i)];
    if (!doc.Modified) continue;
    const QString text =
        doc.FileName.empty()
            ? QString("[ 無題 ] 変更内容を保存しますか?")
            : QString("[%1] 変更内容を保存しますか?").arg(QString::fromStdString(doc.FileName));
    switch (Prompts().YesNoCancel(text, {})) {
      case QMessageBox::Yes:
        if (!SaveDocument(doc) || doc.Modified) canClose = false;
        break;
      case QMessageBox::No:
        break;
      default:
        canClose = false;
        break;
    }
  }
  return canClose;
}

void TLumaplotForm::FormClose() {
  Timer1_->stop();
  BeginBusy();
  closed_ = true;
  for (int i = 0; i < Engine_->InCount(); ++i) Engine_->InEnabled[i] = false;
  std::this_thread::sleep_for(kEngineWindDown);
  Engine_->Terminate();
  if (Com1_) Com1_->Close();

  SaveMainWindow(this, *IniFile_);
  std::string error;
  bool saved = EnvData_->Save(&error);
  IniFile& ini = *IniFile_;
  ini.WriteBool(kGeneralSection, "ShowTab", TabControl1_->TabsVisible());
  ini.WriteInteger(kGeneralSection, "TabPos", TabControl1_->TabPosition());
  ini.WriteBool(kGeneralSection, "ShowStatusBar", !statusBar()->isHidden());
  SaveToolBars();
  for (int n = 1; n <= kMaxDocuments; ++n) {
    const TStageData* doc = Document(n - 1);
    ini.WriteString(kGeneralSection, LastFileKey(n), doc ? QuotedIfNeeded(doc->FileName) : "");
  }
  for (QAction* action : actions_) {
    ini.WriteString(kShortCutSection, action->objectName().toStdString() + "Item",
                    ShortCutToText(FromKeySequence(action->shortcut())));
  }
  if (saved) saved = ini.Flush(&error);
  if (!saved) {
    Prompts().Error("設定を保存できませんでした。\n" + QString::fromStdString(error), {});
  }
}

void TLumaplotForm::FormDestroy() {
  if (Timer1_) Timer1_->stop();
  // The engine thread is joined first: after that nothing reads the documents or
  // drives the recorder from another thread.
  Engine_.reset();
  intake_.reset();
  Recorder_.reset();
  CurrentDoc_ = nullptr;
  Documents_.clear();
  LightLib_.reset();
  EnvData_.reset();
  IniFile_.reset();
}

// --- Window state ---

void TLumaplotForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ApplyHideTitleMenu();
}

void TLumaplotForm::ApplyHideTitleMenu() {
  if (!EnvData_ || !EnvData_->HideTitleMenu) return;
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
